#pragma once

#include <QString>
#include <QVariant>

#include <functional>

// The per-user profile: named integers and strings in named sections below the
// root "<company>/Quaerio" of the platform's native settings store (the
// registry key HKEY_CURRENT_USER\Software\<company>\Quaerio on Windows, an INI
// file under the user's configuration directory elsewhere).
//
// Until SetRegistryKey has named the company, no store exists: reads give the
// caller's default and writes do nothing, so a run that ends before that point
// leaves no trace. Absent or unreadable values read as the caller's default.
// Used on the user-interface thread only.

void SetRegistryKey(const QString &company);
bool HasRegistryKey();

// Forgets the company again (tests that simulate a fresh process).
void ResetRegistryKey();

int GetProfileInt(const QString &section, const QString &entry, int defaultValue);
QString GetProfileString(const QString &section, const QString &entry, const QString &defaultValue = {});
bool WriteProfileInt(const QString &section, const QString &entry, int value);
bool WriteProfileString(const QString &section, const QString &entry, const QString &value);

// Removes the section with every value in it.
bool DeleteProfileSection(const QString &section);

// Names of the values present in a section, in no particular order.
QStringList GetProfileEntries(const QString &section);

// Opaque binary state (the frame's bar layout), stored under section/entry.
QByteArray GetProfileBinary(const QString &section, const QString &entry);
bool WriteProfileBinary(const QString &section, const QString &entry, const QByteArray &value);

// Where the store keeps its data (a file path on platforms with INI stores).
QString ProfileLocation();

// Told of every value written, after the write, with the section, the entry
// and the value; a section deletion reports an empty entry and no value.
// Lets tests check which values are written and in what order. An empty
// observer removes it. Returns the previous observer.
using ProfileWriteObserver = std::function<void(const QString &section, const QString &entry, const QVariant &value)>;
ProfileWriteObserver SetProfileWriteObserver(ProfileWriteObserver observer);

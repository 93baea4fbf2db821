#pragma once

#include <QString>
#include <QVariant>

// The per-user profile: named integers and strings in named sections below the
// root "<company>/Quaerio" of the platform's native settings store (the
// registry key HKEY_CURRENT_USER\Software\<company>\Quaerio on Windows, an INI
// file under the user's configuration directory elsewhere).
//
// Until SetRegistryKey has named the company, no store exists: reads give the
// caller's default and writes do nothing, so a run that ends before that point
// leaves no trace. Absent or unreadable values read as the caller's default.
// Used on the user-interface thread only.

// The company start-up names.
inline constexpr char16_t kProfileCompany[] = u"Tavistel";

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

// The folder of the file in which the store of `company` keeps (or would
// keep) its data, known before SetRegistryKey: files the user makes live
// beside the settings.
QString ProfileFolder(const QString &company);

// One logical save: while a batch lives, every read and write of the profile
// goes through one open store, and the writes reach the file together when
// the outermost batch ends, with one atomic replacement of the file and one
// sync. So a reader never sees half of a save (a deleted section without the
// values written after it), and a save of many values costs one file write.
// Without a batch, each write is saved on its own. Batches nest; an inner one
// ends without saving. The installed platform services are told of every
// value written and of every save (platform/PlatformServices.h).
class CProfileBatch final
{
public:
    CProfileBatch();
    ~CProfileBatch();
    Q_DISABLE_COPY_MOVE(CProfileBatch)

private:
    bool m_bOutermost;
};

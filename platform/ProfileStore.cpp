#include "platform/ProfileStore.h"

#include <QSettings>

#include <limits>
#include <memory>
#include <optional>

namespace
{
const QString kApplicationName = QStringLiteral("Quaerio");

std::optional<QString> &company()
{
    static std::optional<QString> name;
    return name;
}

std::unique_ptr<QSettings> openStore()
{
    if (!company())
        return nullptr;
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, *company(), kApplicationName);
}

ProfileWriteObserver &observer()
{
    static ProfileWriteObserver current;
    return current;
}

QString keyOf(const QString &section, const QString &entry)
{
    return section + QLatin1Char('/') + entry;
}

// Stores one value and reports it to the observer.
bool writeValue(const QString &section, const QString &entry, const QVariant &value)
{
    const auto store = openStore();
    if (!store)
        return false;
    store->setValue(keyOf(section, entry), value);
    store->sync();
    const bool written = store->status() == QSettings::NoError;
    if (observer())
        observer()(section, entry, value);
    return written;
}
} // namespace

void SetRegistryKey(const QString &name)
{
    company() = name;
}

bool HasRegistryKey()
{
    return company().has_value();
}

void ResetRegistryKey()
{
    company().reset();
}

int GetProfileInt(const QString &section, const QString &entry, int defaultValue)
{
    const auto store = openStore();
    if (!store)
        return defaultValue;
    const QVariant value = store->value(keyOf(section, entry));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(number);
}

QString GetProfileString(const QString &section, const QString &entry, const QString &defaultValue)
{
    const auto store = openStore();
    if (!store)
        return defaultValue;
    const QVariant value = store->value(keyOf(section, entry));
    if (!value.isValid() || !value.canConvert<QString>())
        return defaultValue;
    return value.toString();
}

bool WriteProfileInt(const QString &section, const QString &entry, int value)
{
    return writeValue(section, entry, QVariant::fromValue(value));
}

bool WriteProfileString(const QString &section, const QString &entry, const QString &value)
{
    return writeValue(section, entry, QVariant::fromValue(value));
}

bool DeleteProfileSection(const QString &section)
{
    const auto store = openStore();
    if (!store)
        return false;
    store->remove(section);
    store->sync();
    const bool written = store->status() == QSettings::NoError;
    if (observer())
        observer()(section, QString(), QVariant());
    return written;
}

QStringList GetProfileEntries(const QString &section)
{
    const auto store = openStore();
    if (!store)
        return {};
    store->beginGroup(section);
    return store->childKeys();
}

QByteArray GetProfileBinary(const QString &section, const QString &entry)
{
    const auto store = openStore();
    if (!store)
        return {};
    return store->value(keyOf(section, entry)).toByteArray();
}

bool WriteProfileBinary(const QString &section, const QString &entry, const QByteArray &value)
{
    return writeValue(section, entry, QVariant::fromValue(value));
}

QString ProfileLocation()
{
    const auto store = openStore();
    return store ? store->fileName() : QString();
}

ProfileWriteObserver SetProfileWriteObserver(ProfileWriteObserver newObserver)
{
    ProfileWriteObserver previous = std::move(observer());
    observer() = std::move(newObserver);
    return previous;
}

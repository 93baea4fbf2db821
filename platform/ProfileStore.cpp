#include "platform/ProfileStore.h"

#include <QFileInfo>
#include <QSettings>

#include <limits>
#include <memory>
#include <optional>

#include "platform/PlatformServices.h"

namespace
{
const QString kApplicationName = QStringLiteral("Quaerio");

std::optional<QString> &company()
{
    static std::optional<QString> name;
    return name;
}

// The store of the open batch, if any, and whether it holds unsaved writes.
struct Batch
{
    int depth = 0;
    std::unique_ptr<QSettings> store;
    bool written = false;
};

Batch &batch()
{
    static Batch current;
    return current;
}

std::unique_ptr<QSettings> newStore()
{
    if (!company())
        return nullptr;
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, *company(), kApplicationName);
}

// The store one call reads or writes: the open batch's, or one of its own.
class Store final
{
public:
    Store()
        : m_owned(batch().depth > 0 ? nullptr : newStore())
        , m_store(batch().depth > 0 ? batch().store.get() : m_owned.get())
    {
    }
    Q_DISABLE_COPY_MOVE(Store)

    explicit operator bool() const { return m_store != nullptr; }
    QSettings *operator->() const { return m_store; }

    // After a change: saved now, or when the batch ends. True when nothing
    // has failed so far.
    bool Changed()
    {
        if (!m_owned) {
            batch().written = true;
            return m_store->status() == QSettings::NoError;
        }
        return Save(*m_owned);
    }

    static bool Save(QSettings &store)
    {
        store.sync();
        PlatformServices().ProfileSynced(store.fileName());
        return store.status() == QSettings::NoError;
    }

private:
    std::unique_ptr<QSettings> m_owned;
    QSettings *m_store;
};

QString keyOf(const QString &section, const QString &entry)
{
    return section + QLatin1Char('/') + entry;
}

bool writeValue(const QString &section, const QString &entry, const QVariant &value)
{
    Store store;
    if (!store)
        return false;
    store->setValue(keyOf(section, entry), value);
    PlatformServices().ProfileWritten(section, entry, value);
    return store.Changed();
}
} // namespace

CProfileBatch::CProfileBatch()
    : m_bOutermost(batch().depth == 0)
{
    if (m_bOutermost) {
        batch().store = newStore();
        batch().written = false;
    }
    ++batch().depth;
}

CProfileBatch::~CProfileBatch()
{
    --batch().depth;
    if (!m_bOutermost)
        return;
    if (batch().store && batch().written)
        Store::Save(*batch().store);
    batch().store.reset();
}

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
    const Store store;
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
    const Store store;
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
    Store store;
    if (!store)
        return false;
    store->remove(section);
    PlatformServices().ProfileWritten(section, QString(), QVariant());
    return store.Changed();
}

QStringList GetProfileEntries(const QString &section)
{
    const Store store;
    if (!store)
        return {};
    store->beginGroup(section);
    const QStringList entries = store->childKeys();
    store->endGroup();
    return entries;
}

QByteArray GetProfileBinary(const QString &section, const QString &entry)
{
    const Store store;
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
    const Store store;
    return store ? store->fileName() : QString();
}

QString ProfileFolder(const QString &company)
{
    return QFileInfo(QSettings(QSettings::NativeFormat, QSettings::UserScope, company, kApplicationName).fileName())
        .absolutePath();
}

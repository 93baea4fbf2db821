#include "preferences/AppSettings.h"

#include "platform/ProfileStore.h"

namespace
{
const QString kSection = QString::fromUtf16(kSettingsSection);
const QString kPreservedPos = QStringLiteral("PreservedPos");
const QString kPreservedKeywords = QStringLiteral("PreservedKeywords");
const QString kKeywordsHisCount = QStringLiteral("KeywordsHisCount");
const QString kShowLatestKeyword = QStringLiteral("ShowLatestKeyword");

CAppSettings *&instance()
{
    static CAppSettings *settings = nullptr;
    return settings;
}

int asFlag(int value)
{
    return value == 1 ? 1 : 0;
}
} // namespace

CAppSettings::~CAppSettings() = default;

bool CAppSettings::Load()
{
    const CProfileBatch batch;
    m_bPreservedPos = GetProfileInt(kSection, kPreservedPos, 0);
    m_bPreservedKeywords = GetProfileInt(kSection, kPreservedKeywords, 0);
    if (m_bPreservedKeywords != 0) {
        m_nKeywordsHisCount = GetProfileInt(kSection, kKeywordsHisCount, 0);
        m_bShowLatestKeyword = GetProfileInt(kSection, kShowLatestKeyword, 0);
    }
    return true;
}

void CAppSettings::Save()
{
    if (m_bChanged == 0)
        return;
    // The four values reach the profile in one save.
    const CProfileBatch batch;
    WriteProfileInt(kSection, kPreservedPos, asFlag(m_bPreservedPos));
    WriteProfileInt(kSection, kPreservedKeywords, asFlag(m_bPreservedKeywords));
    WriteProfileInt(kSection, kKeywordsHisCount, m_nKeywordsHisCount);
    WriteProfileInt(kSection, kShowLatestKeyword, asFlag(m_bShowLatestKeyword));
    m_bChanged = 0;
}

CAppSettings *GetAppSettings()
{
    if (!instance())
        instance() = new CAppSettings;
    return instance();
}

void DestroyAppSettings()
{
    delete instance();
    instance() = nullptr;
}

#include "workspace/KeywordHistory.h"

#include <QLineEdit>

#include "preferences/AppSettings.h"
#include "workspace/HistoryComboBox.h"

namespace
{
constexpr int kKeywordsLimit = 260;
} // namespace

CKeywordHistory::CKeywordHistory(CHistoryComboBox *box)
    : m_cboKeywords(box)
{
}

CKeywordHistory::~CKeywordHistory() = default;

void CKeywordHistory::SetUp()
{
    m_cboKeywords->lineEdit()->setMaxLength(kKeywordsLimit);
    m_cboKeywords->SetSection(QStringLiteral("KeywordsHistory"));
    m_cboKeywords->SetEntryFormat(QStringLiteral("%d"));
    m_cboKeywords->m_bPlainEntries = true;
    m_cboKeywords->SetAutoRefresh(true);
    m_cboKeywords->SetAutoSave(true);
    const CAppSettings *settings = GetAppSettings();
    if (!settings->m_bPreservedKeywords)
        return;
    m_cboKeywords->SetMaxSize(settings->m_nKeywordsHisCount);
    m_cboKeywords->LoadHistory();
    m_cboKeywords->RefreshDropDown();
    if (settings->m_bShowLatestKeyword && m_cboKeywords->count() > 0)
        m_cboKeywords->setCurrentIndex(0);
}

void CKeywordHistory::Record(const QString &keywords)
{
    CAppSettings *settings = GetAppSettings();
    settings->Load();
    if (!settings->m_bPreservedKeywords)
        return;
    m_cboKeywords->SetMaxSize(settings->m_nKeywordsHisCount);
    m_cboKeywords->AddToHistory(keywords);
}

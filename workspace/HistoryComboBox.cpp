#include "workspace/HistoryComboBox.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>
#include <vector>

#include "workspace/KeywordRecentList.h"

namespace
{
const QString kNumberPlaceholder = QStringLiteral("%d");
} // namespace

CHistoryComboBox::CHistoryComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    // The list is rebuilt from the history; Enter must not add items itself.
    setInsertPolicy(QComboBox::NoInsert);
    // The edit field holds exactly what the user typed: the default completer
    // would fill in a history entry as the user types (ignoring letter case),
    // so Enter would search text the user never typed. The history stays
    // one pick away in the drop-down list.
    setCompleter(nullptr);
}

CHistoryComboBox::~CHistoryComboBox()
{
    if (m_bSaveOnDestroy)
        SaveHistory();
}

QString CHistoryComboBox::SetSection(const QString &section)
{
    m_strSection = section;
    m_bDirty = true;
    return m_strSection;
}

void CHistoryComboBox::SetEntryFormat(const QString &format)
{
    if (!format.contains(kNumberPlaceholder))
        return;
    m_strEntryFormat = format;
    m_bDirty = true;
}

int CHistoryComboBox::SetMaxSize(int n)
{
    if (n <= 0)
        return -1;
    const int previous = m_pRecentList ? m_nMaxSize : 0;
    m_nMaxSize = n;
    if (!CreateRecentList())
        return -1;
    return previous;
}

bool CHistoryComboBox::SetAutoSave(bool on)
{
    return std::exchange(m_bAutoSave, on);
}

bool CHistoryComboBox::SetAutoRefresh(bool on)
{
    return std::exchange(m_bAutoRefresh, on);
}

bool CHistoryComboBox::AddToHistory(const QString &text)
{
    if (!m_pRecentList && !CreateRecentList())
        return false;
    // A list that never read the profile in this run (the history was off at
    // start-up) would overwrite what earlier runs stored at its first save:
    // take those entries in before the new one.
    if (!m_bLoaded) {
        m_pRecentList->ReadList();
        m_bLoaded = true;
    }
    m_pRecentList->Add(text);
    if (m_bAutoRefresh)
        RefreshDropDown();
    if (m_bAutoSave)
        SaveHistory();
    return true;
}

bool CHistoryComboBox::LoadHistory()
{
    if (!CreateRecentList())
        return false;
    m_pRecentList->ReadList();
    m_bLoaded = true;
    return true;
}

bool CHistoryComboBox::SaveHistory()
{
    if (!m_pRecentList)
        return false;
    if (!IsValid())
        return false;
    if (m_bDirty && !CreateRecentList())
        return false;
    m_pRecentList->WriteList();
    return true;
}

void CHistoryComboBox::RefreshDropDown()
{
    if (!m_pRecentList)
        return;
    const QString typed = currentText();
    // Rebuilding the items is not a selection by the user: no signals.
    const QSignalBlocker blocker(this);
    clear();
    for (int i = 0; i < m_pRecentList->GetSize(); ++i) {
        const QString entry = (*m_pRecentList)[i];
        if (!entry.isEmpty())
            addItem(entry);
    }
    setCurrentIndex(-1);
    setEditText(typed);
}

bool CHistoryComboBox::IsValid() const
{
    return !m_strSection.isEmpty() && !m_strEntryFormat.isEmpty() && m_strEntryFormat.contains(kNumberPlaceholder)
        && m_nMaxSize > 0;
}

bool CHistoryComboBox::CreateRecentList()
{
    if (!IsValid())
        return false;

    std::vector<QString> kept;
    const bool recreate = m_pRecentList != nullptr;
    if (recreate) {
        const int k = std::min(m_pRecentList->GetSize(), m_nMaxSize);
        kept.reserve(static_cast<std::size_t>(k));
        for (int i = 0; i < k; ++i)
            kept.push_back((*m_pRecentList)[i]);
        m_pRecentList.reset();
    }

    m_pRecentList = std::make_unique<CKeywordRecentList>(m_strSection, m_strEntryFormat, m_nMaxSize);

    // Oldest first, so the newest ends in slot 0 again. Free slots are added
    // too; adding an empty text moves a free slot and keeps the others' order.
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        m_pRecentList->Add(*it);

    m_bDirty = false;
    return true;
}

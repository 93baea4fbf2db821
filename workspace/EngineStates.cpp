#include "workspace/EngineStates.h"

#include <QHash>
#include <QTableWidget>

#include "browsers/ResultBrowserMap.h"
#include "workspace/CatalogueLoader.h"
#include "workspace/TabCtrl.h"

CEngineStates::CEngineStates(QTableWidget *list, CTabCtrl *tabs, CResultBrowserMap &browsers, QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_tabs(tabs)
    , m_browsers(browsers)
    , m_choice(list)
{
}

CEngineStates::~CEngineStates() = default;

bool CEngineStates::Reload(CCatalogueLoader &catalogue)
{
    Clear();
    const bool loaded = catalogue.LoadEngines();
    Load(catalogue.LanguageName(), catalogue.CategoryName(), catalogue.Engines());
    return loaded;
}

void CEngineStates::Clear()
{
    m_choice.Clear();
    m_progress.clear();
}

void CEngineStates::Load(const QString &language, const QString &category, const QStringList &sections)
{
    m_progress.clear();
    m_choice.Load(language, category, sections);
    // Only rows that got their engine's page follow one (a row without URL
    // has none, and none is made for it).
    QHash<int, CResultBrowser *> pages;
    for (CResultBrowser *page : m_browsers.Pages()) {
        if (page->m_bActive)
            pages.insert(page->m_nEngine, page);
    }
    for (int row = 0; row < m_list->rowCount(); ++row) {
        auto progress = std::make_unique<CEngineProgress>(row, pages.value(row), m_list, m_tabs, nullptr,
                                                          m_nTimeLimitMs);
        connect(progress.get(), &CEngineProgress::Started, this, &CEngineStates::PageStarted);
        connect(progress.get(), &CEngineProgress::Settled, this, &CEngineStates::PageSettled);
        m_progress.push_back(std::move(progress));
    }
}

bool CEngineStates::ConfirmAnyChosen() const
{
    return m_choice.ConfirmAnyChosen();
}

QSet<int> CEngineStates::NotAsked() const
{
    return m_choice.NotAsked();
}

void CEngineStates::BeginSearch()
{
    const QSet<int> notAsked = m_choice.NotAsked();
    for (std::size_t row = 0; row < m_progress.size(); ++row) {
        if (notAsked.contains(int(row)))
            m_progress[row]->Skip();
        else
            m_progress[row]->Ask();
    }
}

void CEngineStates::MarkStopped()
{
    for (const auto &progress : m_progress)
        progress->MarkStopped();
}

void CEngineStates::SetTimeLimitMs(int ms)
{
    m_nTimeLimitMs = ms;
}

CEngineChoice &CEngineStates::Choice()
{
    return m_choice;
}

CEngineProgress *CEngineStates::Progress(int index) const
{
    return index >= 0 && std::size_t(index) < m_progress.size() ? m_progress[std::size_t(index)].get() : nullptr;
}

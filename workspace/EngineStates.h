#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "workspace/EngineChoice.h"
#include "workspace/EngineProgress.h"

class CCatalogueLoader;
class CResultBrowserMap;
class CTabCtrl;
class QTableWidget;

// Every engine of the category loaded, as the search sees it: which are
// chosen (CEngineChoice) and how each one's page is doing (one
// CEngineProgress per engine). Rebuilt whenever the engines are loaded.
class CEngineStates final : public QObject
{
    Q_OBJECT

public:
    CEngineStates(QTableWidget *list, CTabCtrl *tabs, CResultBrowserMap &browsers, QObject *parent = nullptr);
    ~CEngineStates() override;
    Q_DISABLE_COPY_MOVE(CEngineStates)

    // Loads the current category's engines through `catalogue` (its
    // LoadEngines result) and follows every engine of it.
    bool Reload(CCatalogueLoader &catalogue);
    // The engines are about to be loaded again: the old ones are forgotten.
    void Clear();
    // The rows of `category` of `language` are built, one per section.
    void Load(const QString &language, const QString &category, const QStringList &sections);

    // False, after telling the user, when no engine is chosen.
    bool ConfirmAnyChosen() const;
    QSet<int> NotAsked() const;
    // A search has just asked the chosen engines.
    void BeginSearch();
    void MarkStopped();

    // How long a search waits for a page; tests shorten it. Applies from the
    // next Load.
    void SetTimeLimitMs(int ms);

    CEngineChoice &Choice();
    // The engine of row `index`, or null.
    CEngineProgress *Progress(int index) const;

signals:
    // A page started loading.
    void PageStarted();
    // A page finished, failed, stopped or timed out.
    void PageSettled();

private:
    QPointer<QTableWidget> m_list;
    QPointer<CTabCtrl> m_tabs;
    CResultBrowserMap &m_browsers;
    CEngineChoice m_choice;
    std::vector<std::unique_ptr<CEngineProgress>> m_progress;
    int m_nTimeLimitMs = CEngineProgress::DefaultTimeLimitMs;
};

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "browsers/BrowserControl.h"

class CResultBrowser;
class CTabCtrl;
class QTableWidget;

// The load state of one engine of the category loaded, shown in its row's
// Progress cell and on its tab: the percentage while its page loads, "100%"
// once loaded (as before any search), "Failed", "Stopped", "Timed out" or
// "Skipped". The tab carries a small mark (loading, done, failed) and a
// tooltip with the engine's name, the address the page ended on, the HTTP
// status when known and the load time.
//
// It follows the page's load signals. Loads of "about:blank" (the blanking
// before a search) leave the state alone. A search's page that has not
// finished within the time limit is stopped, shows why, and reads
// "Timed out", so no page holds the end of a search back; a page the user
// went to afterwards (a link followed) is the user's and is never stopped
// for being slow. Every start of a load emits Started; every end, blank or
// not, and every time-out emits Settled.
class CEngineProgress final : public QObject
{
    Q_OBJECT

public:
    enum class EState
    {
        Ready,    // nothing asked yet: the form's own "100%"
        Waiting,  // asked; its page has not started loading
        Loading,
        Loaded,
        Failed,
        Stopped,
        TimedOut,
        Skipped,
    };
    enum class EMark
    {
        None,
        Loading,
        Done,
        Failed,
    };

    static constexpr int DefaultTimeLimitMs = 30000;

    // Row and tab `index` of `list` and `tabs` show the loads of `page` (may
    // be null: the row then keeps its text).
    CEngineProgress(int index, CResultBrowser *page, QTableWidget *list, CTabCtrl *tabs, QObject *parent,
                    int timeLimitMs = DefaultTimeLimitMs);
    ~CEngineProgress() override;
    Q_DISABLE_COPY_MOVE(CEngineProgress)

    // A search asks the engine: its page is about to load; the clock runs.
    void Ask();
    // A search leaves the engine out.
    void Skip();
    // The user stopped the search: a load not ended reads "Stopped".
    void MarkStopped();

    EState State() const;
    QString Text() const;
    EMark Mark() const;
    QString ToolTip() const;
    int TimeLimitMs() const;

signals:
    void Started();
    void Settled();

private:
    void OnStarted(const QString &url);
    void OnProgress(int percent);
    void OnFinished(const SBrowserLoadResult &result);
    void OnTimeLimit();
    void StartClock();
    void Show();

    int m_nIndex;
    QPointer<CResultBrowser> m_page;
    QPointer<QTableWidget> m_list;
    QPointer<CTabCtrl> m_tabs;
    QString m_strName;
    EState m_state = EState::Ready;
    int m_nPercent = 0;
    QString m_strUrl;
    int m_nHttpStatus = 0;
    qint64 m_nLoadMs = -1;
    QString m_strReason;
    QElapsedTimer m_clock;
    QTimer m_limit;
};

#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>

#include "browsers/BrowserControl.h"

// Whether a page's engine loads, what address it shows: asked by the tracker
// on its own timer and when it reports a finish it had no details for.
class ILoadingEngine
{
public:
    virtual ~ILoadingEngine();

    virtual bool IsLoading() const = 0;
    virtual QUrl Url() const = 0;

protected:
    ILoadingEngine() = default;
    Q_DISABLE_COPY_MOVE(ILoadingEngine)
};

// The busy state and the load reports of one page, derived from a browser
// engine's load notifications.
//
// Busy is derived, not copied from one notification, because the engine's
// notifications misfire: a navigation may report its start twice, a load
// replaced by another reports neither its own end nor the start of its
// successor, the engine starts a load only after it was asked and has
// returned, and a navigation within the same document reports nothing at
// all. So Navigate makes the page busy at once; a start notification keeps
// it busy; it ends on an end notification once the engine no longer loads,
// on Stop and on Fail, and, as a safety net, when the engine has reported no
// loading for a few ticks of a timer that runs only while busy (many more
// before the start of a navigation to another document, which always
// comes). Busy
// therefore never stays true after a page has finished, failed, been stopped
// or navigated elsewhere.
//
// Each load is reported to the observer once started, as it progresses and
// once finished; a load that another replaces reports no finish of its own.
// The finish comes from the engine's detailed end (which carries the HTTP
// status and the error), or, should that not come, one event round after
// busy ended.
class CLoadTracker final : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultSettleIntervalMs = 200;

    explicit CLoadTracker(const ILoadingEngine &engine, int settleIntervalMs = DefaultSettleIntervalMs,
                          QObject *parent = nullptr);
    ~CLoadTracker() override;
    Q_DISABLE_COPY_MOVE(CLoadTracker)

    // `observer` (not owned; null: none) is told of every load from now on.
    void SetObserver(IBrowserLoadObserver *observer);
    bool Busy() const;
    // The address being loaded; empty when no load runs.
    QUrl LoadingUrl() const;

    // The program asks the engine to load `url`, right after this call.
    void Navigate(const QUrl &url);
    // The program stopped the engine.
    void Stop();
    // The load failed in a way the engine does not report (its renderer died,
    // the program gave up on it): ends busy and reports the failure.
    void Fail(const QUrl &url, const QString &reason);

    // The engine's notifications.
    // A load started: the engine's plain start signal.
    void OnEngineStarted();
    // A load of `url` started: the engine's detailed start.
    void OnEngineLoadingStarted(const QUrl &url);
    void OnEngineProgress(int percent);
    // A load ended, successfully or not: the engine's plain end signal.
    void OnEngineFinished(bool ok);
    // A load ended with these details (the outcome already read from the
    // engine's status and error). False when the end is that of a load a
    // newer one replaced: it is then not reported.
    bool OnEngineEnded(const SBrowserLoadResult &result);

signals:
    // Busy has just become false.
    void BusyEnded();

private:
    void SetBusy();
    void EndBusy();
    void OnSettleTick();
    void ReportStarted(const QUrl &url);
    void ReportFinished(const SBrowserLoadResult &result);
    void ReportFinishedLater(bool ok);

    const ILoadingEngine &m_engine;
    IBrowserLoadObserver *m_observer = nullptr;
    QTimer m_settleTimer;
    bool m_busy = false;
    // The engine has reported the start of the load we wait for.
    bool m_startSeen = false;
    // Consecutive timer ticks on which the engine was not loading.
    int m_idleTicks = 0;
    // How many such ticks end busy before the start is seen.
    int m_ticksBeforeStart = 0;
    QUrl m_loadingUrl;
    // A start was reported and its finish not yet.
    bool m_reportOpen = false;
    // Counts reported starts, so a late finish knows its load was replaced.
    quint64 m_reportedLoads = 0;
};

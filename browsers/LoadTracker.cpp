#include "browsers/LoadTracker.h"

namespace
{
// Ticks without loading after which busy ends: longer while the start of
// the navigation has not been reported yet (the engine starts loads
// asynchronously and may be slow to do so under load), short afterwards.
// Only a navigation within the shown document may never start; one to
// another document always does, though with dozens of pages asked at once
// it may take seconds: ending it early would report a load that has not
// happened, and let a hidden page be frozen just as it starts.
constexpr int IdleTicksBeforeStart = 10;
constexpr int IdleTicksBeforeNewDocument = 150;
constexpr int IdleTicksAfterStart = 2;

bool MayStaySilent(const QUrl &target, const QUrl &shown)
{
    return target.adjusted(QUrl::RemoveFragment) == shown.adjusted(QUrl::RemoveFragment);
}
} // namespace

ILoadingEngine::~ILoadingEngine() = default;

CLoadTracker::CLoadTracker(const ILoadingEngine &engine, int settleIntervalMs, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
{
    m_settleTimer.setInterval(settleIntervalMs);
    connect(&m_settleTimer, &QTimer::timeout, this, &CLoadTracker::OnSettleTick);
}

CLoadTracker::~CLoadTracker() = default;

void CLoadTracker::SetObserver(IBrowserLoadObserver *observer)
{
    m_observer = observer;
}

bool CLoadTracker::Busy() const
{
    return m_busy;
}

QUrl CLoadTracker::LoadingUrl() const
{
    return m_loadingUrl;
}

void CLoadTracker::Navigate(const QUrl &url)
{
    SetBusy();
    m_startSeen = false;
    m_ticksBeforeStart = MayStaySilent(url, m_engine.Url()) ? IdleTicksBeforeStart : IdleTicksBeforeNewDocument;
    m_loadingUrl = url;
    ReportStarted(url);
}

void CLoadTracker::Stop()
{
    const QUrl url = !m_loadingUrl.isEmpty() ? m_loadingUrl : m_engine.Url();
    EndBusy();
    ReportFinished({EBrowserLoadOutcome::Stopped, url.toString(), 0, {}});
}

void CLoadTracker::Fail(const QUrl &url, const QString &reason)
{
    m_loadingUrl.clear();
    EndBusy();
    ReportFinished({EBrowserLoadOutcome::Failed, url.toString(), 0, reason});
}

void CLoadTracker::OnEngineStarted()
{
    // A second start of the same load changes nothing.
    SetBusy();
    m_startSeen = true;
}

void CLoadTracker::OnEngineLoadingStarted(const QUrl &url)
{
    m_loadingUrl = url;
    if (!m_busy)
        OnEngineStarted();
    // A load the page started itself (a link, Back, Reload).
    if (!m_reportOpen)
        ReportStarted(url);
}

void CLoadTracker::OnEngineProgress(int percent)
{
    if (m_reportOpen && m_observer)
        m_observer->OnLoadProgress(percent);
}

void CLoadTracker::OnEngineFinished(bool ok)
{
    // The end of a load that another one has already replaced does not end
    // the busy state of its successor, neither while the engine is still
    // loading nor before the successor has started (the settle timer ends a
    // navigation that never reports its start).
    if (!m_startSeen || m_engine.IsLoading())
        return;
    EndBusy();
    ReportFinishedLater(ok);
}

bool CLoadTracker::OnEngineEnded(const SBrowserLoadResult &result)
{
    // The engine may end a navigation it never reported starting (the first
    // one after its renderer died): the end of the very address awaited is
    // that navigation's end.
    if (m_busy && !m_startSeen && !m_engine.IsLoading() && QUrl(result.url) == m_loadingUrl)
        EndBusy();
    m_loadingUrl.clear();
    // The end of a load that a newer one replaced is not that one's end.
    if (m_busy)
        return false;
    ReportFinished(result);
    return true;
}

void CLoadTracker::SetBusy()
{
    m_busy = true;
    m_idleTicks = 0;
    m_settleTimer.start();
}

void CLoadTracker::EndBusy()
{
    m_busy = false;
    m_settleTimer.stop();
    emit BusyEnded();
}

void CLoadTracker::OnSettleTick()
{
    if (m_engine.IsLoading()) {
        m_idleTicks = 0;
        m_startSeen = true;
        return;
    }
    if (++m_idleTicks >= (m_startSeen ? IdleTicksAfterStart : m_ticksBeforeStart)) {
        EndBusy();
        ReportFinished({EBrowserLoadOutcome::Loaded, m_engine.Url().toString(), 0, {}});
    }
}

void CLoadTracker::ReportStarted(const QUrl &url)
{
    m_reportOpen = true;
    ++m_reportedLoads;
    if (m_observer)
        m_observer->OnLoadStarted(url.toString());
}

void CLoadTracker::ReportFinished(const SBrowserLoadResult &result)
{
    if (!m_reportOpen)
        return;
    m_reportOpen = false;
    if (m_observer)
        m_observer->OnLoadFinished(result);
}

void CLoadTracker::ReportFinishedLater(bool ok)
{
    // The engine's detailed end normally follows at once with the status
    // and the error; should it not, the finish is told without them.
    const quint64 load = m_reportedLoads;
    QTimer::singleShot(0, this, [this, load, ok] {
        if (load != m_reportedLoads || m_busy)
            return;
        ReportFinished({ok ? EBrowserLoadOutcome::Loaded : EBrowserLoadOutcome::Failed, m_engine.Url().toString(), 0,
                        ok ? QString() : QStringLiteral("The page could not be loaded.")});
    });
}

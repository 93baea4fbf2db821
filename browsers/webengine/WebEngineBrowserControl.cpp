#include "browsers/webengine/WebEngineBrowserControl.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QList>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineFindTextResult>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>
#include <array>
#include <utility>

#include "browsers/webengine/ErrorPage.h"
#include "browsers/webengine/ResultProfile.h"
#include "platform/ShellOpen.h"

namespace {

// Text sizes of the five levels, smallest to largest; level 2 is normal.
constexpr std::array<qreal, 5> ZoomFactors = {0.6, 0.8, 1.0, 1.25, 1.5};

// While busy, the engine's own loading state is checked this often.
constexpr int SettleIntervalMs = 200;
// Ticks without loading after which busy ends: longer while the start of
// the navigation has not been reported yet (the engine starts loads
// asynchronously and may be slow to do so under load), short afterwards.
constexpr int IdleTicksBeforeStart = 10;
constexpr int IdleTicksAfterStart = 2;

// Every live control, to tell each whether it is seen when pages move.
QList<CWebEngineBrowserControl *> &Controls()
{
    static QList<CWebEngineBrowserControl *> controls;
    return controls;
}

// Whether navigations that would make a page's engine wait (see
// HoldNavigations).
bool &NavigationsHeld()
{
    static bool held = false;
    return held;
}

// Remembers whether assistive technology has been active in this process.
// While it is, the engine gives each node of a page's document an accessible
// object, owned by the view that showed the page but kept by the document
// until the document goes; a view deleted before its page would leave the
// document handing the screen reader deleted objects.
class CAccessibilityLatch final : public QAccessible::ActivationObserver
{
public:
    CAccessibilityLatch() = default;
    Q_DISABLE_COPY_MOVE(CAccessibilityLatch)

    void accessibilityActiveChanged(bool active) override { m_bSeen = m_bSeen || active; }
    bool Seen() const { return m_bSeen || QAccessible::isActive(); }

private:
    bool m_bSeen = false;
};

// Installed with the first control and never removed: Qt tells observers
// until its accessibility goes, at the application's end.
bool AccessibilityHasBeenActive()
{
    static CAccessibilityLatch *const latch = [] {
        auto *observer = new CAccessibilityLatch;
        QAccessible::installActivationObserver(observer);
        return observer;
    }();
    return latch->Seen();
}

bool IsBlank(const QUrl &url)
{
    return url.isEmpty() || url == QUrl(QStringLiteral("about:blank"));
}

// Addresses handed to the user's own browser: web pages only, never a
// script, a local file or data.
bool MayOpenOutside(const QUrl &url)
{
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https");
}

// The engine's code for a load cancelled by a stop or by another navigation.
constexpr int AbortedErrorCode = -3;

// Why a load failed, for people to read.
QString LoadFailureReason(const QWebEngineLoadingInfo &info)
{
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        return u"The server answered with HTTP status " + QString::number(info.errorCode()) + u'.';
    QString text;
    switch (info.errorCode()) {
    case -102:
        text = QStringLiteral("The server refused the connection.");
        break;
    case -105:
    case -137:
        text = QStringLiteral("The server's name could not be found.");
        break;
    case -7:
    case -118:
        text = QStringLiteral("The server did not answer in time.");
        break;
    case -106:
        text = QStringLiteral("There is no network connection.");
        break;
    case -100:
    case -101:
    case -324:
        text = QStringLiteral("The server closed the connection without an answer.");
        break;
    default:
        return info.errorString().isEmpty() ? QStringLiteral("The page could not be loaded.") : info.errorString();
    }
    // The engine's own name of the error helps whoever looks further.
    return info.errorString().isEmpty() ? text : text + u" (" + info.errorString() + u')';
}

int HttpStatusOf(const QWebEngineLoadingInfo &info)
{
    return info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain ? info.errorCode() : 0;
}

QString TerminationReason(int status, int exitCode)
{
    switch (static_cast<QWebEnginePage::RenderProcessTerminationStatus>(status)) {
    case QWebEnginePage::KilledTerminationStatus:
        return QStringLiteral("The process that showed the page was killed.");
    case QWebEnginePage::CrashedTerminationStatus:
        return QStringLiteral("The process that showed the page crashed.");
    default:
        return u"The process that showed the page ended unexpectedly (exit code " + QString::number(exitCode) + u").";
    }
}

} // namespace

CWebEngineBrowserControl::CWebEngineBrowserControl(QWidget *parent, const WebEngineMemoryPolicy &policy,
                                                   QWebEngineProfile *profile)
    : m_host(new QWidget(parent))
    , m_profile(profile)
    , m_settleTimer(new QTimer(this))
    , m_discardTimer(new QTimer(this))
    , m_policy(policy)
{
    m_settleTimer->setInterval(SettleIntervalMs);
    connect(m_settleTimer, &QTimer::timeout, this, &CWebEngineBrowserControl::OnSettleTick);
    m_discardTimer->setSingleShot(true);
    connect(m_discardTimer, &QTimer::timeout, this, &CWebEngineBrowserControl::OnDiscardTimeout);
    m_host->installEventFilter(this);
    if (parent)
        parent->installEventFilter(this);
    Controls().append(this);
    AccessibilityHasBeenActive();
    if (!m_policy.lazyView) {
        EnsurePage();
        if (!m_policy.viewOnlyWhenSeen)
            EnsureView();
    }
}

CWebEngineBrowserControl::~CWebEngineBrowserControl()
{
    Controls().removeOne(this);
    if (m_host) {
        m_host->removeEventFilter(this);
        if (QWidget *page = m_host->parentWidget())
            page->removeEventFilter(this);
    }
    // The page goes before its view, which owns the accessible objects the
    // page's document lets go of as it goes; the view before the host.
    if (m_page) {
        disconnect(m_page, nullptr, this, nullptr);
        delete m_page.data();
    }
    DropView();
    delete m_host.data();
}

QWidget *CWebEngineBrowserControl::Widget()
{
    return m_host.data();
}

QWebEnginePage *CWebEngineBrowserControl::Page() const
{
    return m_page.data();
}

QWebEngineView *CWebEngineBrowserControl::View() const
{
    return m_view.data();
}

QWebEnginePage *CWebEngineBrowserControl::EnsurePage()
{
    if (!m_page && m_host && !m_profile) {
        if (CResultProfile *shared = GetResultProfile())
            m_profile = shared->Profile();
    }
    if (!m_page && m_host && m_profile) {
        m_page = new QWebEnginePage(m_profile, this);
        m_page->setZoomFactor(m_zoomFactor);
        ConnectPage(m_page);
    }
    return m_page.data();
}

QWebEngineView *CWebEngineBrowserControl::EnsureView()
{
    if (m_view || !EnsurePage())
        return m_view.data();
    m_view = new QWebEngineView(m_host);
    m_view->setPage(m_page);
    m_view->setGeometry(m_host->rect());
    m_view->show();
    ScheduleVisibilityCheck();
    return m_view.data();
}

void CWebEngineBrowserControl::DropView()
{
    // The page stays with the control; only the widget that draws it goes,
    // after letting go of the page (which would otherwise keep pointing at it).
    if (!m_view)
        return;
    m_view->setPage(nullptr);
    delete m_view.data();
}

void CWebEngineBrowserControl::Activate()
{
    if (m_page)
        m_page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
}

void CWebEngineBrowserControl::ConnectPage(QWebEnginePage *page)
{
    connect(page, &QWebEnginePage::loadStarted, this, &CWebEngineBrowserControl::OnLoadStarted);
    connect(page, &QWebEnginePage::loadFinished, this, &CWebEngineBrowserControl::OnLoadFinished);
    connect(page, &QWebEnginePage::loadingChanged, this, &CWebEngineBrowserControl::OnLoadingChanged);
    connect(page, &QWebEnginePage::loadProgress, this, [this](int percent) {
        if (m_reportOpen && m_observer && !m_errorPageLoading)
            m_observer->OnLoadProgress(percent);
    });
    connect(page, &QWebEnginePage::newWindowRequested, this, &CWebEngineBrowserControl::OnNewWindowRequested);
    connect(page, &QWebEnginePage::certificateError, this, &CWebEngineBrowserControl::OnCertificateError);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                OnRenderProcessTerminated(int(status), exitCode);
            });
    connect(page, &QWebEnginePage::featurePermissionRequested, this,
            [page](const QUrl &origin, QWebEnginePage::Feature feature) {
                page->setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
            });
}

QUrl CWebEngineBrowserControl::ToUrl(const QString &text)
{
    const QUrl url(text, QUrl::TolerantMode);
    // A scheme of one letter is a drive letter, not a scheme.
    if (url.isValid() && !url.isRelative() && url.scheme().size() > 1)
        return url;
    return QUrl::fromUserInput(text, QDir::currentPath(), QUrl::AssumeLocalFile);
}

void CWebEngineBrowserControl::Navigate(const QString &text)
{
    const QUrl url = ToUrl(text);
    m_errorUrl.clear();
    m_errorPageLoading = false;
    m_certificateReason.clear();
    // A page that never showed a document stays without an engine when
    // blanked.
    if (!m_page && IsBlank(url)) {
        DropHeldNavigation();
        return;
    }
    if (!m_page && NavigationsHeld()) {
        m_heldUrl = text;
        m_busy = true;
        return;
    }
    if (!EnsurePage())
        return;
    if (!m_policy.viewOnlyWhenSeen || IsSeen())
        EnsureView();
    SetBusy();
    m_startSeen = false;
    m_loadingUrl = url;
    ReportStarted(url);
    Activate();
    m_page->load(url);
}

void CWebEngineBrowserControl::Stop()
{
    if (!m_page) {
        DropHeldNavigation();
        return;
    }
    m_page->triggerAction(QWebEnginePage::Stop);
    EndBusy();
    ReportFinished(EBrowserLoadOutcome::Stopped, !m_loadingUrl.isEmpty() ? m_loadingUrl : m_page->url());
}

void CWebEngineBrowserControl::GoBack()
{
    if (!m_page)
        return;
    Activate();
    m_page->triggerAction(QWebEnginePage::Back);
}

void CWebEngineBrowserControl::GoForward()
{
    if (!m_page)
        return;
    Activate();
    m_page->triggerAction(QWebEnginePage::Forward);
}

void CWebEngineBrowserControl::Refresh()
{
    if (!m_page)
        return;
    // On an error page, loading the address again is what the user means.
    if (!m_errorUrl.isEmpty()) {
        Navigate(m_errorUrl.toString(QUrl::FullyEncoded));
        return;
    }
    Activate();
    m_page->triggerAction(QWebEnginePage::Reload);
}

bool CWebEngineBrowserControl::Busy() const
{
    return m_busy;
}

QString CWebEngineBrowserControl::LocationURL() const
{
    if (!m_errorUrl.isEmpty())
        return m_errorUrl.toString();
    if (!m_page && !m_heldUrl.isEmpty())
        return ToUrl(m_heldUrl).toString();
    const QUrl url = m_page ? m_page->url() : QUrl();
    return url.isEmpty() ? QStringLiteral("about:blank") : url.toString();
}

void CWebEngineBrowserControl::HoldNavigations()
{
    NavigationsHeld() = true;
}

void CWebEngineBrowserControl::ReleaseNavigations()
{
    NavigationsHeld() = false;
    // A navigation may create or destroy controls; walk a copy, skipping
    // those gone meanwhile.
    const QList<CWebEngineBrowserControl *> controls = Controls();
    for (CWebEngineBrowserControl *control : controls) {
        if (!Controls().contains(control) || control->m_heldUrl.isEmpty())
            continue;
        const QString url = std::exchange(control->m_heldUrl, QString());
        control->Navigate(url);
    }
}

void CWebEngineBrowserControl::DropHeldNavigation()
{
    if (m_heldUrl.isEmpty())
        return;
    m_heldUrl.clear();
    m_busy = false;
}

qreal CWebEngineBrowserControl::ZoomFactorForLevel(int level)
{
    return ZoomFactors[std::size_t(std::clamp(level, BROWSER_ZOOM_SMALLEST, BROWSER_ZOOM_LARGEST))];
}

void CWebEngineBrowserControl::SetZoomLevel(int level)
{
    m_zoomFactor = ZoomFactorForLevel(level);
    if (m_page)
        m_page->setZoomFactor(m_zoomFactor);
}

qreal CWebEngineBrowserControl::ZoomFactor() const
{
    return m_page ? m_page->zoomFactor() : m_zoomFactor;
}

void CWebEngineBrowserControl::FindText(const QString &text, bool backward, FindCallback done)
{
    if (!m_page || text.isEmpty()) {
        StopFinding();
        if (done)
            done({});
        return;
    }
    const QWebEnginePage::FindFlags flags = backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags();
    // The engine answers each call once, later; a call overtaken by the next
    // is answered at once with no matches. The answer touches nothing of
    // this control, and `done` carries its own guard.
    m_page->findText(text, flags, [done = std::move(done)](const QWebEngineFindTextResult &result) {
        if (done)
            done({result.activeMatch(), result.numberOfMatches()});
    });
}

void CWebEngineBrowserControl::StopFinding()
{
    // Searching for nothing clears the highlight.
    if (m_page)
        m_page->findText(QString());
}

bool CWebEngineBrowserControl::ShowsErrorPage() const
{
    return !m_errorUrl.isEmpty();
}

void CWebEngineBrowserControl::ShowErrorPage(const QString &heading, const QString &reason, const QString &linkText)
{
    if (!EnsurePage())
        return;
    if (m_errorUrl.isEmpty())
        m_errorUrl = m_page->url();
    EndBusy();
    ReportFinished(EBrowserLoadOutcome::Failed, m_errorUrl, 0, reason);
    m_errorPageLoading = true;
    Activate();
    // The engine's name stands for its web pages, not for a local file
    // (the first-show page) that happened to fail in its page.
    const QString name = MayOpenOutside(m_errorUrl) ? m_engineName : QString();
    m_page->setHtml(ErrorPageHtml({heading, name, m_errorUrl, reason, linkText}));
}

void CWebEngineBrowserControl::SetLoadObserver(IBrowserLoadObserver *observer)
{
    m_observer = observer;
}

void CWebEngineBrowserControl::SetEngineName(const QString &name)
{
    m_engineName = name;
}

void CWebEngineBrowserControl::ShowLoadFailure(const QString &reason)
{
    // The address that was loading is the one that failed, not the document
    // shown before it.
    const QUrl failed = !m_loadingUrl.isEmpty() ? m_loadingUrl : m_page ? m_page->url() : QUrl();
    if (m_busy)
        Stop();
    m_errorUrl = failed;
    ShowErrorPage(QStringLiteral("This page could not be shown"), reason);
}

void CWebEngineBrowserControl::ReportStarted(const QUrl &url)
{
    m_reportOpen = true;
    ++m_reportedLoads;
    if (m_observer)
        m_observer->OnLoadStarted(url.toString());
}

void CWebEngineBrowserControl::ReportFinished(EBrowserLoadOutcome outcome, const QUrl &url, int httpStatus,
                                              const QString &reason)
{
    if (!m_reportOpen)
        return;
    m_reportOpen = false;
    if (m_observer)
        m_observer->OnLoadFinished({outcome, url.toString(), httpStatus, reason});
}

void CWebEngineBrowserControl::ReportFinishedLater(bool ok)
{
    // The engine's loading state normally follows at once with the status
    // and the error; should it not, the finish is told without them.
    const quint64 load = m_reportedLoads;
    QTimer::singleShot(0, this, [this, load, ok] {
        if (load != m_reportedLoads || m_busy)
            return;
        ReportFinished(ok ? EBrowserLoadOutcome::Loaded : EBrowserLoadOutcome::Failed,
                       m_page ? m_page->url() : QUrl(), 0,
                       ok ? QString() : QStringLiteral("The page could not be loaded."));
    });
}

void CWebEngineBrowserControl::SetBusy()
{
    m_busy = true;
    m_idleTicks = 0;
    m_settleTimer->start();
}

void CWebEngineBrowserControl::EndBusy()
{
    m_busy = false;
    m_settleTimer->stop();
    ScheduleVisibilityCheck();
}

void CWebEngineBrowserControl::OnLoadStarted()
{
    if (m_errorPageLoading)
        return;
    // A second start of the same load changes nothing; a load the page starts
    // itself (a link, a script) replaces a shown error page.
    m_errorUrl.clear();
    SetBusy();
    m_startSeen = true;
}

void CWebEngineBrowserControl::OnLoadFinished(bool ok)
{
    if (m_errorPageLoading) {
        // The end of the load the error page replaced (a stopped one, whose
        // end the engine reports late) is not the error page's own end: that
        // comes once the page shows the error page's document.
        if (m_page && m_page->url().scheme() == u"data")
            m_errorPageLoading = false;
        return;
    }
    // The end of a load that another one has already replaced does not end
    // the busy state of its successor, neither while the engine is still
    // loading nor before the successor has started (the settle timer ends a
    // navigation that never reports its start).
    if (!m_startSeen || (m_page && m_page->isLoading()))
        return;
    EndBusy();
    ReportFinishedLater(ok);
    // The engine may reset the zoom for a new document; keep the user's size.
    if (m_page && !qFuzzyCompare(m_page->zoomFactor(), m_zoomFactor))
        m_page->setZoomFactor(m_zoomFactor);
}

void CWebEngineBrowserControl::OnLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (m_errorPageLoading)
        return;
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        m_loadingUrl = info.url();
        // A load the page started itself (a link, Back, Reload).
        if (!m_reportOpen && m_busy)
            ReportStarted(info.url());
        return;
    }
    m_loadingUrl.clear();
    // The end of a load that a newer one replaced is not that one's end.
    if (!m_busy)
        OnLoadEnded(info);
}

void CWebEngineBrowserControl::OnLoadEnded(const QWebEngineLoadingInfo &info)
{
    const bool aborted = info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain
                         && info.errorCode() == AbortedErrorCode;
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
        ReportFinished(EBrowserLoadOutcome::Loaded, info.url(), HttpStatusOf(info));
        return;
    }
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus || aborted) {
        ReportFinished(EBrowserLoadOutcome::Stopped, info.url());
        return;
    }
    const bool certificate = info.errorDomain() == QWebEngineLoadingInfo::CertificateErrorDomain;
    const QString reason = certificate && !m_certificateReason.isEmpty() ? m_certificateReason : LoadFailureReason(info);
    const QString heading = certificate ? QStringLiteral("The site's certificate was refused")
                                        : QStringLiteral("This page could not be shown");
    ReportFinished(EBrowserLoadOutcome::Failed, info.url(), HttpStatusOf(info), reason);
    m_errorUrl = info.url();
    // Replacing the document from within the engine's own notification is
    // not safe; do it once the notification has returned.
    QTimer::singleShot(0, this, [this, heading, reason] {
        if (!m_errorUrl.isEmpty())
            ShowErrorPage(heading, reason);
    });
}

void CWebEngineBrowserControl::OnSettleTick()
{
    if (!m_busy || !m_page) {
        m_settleTimer->stop();
        return;
    }
    if (m_page->isLoading()) {
        m_idleTicks = 0;
        m_startSeen = true;
        return;
    }
    if (++m_idleTicks >= (m_startSeen ? IdleTicksAfterStart : IdleTicksBeforeStart)) {
        EndBusy();
        ReportFinished(EBrowserLoadOutcome::Loaded, m_page->url());
    }
}

void CWebEngineBrowserControl::OnNewWindowRequested(QWebEngineNewWindowRequest &request)
{
    // Without a user's gesture it is a pop-up: dropped. The result tabs
    // belong to the engines, so what the user opens goes to the user's own
    // browser. The request is left unanswered, so the engine opens nothing.
    if (request.isUserInitiated() && MayOpenOutside(request.requestedUrl()))
        ShellExecuteOpen(request.requestedUrl().toString(QUrl::FullyEncoded));
}

void CWebEngineBrowserControl::OnCertificateError(const QWebEngineCertificateError &error)
{
    m_certificateReason = error.description();
    QWebEngineCertificateError refused = error;
    refused.rejectCertificate();
}

void CWebEngineBrowserControl::OnRenderProcessTerminated(int status, int exitCode)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    EndBusy();
    m_errorPageLoading = false;
    // A renderer that dies while a document loads takes that document's
    // address with it; otherwise the page showed its current one.
    if (m_errorUrl.isEmpty())
        m_errorUrl = !m_loadingUrl.isEmpty() ? m_loadingUrl : m_page ? m_page->url() : QUrl();
    m_loadingUrl.clear();
    const QString reason = TerminationReason(status, exitCode);
    ReportFinished(EBrowserLoadOutcome::Failed, m_errorUrl, 0, reason);
    QTimer::singleShot(0, this, [this, reason] {
        ShowErrorPage(QStringLiteral("This page crashed"), reason, QStringLiteral("Reload"));
    });
}

bool CWebEngineBrowserControl::IsSeen() const
{
    if (!m_host || !m_host->isVisible())
        return false;
    const QWidget *page = m_host->parentWidget();
    if (!page || !page->parentWidget())
        return true;
    if (page->geometry().isEmpty())
        return false;
    // Siblings later in the list are stacked above the page.
    const QObjectList &siblings = page->parentWidget()->children();
    for (qsizetype i = siblings.indexOf(const_cast<QWidget *>(page)) + 1; i < siblings.size(); ++i) {
        const auto *sibling = qobject_cast<const QWidget *>(siblings.at(i));
        if (sibling && !sibling->isWindow() && sibling->isVisible() && sibling->geometry().contains(page->geometry()))
            return false;
    }
    return true;
}

void CWebEngineBrowserControl::UpdateLifecycle()
{
    if (!m_page)
        return;
    const WebEngineMemoryPolicy &policy = m_policy;
    if (IsSeen()) {
        m_discardTimer->stop();
        // A discarded page gets its engine back before a view may draw it.
        Activate();
        if (QWebEngineView *view = EnsureView())
            view->show();
        return;
    }
    if (!policy.freezeHidden && !policy.viewOnlyWhenSeen)
        return;
    if (m_busy || m_page->isLoading() || m_errorPageLoading)
        return;
    // Only a hidden page may be frozen or discarded. Once assistive
    // technology has been active, the page's document may hold accessible
    // objects that its view owns: the view stays, hidden, as long as the page.
    if (policy.viewOnlyWhenSeen && !AccessibilityHasBeenActive())
        DropView();
    else if (m_view)
        m_view->hide();
    if (!policy.freezeHidden)
        return;
    if (m_page->lifecycleState() == QWebEnginePage::LifecycleState::Active)
        m_page->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
    if (policy.discardAfterMs > 0 && m_page->lifecycleState() == QWebEnginePage::LifecycleState::Frozen
        && !m_discardTimer->isActive())
        m_discardTimer->start(policy.discardAfterMs);
}

void CWebEngineBrowserControl::OnDiscardTimeout()
{
    if (!m_page || IsSeen() || m_busy)
        return;
    if (m_page->lifecycleState() == QWebEnginePage::LifecycleState::Frozen)
        m_page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
}

void CWebEngineBrowserControl::ScheduleVisibilityCheck()
{
    static bool pending = false;
    if (pending)
        return;
    pending = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        pending = false;
        for (CWebEngineBrowserControl *control : std::as_const(Controls()))
            control->UpdateLifecycle();
    });
}

bool CWebEngineBrowserControl::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == m_host && m_view)
            m_view->setGeometry(m_host->rect());
        ScheduleVisibilityCheck();
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::ZOrderChange:
        ScheduleVisibilityCheck();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

std::unique_ptr<IBrowserControl> CreateWebEngineBrowserControl(QWidget *parent, const WebEngineMemoryPolicy &policy)
{
    // The engine needs a widget application. The result pages' profile, whose
    // creation starts the browser engine, waits for the first page.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    return std::make_unique<CWebEngineBrowserControl>(parent, policy);
}

CWebEngineBrowserControlFactory::CWebEngineBrowserControlFactory(const WebEngineMemoryPolicy &policy)
    : m_policy(policy)
{
}

std::unique_ptr<IBrowserControl> CWebEngineBrowserControlFactory::Create(QWidget *parent)
{
    return CreateWebEngineBrowserControl(parent, m_policy);
}

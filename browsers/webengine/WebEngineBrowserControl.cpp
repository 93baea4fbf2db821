#include "browsers/webengine/WebEngineBrowserControl.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWebEngineFindTextResult>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

#include <algorithm>
#include <array>
#include <utility>

#include "browsers/webengine/ErrorPage.h"
#include "browsers/webengine/ResultProfile.h"
#include "browsers/webengine/ResultWebPage.h"

namespace
{
// How long a click or key press in a page lets it start a download, as the
// engine's own user activation lasts.
constexpr qint64 UserGestureMs = 5000;

// Text sizes of the five levels, smallest to largest; level 2 is normal.
constexpr std::array<qreal, 5> ZoomFactors = {0.6, 0.8, 1.0, 1.25, 1.5};

// The engine's code for a load cancelled by a stop or by another navigation.
constexpr int AbortedErrorCode = -3;
bool IsBlank(const QUrl &url)
{
    return url.isEmpty() || url == QUrl(QStringLiteral("about:blank"));
}

bool IsWebPage(const QUrl &url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}
} // namespace

CWebEngineBrowserControl::CWebEngineBrowserControl(QWidget *parent, CWebSession &session)
    : m_session(session)
    , m_host(new QWidget(parent))
    , m_tracker(*this)
    , m_lifecycle(m_host, session.Policy(), [this] { return Busy() || IsLoading() || m_errorPageLoading; })
{
    connect(&m_tracker, &CLoadTracker::BusyEnded, &m_session, &CWebSession::ScheduleLifecycleCheck);
    connect(&m_lifecycle, &CPageLifecycle::SeenMayHaveChanged, &m_session, &CWebSession::ScheduleLifecycleCheck);
    m_session.Add(this);
    if (!m_lifecycle.Policy().lazyView) {
        EnsurePage();
        if (!m_lifecycle.Policy().viewOnlyWhenSeen)
            m_lifecycle.EnsureView();
    }
}

CWebEngineBrowserControl::~CWebEngineBrowserControl()
{
    m_session.Remove(this);
    // The page goes before its view, which owns the accessible objects the
    // page's document lets go of as it goes; the view before the host.
    if (m_page) {
        disconnect(m_page, nullptr, this, nullptr);
        delete m_page.data();
    }
    m_lifecycle.DropView();
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
    return m_lifecycle.View();
}

QString CWebEngineBrowserControl::EngineName() const
{
    return m_engineName;
}

bool CWebEngineBrowserControl::IsLoading() const
{
    return m_page && m_page->isLoading();
}

QUrl CWebEngineBrowserControl::Url() const
{
    return m_page ? m_page->url() : QUrl();
}

CResultWebPage *CWebEngineBrowserControl::EnsurePage()
{
    if (m_page || !m_host)
        return m_page.data();
    m_page = new CResultWebPage(m_session.Profile().Profile(), this);
    m_page->setZoomFactor(m_zoomFactor);
    ConnectPage(m_page);
    m_lifecycle.SetPage(m_page);
    return m_page.data();
}

void CWebEngineBrowserControl::ConnectPage(CResultWebPage *page)
{
    connect(page, &QWebEnginePage::loadStarted, this, &CWebEngineBrowserControl::OnLoadStarted);
    connect(page, &QWebEnginePage::loadFinished, this, &CWebEngineBrowserControl::OnLoadFinished);
    connect(page, &QWebEnginePage::loadingChanged, this, &CWebEngineBrowserControl::OnLoadingChanged);
    connect(page, &QWebEnginePage::loadProgress, this, [this](int percent) {
        if (!m_errorPageLoading)
            m_tracker.OnEngineProgress(percent);
    });
    connect(page, &CResultWebPage::StatusTextChanged, &m_session, &CWebSession::StatusTextChanged);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                OnRenderProcessTerminated(int(status), exitCode);
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

void CWebEngineBrowserControl::Navigate(const SBrowserRequest &request)
{
    const QUrl url = ToUrl(request.url);
    // The program's navigation is not the user's click.
    m_lastInput.invalidate();
    m_errorUrl.clear();
    m_errorPageLoading = false;
    m_heldRequest = {};
    // A page that never showed a document stays without an engine when
    // blanked.
    if (!m_page && IsBlank(url))
        return;
    if (!m_page && m_session.NavigationsHeld()) {
        m_heldRequest = request;
        return;
    }
    if (!EnsurePage())
        return;
    m_page->ClearCertificateReason();
    if (!m_lifecycle.Policy().viewOnlyWhenSeen || IsSeen())
        m_lifecycle.EnsureView();
    m_tracker.Navigate(url);
    m_lifecycle.Activate();
    Load(request, url);
}

void CWebEngineBrowserControl::Load(const SBrowserRequest &request, const QUrl &url)
{
    if (request.method != EEngineMethod::Post) {
        m_forms.NotAForm();
        m_page->load(url);
        return;
    }
    m_forms.Sent(request);
    QWebEngineHttpRequest post(url, QWebEngineHttpRequest::Post);
    post.setHeader(QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/x-www-form-urlencoded"));
    post.setPostData(request.body);
    m_page->load(post);
}

void CWebEngineBrowserControl::StartHeldNavigation()
{
    if (!m_heldRequest.url.isEmpty())
        Navigate(std::exchange(m_heldRequest, {}));
}

void CWebEngineBrowserControl::Stop()
{
    m_heldRequest = {};
    if (!m_page)
        return;
    m_forms.NotAForm();
    m_page->triggerAction(QWebEnginePage::Stop);
    m_tracker.Stop();
}

void CWebEngineBrowserControl::GoBack()
{
    if (!m_page)
        return;
    m_lifecycle.Activate();
    m_page->triggerAction(QWebEnginePage::Back);
}

void CWebEngineBrowserControl::GoForward()
{
    if (!m_page)
        return;
    m_lifecycle.Activate();
    m_page->triggerAction(QWebEnginePage::Forward);
}

void CWebEngineBrowserControl::Refresh()
{
    if (!m_page || !m_forms.MayLoadAgain())
        return;
    // On an error page, loading the address again is what the user means:
    // by the form that failed, if it was one.
    if (!m_errorUrl.isEmpty()) {
        Navigate(m_forms.RequestFor(m_errorUrl));
        return;
    }
    // The engine sends the form kept with the history entry again.
    m_forms.Reloading();
    m_lifecycle.Activate();
    m_page->triggerAction(QWebEnginePage::Reload);
}

bool CWebEngineBrowserControl::Busy() const
{
    return !m_heldRequest.url.isEmpty() || m_tracker.Busy();
}

QString CWebEngineBrowserControl::LocationURL() const
{
    if (!m_errorUrl.isEmpty())
        return m_errorUrl.toString();
    if (!m_page && !m_heldRequest.url.isEmpty())
        return ToUrl(m_heldRequest.url).toString();
    const QUrl url = Url();
    return url.isEmpty() ? QStringLiteral("about:blank") : url.toString();
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

bool CWebEngineBrowserControl::IsSeen() const
{
    return m_lifecycle.IsSeen();
}

bool CWebEngineBrowserControl::Contains(const QWidget *widget) const
{
    return m_host && widget && (widget == m_host || m_host->isAncestorOf(widget));
}

void CWebEngineBrowserControl::NoteUserInput()
{
    m_lastInput.start();
}

bool CWebEngineBrowserControl::TakeUserGesture()
{
    const bool recent = m_lastInput.isValid() && m_lastInput.elapsed() < UserGestureMs;
    m_lastInput.invalidate();
    return recent;
}

void CWebEngineBrowserControl::UpdateLifecycle()
{
    m_lifecycle.Update(m_session.AccessibilityHasBeenActive());
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
    m_tracker.Fail(m_errorUrl, reason);
    m_errorPageLoading = true;
    m_lifecycle.Activate();
    // The engine's name stands for its web pages, not for a local file
    // (the first-show page) that happened to fail in its page.
    const QString name = IsWebPage(m_errorUrl) ? m_engineName : QString();
    // A link would ask for a form's answer without the form; Refresh sends it.
    if (m_forms.ShowsFormAnswer())
        m_page->setHtml(ErrorPageHtml({heading, name, m_errorUrl, reason + u' ' + FormResentByRefresh(), {}}));
    else
        m_page->setHtml(ErrorPageHtml({heading, name, m_errorUrl, reason, linkText}));
}

void CWebEngineBrowserControl::SetLoadObserver(IBrowserLoadObserver *observer)
{
    m_tracker.SetObserver(observer);
}

void CWebEngineBrowserControl::SetEngineName(const QString &name)
{
    m_engineName = name;
}

void CWebEngineBrowserControl::ShowLoadFailure(const QString &reason)
{
    // The address that was loading is the one that failed, not the document
    // shown before it.
    const bool loading = !m_tracker.LoadingUrl().isEmpty();
    const QUrl failed = loading ? m_tracker.LoadingUrl() : Url();
    m_forms.LoadEnded(loading);
    if (Busy())
        Stop();
    m_errorUrl = failed;
    ShowErrorPage(LoadFailedHeading(), reason);
}

QUrl CWebEngineBrowserControl::SearchDescriptionUrl() const
{
    return m_page && m_errorUrl.isEmpty() ? m_page->SearchDescriptionUrl() : QUrl();
}

QNetworkAccessManager *CWebEngineBrowserControl::Network()
{
    return m_page ? m_session.Profile().Network() : nullptr;
}

void CWebEngineBrowserControl::OnLoadStarted()
{
    if (m_errorPageLoading)
        return;
    // A load the page starts itself (a link, a script) replaces a shown
    // error page.
    m_errorUrl.clear();
    m_tracker.OnEngineStarted();
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
    m_tracker.OnEngineFinished(ok);
    // The engine may reset the zoom for a new document; keep the user's size.
    if (m_page && !qFuzzyCompare(m_page->zoomFactor(), m_zoomFactor))
        m_page->setZoomFactor(m_zoomFactor);
}

void CWebEngineBrowserControl::OnLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (m_errorPageLoading)
        return;
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        m_tracker.OnEngineLoadingStarted(info.url());
        return;
    }
    const SBrowserLoadResult result = LoadResultOf(info);
    if (!m_tracker.OnEngineEnded(result))
        return;
    if (!m_forms.Settled(info, result.outcome))
        return;
    const QString heading = info.errorDomain() == QWebEngineLoadingInfo::CertificateErrorDomain
                                ? CertificateRefusedHeading()
                                : LoadFailedHeading();
    m_errorUrl = info.url();
    // Replacing the document from within the engine's own notification is
    // not safe; do it once the notification has returned.
    QTimer::singleShot(0, this, [this, heading, reason = result.reason] {
        if (!m_errorUrl.isEmpty())
            ShowErrorPage(heading, reason);
    });
}

SBrowserLoadResult CWebEngineBrowserControl::LoadResultOf(const QWebEngineLoadingInfo &info) const
{
    const int httpStatus = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain ? info.errorCode() : 0;
    const QString url = info.url().toString();
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
        return {EBrowserLoadOutcome::Loaded, url, httpStatus, {}};
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus
        || (httpStatus == 0 && info.errorCode() == AbortedErrorCode))
        return {EBrowserLoadOutcome::Stopped, url, 0, {}};
    const bool certificate = info.errorDomain() == QWebEngineLoadingInfo::CertificateErrorDomain;
    const QString reason = certificate && !m_page->CertificateReason().isEmpty()
                               ? m_page->CertificateReason()
                               : LoadFailureReason(httpStatus, info.errorCode(), info.errorString());
    return {EBrowserLoadOutcome::Failed, url, httpStatus, reason};
}

void CWebEngineBrowserControl::OnRenderProcessTerminated(int status, int exitCode)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    m_errorPageLoading = false;
    // A renderer that dies while a document loads takes that document's
    // address with it; otherwise the page showed its current one.
    m_forms.LoadEnded(m_errorUrl.isEmpty() && !m_tracker.LoadingUrl().isEmpty());
    if (m_errorUrl.isEmpty())
        m_errorUrl = !m_tracker.LoadingUrl().isEmpty() ? m_tracker.LoadingUrl() : Url();
    const QString reason = TerminationReason(QWebEnginePage::RenderProcessTerminationStatus(status), exitCode);
    m_tracker.Fail(m_errorUrl, reason);
    QTimer::singleShot(0, this, [this, reason] { ShowErrorPage(CrashedHeading(), reason, QStringLiteral("Reload")); });
}

CWebEngineBrowserControlFactory::CWebEngineBrowserControlFactory(const WebEngineMemoryPolicy &policy)
    : m_session(policy)
{
}

CWebEngineBrowserControlFactory::~CWebEngineBrowserControlFactory() = default;

std::unique_ptr<IBrowserControl> CWebEngineBrowserControlFactory::Create(QWidget *parent)
{
    // The engine needs a widget application. The result pages' profile, whose
    // creation starts the browser engine, waits for the first page.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    return std::make_unique<CWebEngineBrowserControl>(parent, m_session);
}

CWebSession &CWebEngineBrowserControlFactory::Session()
{
    return m_session;
}

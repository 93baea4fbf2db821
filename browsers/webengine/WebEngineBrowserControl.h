#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>

#include "browsers/BrowserControl.h"

class QWebEngineCertificateError;
class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;
class QTimer;

// How result pages spend memory, given to the factory; the program keeps the
// defaults, the memory bench switches them to measure each.
struct WebEngineMemoryPolicy
{
    // Make a page's engine at its first navigation to a document rather than
    // with the control (blank pages cost no renderer).
    bool lazyView = true;
    // Give a page its view (the widget that draws it) only while the user can
    // see it; a hidden page keeps its document and history without one. Once
    // assistive technology has been active, a page keeps the view it has
    // (hidden while unseen): the view owns the accessible objects of the
    // page's document.
    bool viewOnlyWhenSeen = true;
    // Freeze a loaded page while the user cannot see it (no script or timer
    // runs), and wake it when it is shown.
    bool freezeHidden = true;
    // Discard a page unseen for this long (its renderer is freed; it reloads
    // when shown). 0: never.
    int discardAfterMs = 30 * 60 * 1000;
};

// The real browser control: a QWebEnginePage on the result pages' shared
// persistent profile, shown in a plain widget. The page is made at the first
// navigation to a document; the QWebEngineView that draws it exists only
// while the user can see the page (a hidden page keeps its document and
// history, frozen once loaded, and is discarded after long unseen, reloading
// when shown).
//
// Busy is derived, not copied from one signal, because the engine's load
// notifications misfire: a navigation may report its start twice, a load
// replaced by another reports neither its own end nor the start of its
// successor, the engine starts a load only after load() has returned, and a
// navigation within the same document reports nothing at all. So Navigate
// makes the control busy at once; a start notification keeps it busy; it
// ends on any end notification (success, failure, stop) once the engine
// no longer loads, on Stop, when the renderer dies, and, as a safety net,
// when the engine has reported no loading for a short while (checked by a
// timer that runs only while busy). Busy therefore never stays true after a
// page has finished, failed, been stopped or navigated elsewhere.
//
// The page behaves as the user's own browser would, within its tab: a new
// window or tab the user asks for opens in the user's default browser; a
// pop-up without a user's gesture is dropped; certificate errors are refused;
// location, notification, camera, microphone and screen requests are denied
// without a prompt; a load that fails (a refused connection, an unknown
// name, a refused certificate, an HTTP error, no answer) or a crashed
// renderer shows a readable page naming the engine, the address and the
// reason, with a link that loads the address again.
//
// Each load is reported to the observer once started, as it progresses and
// once finished. The finish is reported from the engine's loading state
// (which carries the HTTP status and the error), or, should that not come,
// one event round after the busy state ended.
class CWebEngineBrowserControl final : public QObject, public IBrowserControl
{
    Q_OBJECT

public:
    // `profile` null: the process-wide result profile, made at the first
    // page's creation.
    explicit CWebEngineBrowserControl(QWidget *parent, const WebEngineMemoryPolicy &policy = {},
                                      QWebEngineProfile *profile = nullptr);
    ~CWebEngineBrowserControl() override;
    Q_DISABLE_COPY_MOVE(CWebEngineBrowserControl)

    QWidget *Widget() override;
    void Navigate(const QString &url) override;
    void Stop() override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    bool Busy() const override;
    QString LocationURL() const override;
    void SetZoomLevel(int level) override;
    void FindText(const QString &text, bool backward, FindCallback done) override;
    void StopFinding() override;

    // --- Load state reported upward ---
    void SetLoadObserver(IBrowserLoadObserver *observer) override;
    void SetEngineName(const QString &name) override;
    void ShowLoadFailure(const QString &reason) override;
    // ---

    // The engine's page: null until the first navigation to a document (with
    // the lazy policy).
    QWebEnginePage *Page() const;
    // The view that draws the page: null while the page is not seen (with
    // that policy) or does not exist.
    QWebEngineView *View() const;
    // The zoom factor the engine applies now.
    qreal ZoomFactor() const;
    // The factor of a text-size level (0..4; others clamped).
    static qreal ZoomFactorForLevel(int level);

    // Whether the user can see the page: shown, not empty, and not covered by
    // a sibling page raised over it.
    bool IsSeen() const;
    // An error page replaces the document (after a crash or a refused
    // certificate); LocationURL still names the address that failed.
    bool ShowsErrorPage() const;
    // Shows the readable error page for the current address, with a link
    // named `linkText` that loads it again.
    void ShowErrorPage(const QString &heading, const QString &reason,
                       const QString &linkText = QStringLiteral("Retry"));

    // Holds, from now until ReleaseNavigations, every navigation that would
    // make a page's engine: the page stays without one, counts as busy and
    // names the address it waits for (the latest one asked; a blanking or
    // Stop drops it). The program holds them until its window has first been
    // painted, so that the browser engine's start-up (a good part of a
    // second on a slow machine) does not keep the window from appearing.
    static void HoldNavigations();
    // Ends the hold and starts every navigation held, in the pages' order of
    // creation.
    static void ReleaseNavigations();

    // The text as the engine receives it: web addresses as given (spaces and
    // non-ASCII letters encoded by the engine), a local file path as a file
    // URL, "about:blank" unchanged.
    static QUrl ToUrl(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWebEnginePage *EnsurePage();
    QWebEngineView *EnsureView();
    void DropView();
    void Activate();
    void ConnectPage(QWebEnginePage *page);
    void SetBusy();
    void EndBusy();
    void DropHeldNavigation();
    void OnLoadStarted();
    void OnLoadFinished(bool ok);
    void OnLoadingChanged(const QWebEngineLoadingInfo &info);
    void OnSettleTick();
    void OnNewWindowRequested(QWebEngineNewWindowRequest &request);
    void OnCertificateError(const QWebEngineCertificateError &error);
    void OnRenderProcessTerminated(int status, int exitCode);
    void UpdateLifecycle();
    void OnDiscardTimeout();
    static void ScheduleVisibilityCheck();
    // Load reports: a start opens a report, a finish closes it; a finish
    // with no report open is not told.
    void ReportStarted(const QUrl &url);
    void ReportFinished(EBrowserLoadOutcome outcome, const QUrl &url, int httpStatus = 0,
                        const QString &reason = {});
    void ReportFinishedLater(bool ok);
    void OnLoadEnded(const QWebEngineLoadingInfo &info);

    QPointer<QWidget> m_host;
    QWebEngineProfile *m_profile;
    QPointer<QWebEnginePage> m_page;
    QPointer<QWebEngineView> m_view;
    QTimer *m_settleTimer;
    QTimer *m_discardTimer;
    bool m_busy = false;
    // The engine has reported the start of the load we wait for.
    bool m_startSeen = false;
    // Consecutive timer ticks on which the engine was not loading.
    int m_idleTicks = 0;
    qreal m_zoomFactor = 1.0;
    // The address being loaded; empty when no load runs.
    QUrl m_loadingUrl;
    // The address the error page stands for; empty while none is shown.
    QUrl m_errorUrl;
    // The error page itself is loading: its load is not the user's.
    bool m_errorPageLoading = false;
    // Why the current load's certificate was refused.
    QString m_certificateReason;
    IBrowserLoadObserver *m_observer = nullptr;
    QString m_engineName;
    // A start was reported and its finish not yet.
    bool m_reportOpen = false;
    // Counts reported starts, so a late finish knows its load was replaced.
    quint64 m_reportedLoads = 0;
    // The navigation waiting for ReleaseNavigations; empty when none waits.
    QString m_heldUrl;
    const WebEngineMemoryPolicy m_policy;
};

// Creates the real control; null if it cannot be created (no widget
// application, no browser profile).
std::unique_ptr<IBrowserControl> CreateWebEngineBrowserControl(QWidget *parent, const WebEngineMemoryPolicy &policy = {});
// The factory that the program installs with InstallBrowserControlFactory.
class CWebEngineBrowserControlFactory final : public IBrowserControlFactory
{
public:
    explicit CWebEngineBrowserControlFactory(const WebEngineMemoryPolicy &policy = {});
    Q_DISABLE_COPY_MOVE(CWebEngineBrowserControlFactory)

    std::unique_ptr<IBrowserControl> Create(QWidget *parent) override;

private:
    const WebEngineMemoryPolicy m_policy;
};

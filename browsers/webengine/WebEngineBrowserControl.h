#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>

#include "browsers/BrowserControl.h"
#include "browsers/LoadTracker.h"
#include "browsers/webengine/FormResend.h"
#include "browsers/webengine/PageLifecycle.h"
#include "browsers/webengine/WebSession.h"

class CResultWebPage;
class QWebEngineLoadingInfo;
class QWebEnginePage;
class QWebEngineView;

// The real browser control: a thin adapter of the control interface over a
// QWebEnginePage (CResultWebPage, with what a result page may do) on the
// session's persistent profile, shown in a plain widget. The page is made at
// the first navigation to a document; CPageLifecycle decides when a view
// draws it and when it is frozen or discarded; CLoadTracker derives its busy
// state and load reports from the engine's notifications.
//
// A load that fails (a refused connection, an unknown name, a refused
// certificate, an HTTP error, no answer) or a crashed renderer shows a
// readable page naming the engine, the address and the reason, with a link
// that loads the address again.
//
// A POST goes to the engine as a QWebEngineHttpRequest. The engine would
// send the form again, unasked, on a reload of its answer; going back or
// forward to it, it sends nothing and shows its own page saying so, which
// keeps the form with the history entry. So Refresh of a form's answer (or
// of the page that failed to show it) first asks the user.
class CWebEngineBrowserControl final : public QObject, public IBrowserControl, private ILoadingEngine
{
    Q_OBJECT

public:
    // `session` (not owned) must outlive the control.
    CWebEngineBrowserControl(QWidget *parent, CWebSession &session);
    ~CWebEngineBrowserControl() override;
    Q_DISABLE_COPY_MOVE(CWebEngineBrowserControl)

    QWidget *Widget() override;
    void Navigate(const SBrowserRequest &request) override;
    void Stop() override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    bool Busy() const override;
    QString LocationURL() const override;
    void SetZoomLevel(int level) override;
    void FindText(const QString &text, bool backward, FindCallback done) override;
    void StopFinding() override;
    void SetLoadObserver(IBrowserLoadObserver *observer) override;
    void SetEngineName(const QString &name) override;
    void ShowLoadFailure(const QString &reason) override;
    QUrl SearchDescriptionUrl() const override;
    QNetworkAccessManager *Network() override;

    // The engine's page: null until the first navigation to a document (with
    // the lazy policy).
    QWebEnginePage *Page() const;
    // The view that draws the page: null while the page is not seen (with
    // that policy) or does not exist.
    QWebEngineView *View() const;
    QString EngineName() const;
    // The zoom factor the engine applies now.
    qreal ZoomFactor() const;
    // The factor of a text-size level (0..4; others clamped).
    static qreal ZoomFactorForLevel(int level);

    // Whether the user can see the page (see CPageLifecycle).
    bool IsSeen() const;
    // Whether `widget` is the control's or inside it.
    bool Contains(const QWidget *widget) const;
    // The user clicked or typed in the page.
    void NoteUserInput();
    // Whether the user clicked or typed in the page just before; true once
    // per click or key press, so one gesture starts one download.
    bool TakeUserGesture();
    // Brings the page's view and engine in line with whether it is seen.
    void UpdateLifecycle();
    // An error page replaces the document (after a crash or a refused
    // certificate); LocationURL still names the address that failed.
    bool ShowsErrorPage() const;
    // Shows the readable error page for the current address, with a link
    // named `linkText` that loads it again.
    void ShowErrorPage(const QString &heading, const QString &reason,
                       const QString &linkText = QStringLiteral("Retry"));
    // Starts the navigation the session's hold kept waiting, if any.
    void StartHeldNavigation();

    // The text as the engine receives it: web addresses as given (spaces and
    // non-ASCII letters encoded by the engine), a local file path as a file
    // URL, "about:blank" unchanged.
    static QUrl ToUrl(const QString &text);

private:
    bool IsLoading() const override;
    QUrl Url() const override;
    CResultWebPage *EnsurePage();
    void ConnectPage(CResultWebPage *page);
    void OnLoadStarted();
    void OnLoadFinished(bool ok);
    void OnLoadingChanged(const QWebEngineLoadingInfo &info);
    void OnRenderProcessTerminated(int status, int exitCode);
    void Load(const SBrowserRequest &request, const QUrl &url);
    SBrowserLoadResult LoadResultOf(const QWebEngineLoadingInfo &info) const;

    CWebSession &m_session;
    QPointer<QWidget> m_host;
    QPointer<CResultWebPage> m_page;
    CLoadTracker m_tracker;
    CPageLifecycle m_lifecycle;
    qreal m_zoomFactor = 1.0;
    // The address the error page stands for; empty while none is shown.
    QUrl m_errorUrl;
    // The error page itself is loading: its load is not the user's.
    bool m_errorPageLoading = false;
    QString m_engineName;
    QElapsedTimer m_lastInput;
    // The navigation waiting for the session's hold to end; its address is
    // empty when none waits.
    SBrowserRequest m_heldRequest;
    CFormResend m_forms;
};

// The factory that the program installs: it makes the real controls and owns
// the web session they share. Every control it made must be gone before it.
class CWebEngineBrowserControlFactory final : public IBrowserControlFactory
{
public:
    explicit CWebEngineBrowserControlFactory(const WebEngineMemoryPolicy &policy = {});
    ~CWebEngineBrowserControlFactory() override;
    Q_DISABLE_COPY_MOVE(CWebEngineBrowserControlFactory)

    // Null without a widget application.
    std::unique_ptr<IBrowserControl> Create(QWidget *parent) override;
    CWebSession &Session();

private:
    CWebSession m_session;
};

#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>

#include "browsers/BrowserControl.h"

class QWebEngineView;
class QTimer;

// The real browser control: a QWebEngineView on the shared default profile.
//
// Busy is derived, not copied from one signal, because the engine's load
// notifications misfire: a navigation may report its start twice, a load
// replaced by another reports neither its own end nor the start of its
// successor, the engine starts a load only after load() has returned, and a
// navigation within the same document reports nothing at all. So Navigate
// makes the control busy at once; a start notification keeps it busy; it
// ends on any end notification (success, failure, stop) once the engine
// no longer loads, on Stop, and, as a safety net, when the engine has
// reported no loading for a short while (checked by a timer that runs only
// while busy). Busy therefore never stays true after a page has finished,
// failed, been stopped or navigated elsewhere.
class CWebEngineBrowserControl final : public QObject, public IBrowserControl
{
    Q_OBJECT

public:
    explicit CWebEngineBrowserControl(QWidget *parent);
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

    QWebEngineView *View() const;
    // The zoom factor the engine applies now.
    qreal ZoomFactor() const;
    // The factor of a text-size level (0..4; others clamped).
    static qreal ZoomFactorForLevel(int level);

    // The text as the engine receives it: web addresses as given (spaces and
    // non-ASCII letters encoded by the engine), a local file path as a file
    // URL, "about:blank" unchanged.
    static QUrl ToUrl(const QString &text);

private:
    void SetBusy();
    void OnLoadStarted();
    void OnLoadFinished();
    void OnSettleTick();

    QPointer<QWebEngineView> m_view;
    QTimer *m_settleTimer;
    bool m_busy = false;
    // The engine has reported the start of the load we wait for.
    bool m_startSeen = false;
    // Consecutive timer ticks on which the engine was not loading.
    int m_idleTicks = 0;
    qreal m_zoomFactor = 1.0;
};

// Creates the real control; null if it cannot be created (no widget
// application, no browser profile).
std::unique_ptr<IBrowserControl> CreateWebEngineBrowserControl(QWidget *parent);
// The factory that the program installs with InstallBrowserControlFactory.
class CWebEngineBrowserControlFactory final : public IBrowserControlFactory
{
public:
    CWebEngineBrowserControlFactory() = default;
    Q_DISABLE_COPY_MOVE(CWebEngineBrowserControlFactory)

    std::unique_ptr<IBrowserControl> Create(QWidget *parent) override;
};

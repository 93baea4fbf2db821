#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

#include "browsers/BrowserControl.h"

// Command id and execution option of the text-size command of ExecWB.
inline constexpr int OLECMDID_ZOOM = 19;
inline constexpr int OLECMDEXECOPT_DONTPROMPTUSER = 2;

// The thin window through which the program drives an embedded browser. It
// exists before its control: Create makes the control (through the factory
// installed) and fills the window with it.
// Every operation is a direct call on the control and is made on the
// user-interface thread; before Create (or after a failed one) the
// operations do nothing, GetBusy is false and GetLocationURL empty.
//
// What happens to the control's loads comes up as the signals LoadStarted,
// LoadProgress and LoadFinished.
class CWebBrowser2 : public QWidget, private IBrowserLoadObserver
{
    Q_OBJECT

public:
    explicit CWebBrowser2(QWidget *parent = nullptr);
    ~CWebBrowser2() override;
    Q_DISABLE_COPY_MOVE(CWebBrowser2)

    // Makes the control as a visible child of `parentWnd` at `rect`; false
    // when the control could not be created.
    bool Create(QWidget *parentWnd, const QRect &rect);

    void GoBack();
    void GoForward();
    void Refresh();
    void Stop();
    QString GetLocationURL() const;
    bool GetBusy() const;
    void Navigate2(const SBrowserRequest &request);
    // Only the zoom command (OLECMDID_ZOOM) is understood: `level` 0 to 4.
    void ExecWB(int cmdId, int execOpt, int level);

    IBrowserControl *Control() const; // null before Create

    // --- Load state ---
    // The engine's name, for the pages the control shows of its own.
    void SetEngineName(const QString &name);
    // Shows a readable page naming the engine, the address and `reason`,
    // with a link that tries again.
    void ShowLoadFailure(const QString &reason);

signals:
    void LoadStarted(const QString &url);
    void LoadProgress(int percent);
    void LoadFinished(const SBrowserLoadResult &result);
    // ---

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void OnLoadStarted(const QString &url) override;
    void OnLoadProgress(int percent) override;
    void OnLoadFinished(const SBrowserLoadResult &result) override;

    std::unique_ptr<IBrowserControl> m_control;
};

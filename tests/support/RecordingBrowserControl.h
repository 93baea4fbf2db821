#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

#include "browsers/BrowserControl.h"
#include "platform/Installed.h"

struct RecordingBrowserLog;

// A browser control that loads nothing: it records every command with its
// arguments ("Navigate <url>", "Navigate POST <url> <body>", "Stop",
// "SetZoomLevel <n>", ...; queries are not recorded) and reports loads to
// its observer as the real control does: Navigate starts one, which ends on
// FinishNavigation, FailNavigation or Stop. Like the real control it takes
// no lock, so a call from another thread shows up under ThreadSanitizer.
class CRecordingBrowserControl final : public IBrowserControl
{
public:
    // `log` (may be null) receives every call, prefixed with the page index.
    explicit CRecordingBrowserControl(QWidget *parent, std::shared_ptr<RecordingBrowserLog> log = nullptr);
    ~CRecordingBrowserControl() override;
    Q_DISABLE_COPY_MOVE(CRecordingBrowserControl)

    QWidget *Widget() override;
    void Navigate(const SBrowserRequest &request) override;
    void Stop() override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    bool Busy() const override;
    QString LocationURL() const override; // last navigated URL, "about:blank" before any
    void SetZoomLevel(int level) override;
    // Recorded as "FindText <text>" (with " backward" appended when so) and
    // "StopFinding". Matches are counted in the text given to SetPageText,
    // case-insensitive; the result is delivered before FindText returns.
    void FindText(const QString &text, bool backward, FindCallback done) override;
    void StopFinding() override;
    void SetPageText(const QString &text);
    void SetLoadObserver(IBrowserLoadObserver *observer) override;
    void SetEngineName(const QString &name) override;
    void ShowLoadFailure(const QString &reason) override;

    // Every recorded call of this control, oldest first.
    QStringList Calls() const;
    void ClearCalls();
    // The recorded Navigate calls without "Navigate ".
    QStringList Navigations() const;
    // The navigation in progress completes, fails or has come `percent` far.
    void FinishNavigation(int httpStatus = 200);
    void FailNavigation(const QString &reason, int httpStatus = 0);
    void ReportProgress(int percent);
    QString EngineName() const;
    // Forces the busy state, as a page that is loading on its own would be.
    void SetBusy(bool busy);
    // The page starts loading `url` itself, as a link clicked in it does:
    // busy, and the start reported; not recorded as a call.
    void FollowLink(const QString &url);
    int ZoomLevel() const; // last level set, normal before any

    // The `m_nEngine` of the result page it serves, else -1.
    int PageIndex() const;

private:
    void Record(const QString &call);
    void Finish(EBrowserLoadOutcome outcome, int httpStatus, const QString &reason);

    QPointer<QWidget> m_widget;
    QPointer<QWidget> m_parent;
    std::shared_ptr<RecordingBrowserLog> m_log;

    QStringList m_calls;
    QString m_location;
    QString m_engineName;
    IBrowserLoadObserver *m_observer = nullptr;
    bool m_busy = false;
    int m_zoomLevel = BROWSER_ZOOM_NORMAL;
    QString m_pageText;
    QString m_findText;
    int m_activeMatch = 0;
};

// Makes recording controls whose calls all go to one log as
// "<page index>: <call>", in their order across pages.
class CRecordingBrowserFactory final : public IBrowserControlFactory
{
public:
    CRecordingBrowserFactory();
    // Puts back the factory Install replaced; the controls made stay valid.
    ~CRecordingBrowserFactory() override;
    Q_DISABLE_COPY_MOVE(CRecordingBrowserFactory)

    std::unique_ptr<IBrowserControl> Create(QWidget *parent) override;
    // Makes this the factory of every page created from now on.
    void Install();

    QStringList Log() const;
    void ClearLog();
    // Only the "<index>: Navigate <url>" lines of the log.
    QStringList NavigationLog() const;
    // How many controls were created.
    int CreatedCount() const;
    // The live control made for the page with this index, or null.
    CRecordingBrowserControl *Control(int pageIndex) const;

private:
    std::shared_ptr<RecordingBrowserLog> m_log;
    std::optional<CInstalled<IBrowserControlFactory>> m_installed;
};

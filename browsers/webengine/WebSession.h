#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

#include "browsers/webengine/PageLifecycle.h"

class CAccessibilityLatch;
class CDownloadHandler;
class CResultProfile;
class CWebEngineBrowserControl;
class QWebEnginePage;

// What the result pages share: the memory policy, the persistent profile,
// the download handler, the hold on navigations until the window is first
// painted, and the list of live controls, each told of the user's clicks and
// key presses in it (a download needs one). The control factory makes one
// and owns it; every control it made must be gone before it.
class CWebSession final : public QObject
{
    Q_OBJECT

public:
    // `dataRoot` and `cacheRoot`: the folders that receive the profile's
    // folder; empty: the user's data and cache locations.
    explicit CWebSession(const WebEngineMemoryPolicy &policy = {}, const QString &dataRoot = {},
                         const QString &cacheRoot = {}, QObject *parent = nullptr);
    ~CWebSession() override;
    Q_DISABLE_COPY_MOVE(CWebSession)

    const WebEngineMemoryPolicy &Policy() const;
    // The profile, made at its first use: that starts the browser engine.
    CResultProfile &Profile();
    CDownloadHandler &Downloads();

    // Holds, from now until ReleaseNavigations, every navigation that would
    // make a page's engine: the page stays without one, counts as busy and
    // names the address it waits for (the latest one asked; a blanking or
    // Stop drops it). The program holds them until its window has first been
    // painted, so that the browser engine's start-up (a good part of a
    // second on a slow machine) does not keep the window from appearing.
    void HoldNavigations();
    // Ends the hold and starts every navigation held, in the pages' order of
    // creation.
    void ReleaseNavigations();
    bool NavigationsHeld() const;

    // The controls register themselves while they live.
    void Add(CWebEngineBrowserControl *control);
    void Remove(CWebEngineBrowserControl *control);
    // The live control whose page is `page`, or null.
    CWebEngineBrowserControl *ControlOf(const QWebEnginePage *page) const;
    // Brings every page in line with whether it is seen, once the current
    // event has been handled; any number of requests before then make one.
    void ScheduleLifecycleCheck();
    // Whether assistive technology has been active since the session began.
    // From then on the engine gives each node of a page's document an
    // accessible object, owned by the view that showed the page but kept by
    // the document until the document goes: a page keeps its view.
    bool AccessibilityHasBeenActive() const;

signals:
    // A text for the status bar: a download's progress and outcome, a link
    // refused or not opened.
    void StatusTextChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const WebEngineMemoryPolicy m_policy;
    const QString m_dataRoot;
    const QString m_cacheRoot;
    std::unique_ptr<CAccessibilityLatch> m_accessibility;
    std::unique_ptr<CDownloadHandler> m_downloads;
    std::unique_ptr<CResultProfile> m_profile;
    QList<CWebEngineBrowserControl *> m_controls;
    bool m_held = false;
    bool m_checkDue = false;
};

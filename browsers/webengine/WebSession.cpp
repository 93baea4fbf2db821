#include "browsers/webengine/WebSession.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

#include "browsers/webengine/DownloadHandler.h"
#include "browsers/webengine/EngineSwitches.h"
#include "browsers/webengine/ResultProfile.h"
#include "browsers/webengine/WebEngineBrowserControl.h"

// Remembers whether assistive technology has been active, from its
// installation until its removal.
class CAccessibilityLatch final : public QAccessible::ActivationObserver
{
public:
    CAccessibilityLatch() { QAccessible::installActivationObserver(this); }
    ~CAccessibilityLatch() override { QAccessible::removeActivationObserver(this); }
    Q_DISABLE_COPY_MOVE(CAccessibilityLatch)

    void accessibilityActiveChanged(bool active) override { m_seen = m_seen || active; }
    bool Seen() const { return m_seen || QAccessible::isActive(); }

private:
    bool m_seen = false;
};

CWebSession::CWebSession(const WebEngineMemoryPolicy &policy, const QString &dataRoot, const QString &cacheRoot,
                         QObject *parent)
    : QObject(parent)
    , m_policy(policy)
    , m_dataRoot(dataRoot.isEmpty() ? CResultProfile::DefaultDataRoot() : dataRoot)
    , m_cacheRoot(cacheRoot.isEmpty() ? CResultProfile::DefaultCacheRoot() : cacheRoot)
    , m_accessibility(std::make_unique<CAccessibilityLatch>())
    , m_downloads(std::make_unique<CDownloadHandler>(*this, m_cacheRoot))
{
    connect(m_downloads.get(), &CDownloadHandler::StatusTextChanged, this, &CWebSession::StatusTextChanged);
    // A page's input goes to widgets the engine makes inside its view; the
    // application sees every one of them first.
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
}

// The profile writes its cookies out when it goes, after its pages.
CWebSession::~CWebSession() = default;

const WebEngineMemoryPolicy &CWebSession::Policy() const
{
    return m_policy;
}

CResultProfile &CWebSession::Profile()
{
    if (!m_profile) {
        // The first profile starts the engine, which reads its switches then.
        ApplyEngineSwitches();
        m_profile = std::make_unique<CResultProfile>(m_dataRoot, m_cacheRoot);
        m_downloads->Watch(m_profile->Profile());
    }
    return *m_profile;
}

CDownloadHandler &CWebSession::Downloads()
{
    return *m_downloads;
}

void CWebSession::HoldNavigations()
{
    m_held = true;
}

void CWebSession::ReleaseNavigations()
{
    m_held = false;
    // A navigation may create or destroy controls; walk a copy, skipping
    // those gone meanwhile.
    const QList<CWebEngineBrowserControl *> controls = m_controls;
    for (CWebEngineBrowserControl *control : controls) {
        if (m_controls.contains(control))
            control->StartHeldNavigation();
    }
}

bool CWebSession::NavigationsHeld() const
{
    return m_held;
}

void CWebSession::Add(CWebEngineBrowserControl *control)
{
    m_controls.append(control);
}

void CWebSession::Remove(CWebEngineBrowserControl *control)
{
    m_controls.removeOne(control);
}

CWebEngineBrowserControl *CWebSession::ControlOf(const QWebEnginePage *page) const
{
    for (CWebEngineBrowserControl *control : m_controls) {
        if (page && control->Page() == page)
            return control;
    }
    return nullptr;
}

bool CWebSession::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress) {
        const auto *widget = qobject_cast<const QWidget *>(watched);
        for (CWebEngineBrowserControl *control : std::as_const(m_controls)) {
            if (control->Contains(widget)) {
                control->NoteUserInput();
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

bool CWebSession::AccessibilityHasBeenActive() const
{
    return m_accessibility->Seen();
}

void CWebSession::ScheduleLifecycleCheck()
{
    if (std::exchange(m_checkDue, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_checkDue = false;
        for (CWebEngineBrowserControl *control : std::as_const(m_controls))
            control->UpdateLifecycle();
    });
}

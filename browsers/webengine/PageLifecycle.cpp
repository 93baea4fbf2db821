#include "browsers/webengine/PageLifecycle.h"

#include <QEvent>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <utility>

CPageLifecycle::CPageLifecycle(QWidget *host, const WebEngineMemoryPolicy &policy, std::function<bool()> busy,
                               QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_policy(policy)
    , m_busy(std::move(busy))
{
    m_discardTimer.setSingleShot(true);
    connect(&m_discardTimer, &QTimer::timeout, this, &CPageLifecycle::OnDiscardTimeout);
    m_host->installEventFilter(this);
    if (QWidget *page = m_host->parentWidget())
        page->installEventFilter(this);
}

CPageLifecycle::~CPageLifecycle()
{
    if (!m_host)
        return;
    m_host->removeEventFilter(this);
    if (QWidget *page = m_host->parentWidget())
        page->removeEventFilter(this);
}

const WebEngineMemoryPolicy &CPageLifecycle::Policy() const
{
    return m_policy;
}

void CPageLifecycle::SetPage(QWebEnginePage *page)
{
    m_page = page;
}

QWebEngineView *CPageLifecycle::View() const
{
    return m_view.data();
}

QWebEngineView *CPageLifecycle::EnsureView()
{
    if (m_view || !m_page || !m_host)
        return m_view.data();
    m_view = new QWebEngineView(m_host);
    m_view->setPage(m_page);
    m_view->setGeometry(m_host->rect());
    m_view->show();
    emit SeenMayHaveChanged();
    return m_view.data();
}

void CPageLifecycle::DropView()
{
    // The page stays with the control; only the widget that draws it goes,
    // after letting go of the page (which would otherwise keep pointing at it).
    if (!m_view)
        return;
    m_view->setPage(nullptr);
    delete m_view.data();
}

void CPageLifecycle::Activate()
{
    if (m_page)
        m_page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
}

bool CPageLifecycle::IsSeen() const
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

void CPageLifecycle::Update(bool keepView)
{
    if (!m_page)
        return;
    if (IsSeen()) {
        m_discardTimer.stop();
        // A discarded page gets its engine back before a view may draw it.
        Activate();
        if (QWebEngineView *view = EnsureView())
            view->show();
        return;
    }
    if (!m_policy.freezeHidden && !m_policy.viewOnlyWhenSeen)
        return;
    if (m_busy())
        return;
    // Only a hidden page may be frozen or discarded.
    if (m_policy.viewOnlyWhenSeen && !keepView)
        DropView();
    else if (m_view)
        m_view->hide();
    if (!m_policy.freezeHidden)
        return;
    if (m_page->lifecycleState() == QWebEnginePage::LifecycleState::Active)
        m_page->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
    if (m_policy.discardAfterMs > 0 && m_page->lifecycleState() == QWebEnginePage::LifecycleState::Frozen
        && !m_discardTimer.isActive())
        m_discardTimer.start(m_policy.discardAfterMs);
}

void CPageLifecycle::OnDiscardTimeout()
{
    if (!m_page || IsSeen() || m_busy())
        return;
    if (m_page->lifecycleState() == QWebEnginePage::LifecycleState::Frozen)
        m_page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
}

bool CPageLifecycle::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == m_host && m_view)
            m_view->setGeometry(m_host->rect());
        emit SeenMayHaveChanged();
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::ZOrderChange:
        emit SeenMayHaveChanged();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

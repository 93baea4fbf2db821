#include "workspace/ResultTabs.h"

#include <QWidget>

#include "browsers/ResultBrowser.h"
#include "browsers/ResultBrowserMap.h"
#include "workspace/TabCtrl.h"

CResultTabs::CResultTabs(QWidget *view, CTabCtrl *tabs, CResultBrowserMap &browsers)
    : m_pView(view)
    , m_tabEngines(tabs)
    , m_browsers(browsers)
{
}

CResultTabs::~CResultTabs() = default;

QRect CResultTabs::PageRect() const
{
    const QRect client = m_pView->rect();
    const QRect tab = m_tabEngines->geometry();
    // Right and bottom edges counted one past the last pixel.
    const int tabBottom = tab.y() + tab.height();
    const int clientRight = client.x() + client.width();
    const int clientBottom = client.y() + client.height();
    return {tab.x() - 2, tabBottom - 1, clientRight + 4, clientBottom - tabBottom + 3};
}

CResultBrowser *CResultTabs::Current() const
{
    return m_pCurBrowser;
}

void CResultTabs::SetCurrent(CResultBrowser *page)
{
    m_pCurBrowser = page;
}

bool CResultTabs::ShowSelected()
{
    if (m_pCurBrowser)
        m_pCurBrowser->setGeometry(0, 0, 0, 0);
    m_pCurBrowser = m_browsers.GetBrowser(m_tabEngines->GetCurSel());
    if (!m_pCurBrowser)
        m_pCurBrowser = m_browsers.GetBrowser(0);
    if (!m_pCurBrowser)
        return false;
    m_pCurBrowser->raise();
    m_pCurBrowser->setGeometry(PageRect());
    m_pCurBrowser->show();
    m_pCurBrowser->update();
    FinishShowing();
    return true;
}

void CResultTabs::RaiseCurrent()
{
    if (!m_pCurBrowser)
        return;
    m_pCurBrowser->setGeometry(PageRect());
    m_pCurBrowser->raise();
    m_pCurBrowser->show();
    FinishShowing();
}

void CResultTabs::ResizeCurrent()
{
    if (m_pCurBrowser)
        m_pCurBrowser->setGeometry(PageRect());
}

void CResultTabs::PlaceAll()
{
    m_browsers.MoveAll(PageRect());
    if (!m_pCurBrowser)
        m_pCurBrowser = m_browsers.GetBrowser(0);
    if (m_pCurBrowser) {
        m_pCurBrowser->raise();
        m_pCurBrowser->show();
    }
    FinishShowing();
}

void CResultTabs::FinishShowing()
{
    const QList<CResultBrowser *> pages = m_browsers.Pages();
    for (CResultBrowser *page : pages) {
        if (page != m_pCurBrowser && !page->isHidden())
            page->hide();
    }
    if (m_pOverlay && !m_pOverlay->isHidden())
        m_pOverlay->raise();
}

void CResultTabs::SetOverlay(QWidget *overlay)
{
    m_pOverlay = overlay;
}

void CResultTabs::GoBack()
{
    if (m_pCurBrowser)
        m_pCurBrowser->GoBack();
}

void CResultTabs::GoForward()
{
    if (m_pCurBrowser)
        m_pCurBrowser->GoForward();
}

void CResultTabs::StopPage()
{
    if (m_pCurBrowser)
        m_pCurBrowser->Stop();
}

void CResultTabs::Refresh()
{
    if (m_pCurBrowser)
        m_pCurBrowser->Refresh();
}

void CResultTabs::SetTextSize(int level)
{
    if (!m_pCurBrowser)
        return;
    m_pCurBrowser->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, level);
    m_textSizes.insert(m_pCurBrowser, level);
}

int CResultTabs::TextSize() const
{
    return m_textSizes.value(m_pCurBrowser, BROWSER_ZOOM_NORMAL);
}

bool CResultTabs::FocusCurrent()
{
    if (!m_pCurBrowser)
        return false;
    const QList<QWidget *> children = m_pCurBrowser->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if ((child->focusPolicy() & Qt::TabFocus) && child->isVisibleTo(m_pCurBrowser) && child->isEnabled()) {
            child->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    m_pCurBrowser->setFocus(Qt::OtherFocusReason);
    return true;
}

bool CResultTabs::IsCurrentBusy() const
{
    return m_pCurBrowser != nullptr && m_pCurBrowser->GetBusy();
}

#include "browsers/WebBrowser2.h"

#include <QResizeEvent>

#include <algorithm>

#include "platform/Installed.h"

CWebBrowser2::CWebBrowser2(QWidget *parent)
    : QWidget(parent)
{
}

// The control goes first, while the window it lives in still exists; it
// reports nothing more on its way out.
CWebBrowser2::~CWebBrowser2()
{
    if (m_control)
        m_control->SetLoadObserver(nullptr);
}

bool CWebBrowser2::Create(QWidget *parentWnd, const QRect &rect)
{
    if (m_control)
        return true;
    if (parentWnd != parentWidget())
        setParent(parentWnd);
    setGeometry(rect);

    IBrowserControlFactory *factory = CInstalled<IBrowserControlFactory>::Installed();
    if (!factory)
        return false;
    std::unique_ptr<IBrowserControl> control = factory->Create(this);
    if (!control || !control->Widget())
        return false;
    m_control = std::move(control);
    m_control->SetLoadObserver(this);
    QWidget *view = m_control->Widget();
    if (view->parentWidget() != this)
        view->setParent(this);
    view->setGeometry(0, 0, width(), height());
    view->show();
    // A page without a parent stays hidden rather than becoming a window.
    if (parentWnd)
        show();
    return true;
}

void CWebBrowser2::GoBack()
{
    if (m_control)
        m_control->GoBack();
}

void CWebBrowser2::GoForward()
{
    if (m_control)
        m_control->GoForward();
}

void CWebBrowser2::Refresh()
{
    if (m_control)
        m_control->Refresh();
}

void CWebBrowser2::Stop()
{
    if (m_control)
        m_control->Stop();
}

QString CWebBrowser2::GetLocationURL() const
{
    return m_control ? m_control->LocationURL() : QString();
}

bool CWebBrowser2::GetBusy() const
{
    return m_control && m_control->Busy();
}

void CWebBrowser2::Navigate2(const SBrowserRequest &request)
{
    if (m_control)
        m_control->Navigate(request);
}

void CWebBrowser2::ExecWB(int cmdId, int execOpt, int level)
{
    Q_UNUSED(execOpt)
    if (!m_control || cmdId != OLECMDID_ZOOM)
        return;
    m_control->SetZoomLevel(std::clamp(level, BROWSER_ZOOM_SMALLEST, BROWSER_ZOOM_LARGEST));
}

IBrowserControl *CWebBrowser2::Control() const
{
    return m_control.get();
}

void CWebBrowser2::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_control && m_control->Widget())
        m_control->Widget()->setGeometry(0, 0, event->size().width(), event->size().height());
}

void CWebBrowser2::SetEngineName(const QString &name)
{
    if (m_control)
        m_control->SetEngineName(name);
}

void CWebBrowser2::ShowLoadFailure(const QString &reason)
{
    if (m_control)
        m_control->ShowLoadFailure(reason);
}

void CWebBrowser2::OnLoadStarted(const QString &url)
{
    emit LoadStarted(url);
}

void CWebBrowser2::OnLoadProgress(int percent)
{
    emit LoadProgress(percent);
}

void CWebBrowser2::OnLoadFinished(const SBrowserLoadResult &result)
{
    emit LoadFinished(result);
}

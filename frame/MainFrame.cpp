#include "frame/MainFrame.h"

#include <QCloseEvent>

#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "workspace/QuaerioView.h"

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
{
    m_router.AddTarget([this] { return &m_commands; });
    m_router.AddTarget([this]() -> const CCommandTarget * { return m_pView ? &m_pView->CommandTarget() : nullptr; });
    m_router.AddTarget([this] { return m_pAppTarget; });
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::LoadFrame()
{
    GetAppSettings()->Load();
    setWindowTitle(LoadResString(AFX_IDS_APP_TITLE));
    return true;
}

void CMainFrame::SetView(CQuaerioView *view)
{
    m_pView = view;
    setCentralWidget(view);
}

CQuaerioView *CMainFrame::GetActiveView() const
{
    return m_pView;
}

void CMainFrame::SetApplicationTarget(const CCommandTarget *target)
{
    m_pAppTarget = target;
}

const CCommandRouter &CMainFrame::Router() const
{
    return m_router;
}

void CMainFrame::ActivateFrame(int)
{
    resize(760, 640);
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    DestroyWindow();
    event->accept();
}

bool CMainFrame::DestroyWindow()
{
    if (m_pView) {
        m_pView->KillTimer(1);
        m_pView->CloseAnimation();
    }
    return true;
}

#include "workspace/SearchRun.h"

#include "browsers/ResultBrowserMap.h"
#include "workspace/AnimateCtrl.h"

namespace
{
constexpr int kMonitorPeriodMs = 2000;
} // namespace

CSearchRun::CSearchRun(CResultBrowserMap &browsers, QObject *parent)
    : QObject(parent)
    , m_browsers(browsers)
{
    m_timer.setInterval(kMonitorPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &CSearchRun::CheckProgress);
}

CSearchRun::~CSearchRun() = default;

void CSearchRun::SetAnimateCtrl(CAnimateCtrl *animate)
{
    m_ctlAnimate = animate;
    m_bAnimating = 0;
}

void CSearchRun::Start(const QString &keywords)
{
    m_strKeywords = keywords;
    m_bSearching = 1;
    PlayAnimation();
    m_browsers.BlankAll();
    m_browsers.SearchAll(m_strKeywords);
}

void CSearchRun::Stop()
{
    m_bSearching = 0;
    m_browsers.StopAll();
    StopAnimation();
}

void CSearchRun::CheckProgress()
{
    emit ProgressChecked();
    if (m_browsers.IsAnyBusy()) {
        // Busy pages outside a search (a link followed) count as searching
        // too, but the form's controls stay as they are.
        m_bSearching = 1;
        if (!m_bAnimating)
            PlayAnimation();
        return;
    }
    m_bSearching = 0;
    StopAnimation();
    emit Idle();
}

void CSearchRun::StartMonitor()
{
    m_timer.start();
}

void CSearchRun::StopMonitor()
{
    m_timer.stop();
}

bool CSearchRun::IsMonitorActive() const
{
    return m_timer.isActive();
}

bool CSearchRun::IsSearching() const
{
    return m_bSearching != 0;
}

bool CSearchRun::IsAnimating() const
{
    return m_bAnimating != 0;
}

QString CSearchRun::Keywords() const
{
    return m_strKeywords;
}

void CSearchRun::PlayAnimation()
{
    // From the first frame to the last, without end.
    if (m_ctlAnimate)
        m_ctlAnimate->Play(0, -1, -1);
    m_bAnimating = 1;
}

void CSearchRun::StopAnimation()
{
    // A play of frame 0 alone, no repeat: the idle picture.
    if (m_ctlAnimate)
        m_ctlAnimate->Play(0, 0, 0);
    m_bAnimating = 0;
}

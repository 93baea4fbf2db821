#include "workspace/SearchRun.h"

#include "browsers/ResultBrowserMap.h"
#include "workspace/AnimateCtrl.h"
#include "res/ResourceIds.h"

#include <utility>

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

CAnimateCtrl *CSearchRun::OpenAnimateCtrl(QWidget *form, const QRect &rect)
{
    CAnimateCtrl *animate = m_ctlAnimate.data();
    if (!animate) {
        animate = new CAnimateCtrl(form);
        animate->setObjectName(QString::number(IDC_ANIMATE));
        animate->setAccessibleName(QStringLiteral("Busy"));
        animate->setGeometry(rect);
        animate->show();
    }
    animate->OpenBusyClip();
    SetAnimateCtrl(animate);
    return animate;
}

void CSearchRun::Start(const QString &keywords, const QSet<int> &notAsked)
{
    m_strKeywords = keywords;
    m_bSearching = 1;
    PlayAnimation();
    m_browsers.BlankAll();
    m_browsers.SearchAll(m_strKeywords, notAsked);
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

void CSearchRun::CheckSoon()
{
    // A page may end its load in the middle of a search's start (a busy
    // page stopped by the blanking); the look waits until that is done.
    if (std::exchange(m_bCheckDue, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_bCheckDue = false;
        CheckProgress();
    });
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

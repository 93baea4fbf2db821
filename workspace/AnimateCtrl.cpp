#include "workspace/AnimateCtrl.h"

#include <QPainter>

#include "res/Images.h"

CAnimateCtrl::CAnimateCtrl(QWidget *parent)
    : QWidget(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { Advance(); });
}

CAnimateCtrl::~CAnimateCtrl() = default;

bool CAnimateCtrl::Open(const QList<QImage> &frames, int frameMs)
{
    Close();
    if (frames.isEmpty())
        return false;
    m_frames = frames;
    m_timer.setInterval(frameMs);
    ShowFrame(0);
    return true;
}

bool CAnimateCtrl::OpenBusyClip()
{
    return Open(LoadAnimationFrames(), kAnimationFrameMs);
}

void CAnimateCtrl::Close()
{
    m_timer.stop();
    m_frames.clear();
    m_nFrame = 0;
    update();
}

bool CAnimateCtrl::Play(int from, int to, int repeat)
{
    const int count = static_cast<int>(m_frames.size());
    if (to < 0)
        to = count - 1;
    if (count == 0 || from < 0 || from >= count || to >= count || from > to || repeat < -1)
        return false;
    m_nFrom = from;
    m_nTo = to;
    ShowFrame(from);
    if (repeat == 0 || (from == to && repeat != -1)) {
        m_timer.stop();
        return true;
    }
    m_nRepeatsLeft = repeat;
    m_timer.start();
    return true;
}

void CAnimateCtrl::Stop()
{
    m_timer.stop();
}

bool CAnimateCtrl::IsOpen() const
{
    return !m_frames.isEmpty();
}

bool CAnimateCtrl::IsPlaying() const
{
    return m_timer.isActive();
}

int CAnimateCtrl::CurrentFrame() const
{
    return m_nFrame;
}

int CAnimateCtrl::FrameCount() const
{
    return static_cast<int>(m_frames.size());
}

QSize CAnimateCtrl::sizeHint() const
{
    return m_frames.isEmpty() ? QSize(25, 25) : m_frames.first().size();
}

void CAnimateCtrl::paintEvent(QPaintEvent *)
{
    if (m_frames.isEmpty())
        return;
    const QImage &image = m_frames.at(m_nFrame);
    QPainter painter(this);
    const QSize size = image.deviceIndependentSize().toSize();
    painter.drawImage(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), image);
}

void CAnimateCtrl::Advance()
{
    if (m_nFrame < m_nTo) {
        ShowFrame(m_nFrame + 1);
        return;
    }
    // The end of one pass: start the next or stop on the last frame.
    if (m_nRepeatsLeft > 0 && --m_nRepeatsLeft == 0) {
        m_timer.stop();
        return;
    }
    ShowFrame(m_nFrom);
}

void CAnimateCtrl::ShowFrame(int frame)
{
    m_nFrame = frame;
    update();
}

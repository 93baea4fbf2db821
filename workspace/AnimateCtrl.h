#pragma once

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

// A small animation player in the manner of an animation control: a clip of
// frames is opened, then played over a range of frames a number of times (or
// without end), stopped, or closed. The frame shown is painted centred.
class CAnimateCtrl final : public QWidget
{
    Q_OBJECT

public:
    explicit CAnimateCtrl(QWidget *parent = nullptr);
    ~CAnimateCtrl() override;
    Q_DISABLE_COPY_MOVE(CAnimateCtrl)

    // Opens a clip and shows its first frame; an empty clip closes.
    bool Open(const QList<QImage> &frames, int frameMs);
    // Opens the program's busy clip.
    bool OpenBusyClip();
    // Stops and forgets the clip; nothing is shown afterwards.
    void Close();

    // Plays frames `from` to `to` (-1: the last frame), `repeat` times, or
    // without end when `repeat` is -1. A repeat count of 0 shows frame `from`
    // and stops there. False when no clip is open or the range is invalid.
    bool Play(int from, int to, int repeat);
    // Stops at the frame shown.
    void Stop();

    bool IsOpen() const;
    bool IsPlaying() const;
    int CurrentFrame() const;
    int FrameCount() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Advance();
    void ShowFrame(int frame);

    QList<QImage> m_frames;
    QTimer m_timer;
    int m_nFrame = 0;
    int m_nFrom = 0;
    int m_nTo = 0;
    int m_nRepeatsLeft = 0; // -1: endless
};

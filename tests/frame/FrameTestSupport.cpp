#include "tests/frame/FrameTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>

#include <gtest/gtest.h>

RecordingView::RecordingView(QWidget *parent)
    : CQuaerioView(parent)
{
}

void RecordingView::Record(const QList<int> &ids)
{
    for (int id : ids)
        m_commands.OnCommand(id, this, [this, id] { calls.append(id); });
}

void RecordingView::Disable(int id)
{
    m_commands.OnUpdate(id, this, [](CCmdUI &cmdUI) { cmdUI.Enable(false); });
}

void RecordingFrame::OnSetting()
{
    ++settingCalls;
}

RecordingView *StartFrame(CMainFrame &frame)
{
    EXPECT_TRUE(frame.LoadFrame());
    auto *view = new RecordingView(&frame);
    frame.SetView(view);
    frame.ActivateFrame();
    frame.show();
    return view;
}

void RunUntilIdle()
{
    QEventLoop loop;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                     &QEventLoop::quit);
    loop.exec();
}

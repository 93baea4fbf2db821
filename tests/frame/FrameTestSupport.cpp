#include "tests/frame/FrameTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>

#include <gtest/gtest.h>

#include "tests/support/RecordingBrowserControl.h"

namespace
{
// No frame test needs a real web engine: every page gets a control that
// loads nothing.
class RecordingBrowsersEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override { m_browsers.Install(); }
    void TearDown() override { InstallBrowserControlFactory(nullptr); }

private:
    CRecordingBrowserFactory m_browsers;
};

[[maybe_unused]] ::testing::Environment *const g_browsersEnvironment =
    ::testing::AddGlobalTestEnvironment(new RecordingBrowsersEnvironment);
} // namespace

void RecordingView::Record(const QList<int> &ids)
{
    for (int id : ids) {
        m_commands.OnCommand(id, this, [this, id] { calls.append(id); });
        m_commands.OnUpdate(id, this, [](CCmdUI &) {});
    }
}

void RecordingView::Disable(int id)
{
    m_commands.OnUpdate(id, this, [](CCmdUI &cmdUI) { cmdUI.Enable(false); });
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

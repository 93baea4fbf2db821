#include "tests/frame/FrameTestSupport.h"

#include <QSignalSpy>
#include <QTimer>

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

void RecordingView::EnableWhile(int id, std::function<bool()> enabled)
{
    m_commands.OnCommand(id, this, [] {});
    m_commands.OnUpdate(id, this, [this, enabled = std::move(enabled)](CCmdUI &cmdUI) {
        ++updates;
        cmdUI.Enable(enabled());
    });
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

void UpdateAfter(CMainFrame &frame, const std::function<void()> &change)
{
    auto *timer = frame.findChild<QTimer *>(QStringLiteral("CommandUpdateTimer"));
    ASSERT_NE(timer, nullptr);
    QSignalSpy updated(timer, &QTimer::timeout);
    change();
    EXPECT_TRUE(updated.wait(5000));
}

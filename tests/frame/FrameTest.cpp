// The main window with a stand-in view: its commands, toolbar, status bar
// and placement.

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "frame/FramePlacement.h"
#include "frame/MainFrame.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"
#include "workspace/QuaerioView.h"

using namespace Qt::StringLiterals;

namespace
{
// No test here needs a real web engine: every page gets a control that loads nothing.
class RecordingBrowsersEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override { m_browsers.Install(); }

private:
    CRecordingBrowserFactory m_browsers;
};

[[maybe_unused]] ::testing::Environment *const g_browsersEnvironment =
    ::testing::AddGlobalTestEnvironment(new RecordingBrowsersEnvironment);

// The search view, whose commands a test can take over. An id taken over
// with Record only appends itself to calls when run, and stays enabled;
// Disable keeps it handled but its update handler disables it; EnableWhile
// keeps it handled, enabled while `enabled` holds, and counts in `updates`
// how often its state is asked for.
class RecordingView final : public CQuaerioView
{
public:
    using CQuaerioView::CQuaerioView;
    void Record(const QList<int> &ids)
    {
        for (int id : ids) {
            m_commands.OnCommand(id, this, [this, id] { calls.append(id); });
            m_commands.OnUpdate(id, this, [](CCmdUI &) {});
        }
    }
    void Disable(int id)
    {
        m_commands.OnUpdate(id, this, [](CCmdUI &cmdUI) { cmdUI.Enable(false); });
    }
    void EnableWhile(int id, std::function<bool()> enabled)
    {
        m_commands.OnCommand(id, this, [] {});
        m_commands.OnUpdate(id, this, [this, enabled = std::move(enabled)](CCmdUI &cmdUI) {
            ++updates;
            cmdUI.Enable(enabled());
        });
    }

    QList<int> calls;
    int updates = 0;
};

// The frame's window with a recording view inside, placed as start-up does and shown.
RecordingView *StartFrame(CMainFrame &frame)
{
    EXPECT_TRUE(frame.LoadFrame());
    auto *view = new RecordingView(&frame);
    frame.SetView(view);
    frame.ActivateFrame();
    frame.show();
    return view;
}

// Runs `change`, then the event loop until the frame has brought its toolbar
// and shortcuts up to date.
void UpdateAfter(CMainFrame &frame, const std::function<void()> &change)
{
    auto *timer = frame.findChild<QTimer *>(u"CommandUpdateTimer"_s);
    ASSERT_NE(timer, nullptr);
    QSignalSpy updated(timer, &QTimer::timeout);
    change();
    EXPECT_TRUE(updated.wait(5000));
}

// The item of `menu` that runs command `id`, its state brought up to date.
QAction *menuItem(QMenu *menu, int id)
{
    emit menu->aboutToShow();
    const QList<QAction *> actions = menu->actions();
    auto it = std::find_if(actions.begin(), actions.end(), [id](QAction *a) { return a->data().toInt() == id; });
    return it == actions.end() ? nullptr : *it;
}

// Records the texts the status bar hands to the platform services.
class StatusTextRecorder final : public CPlatformServicesScope
{
public:
    void StatusTextShown(const QString &text) override { texts.append(text); }
    QStringList texts;
};

class FrameCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DestroyAppSettings();
        view = StartFrame(frame);
        frame.SetApplicationTarget(&app);
        app.OnCommand(ID_APP_ABOUT, &frame, [this] { appCalls.append(ID_APP_ABOUT); });
    }
    void TearDown() override { DestroyAppSettings(); }

    QMenu *topMenu(int index) const { return frame.menuBar()->actions().at(index)->menu(); }
    QToolBar *toolBar() const { return frame.findChild<QToolBar *>(); }
    QToolButton *toolButton(int id) const
    {
        const QList<QToolButton *> buttons = toolBar()->findChildren<QToolButton *>();
        for (QToolButton *button : buttons) {
            if (button->defaultAction() && button->defaultAction()->data().toInt() == id)
                return button;
        }
        return nullptr;
    }
    QAction *toolAction(int id) const { return toolButton(id)->defaultAction(); }

    TempProfile profile;
    CMainFrame frame;
    RecordingView *view = nullptr;
    CCommandTarget app;
    QList<int> appCalls;
};

const QString kSettings = u"Settings"_s;

int storedInt(const QString &name)
{
    return GetProfileInt(kSettings, name, -1);
}

const QRect kDefaultRect(0, 0, 760, 640);

class FramePlacementTest : public ::testing::Test
{
protected:
    void SetUp() override { DestroyAppSettings(); }
    void TearDown() override { DestroyAppSettings(); }

    static void keepPositions(const QString &position)
    {
        WriteProfileInt(kSettings, u"PreservedPos"_s, 1);
        WriteProfileString(kSettings, u"Position"_s, position);
    }
    // One run of the program's window: opened as start-up opens it, `during`
    // done with it, closed; the next run reads the settings afresh.
    static void run(const std::function<void(CMainFrame &)> &during)
    {
        DestroyAppSettings();
        CMainFrame frame;
        StartFrame(frame);
        during(frame);
        frame.close();
    }

    TempProfile profile;
};
} // namespace

TEST_F(FrameCommandsTest, MenusAndToolbarRunCommandsThroughTheRouterOnlyWhileEnabled)
{
    // Forward and About reach the view and the application from menu and
    // toolbar alike.
    view->Record({ID_GO_FORWARD});
    menuItem(topMenu(1), ID_GO_FORWARD)->trigger();
    QTest::mouseClick(toolButton(ID_GO_FORWARD), Qt::LeftButton);
    menuItem(topMenu(3), ID_APP_ABOUT)->trigger();
    EXPECT_EQ(view->calls, (QList<int>{ID_GO_FORWARD, ID_GO_FORWARD}));
    EXPECT_EQ(appCalls, QList<int>{ID_APP_ABOUT});

    // Back disabled by its handler, About answered by nobody: neither runs,
    // whichever way it is sent. The Font button part is the frame's own.
    view->Disable(ID_GO_BACK);
    UpdateAfter(frame, [this] { frame.SetApplicationTarget(nullptr); });
    EXPECT_FALSE(toolAction(ID_GO_BACK)->isEnabled());
    EXPECT_FALSE(toolAction(ID_APP_ABOUT)->isEnabled());
    EXPECT_TRUE(toolAction(ID_FONT_DROPDOWN)->isEnabled());
    QAction *back = menuItem(topMenu(1), ID_GO_BACK);
    EXPECT_FALSE(back->isEnabled());
    back->trigger();
    EXPECT_FALSE(frame.OnCommand(ID_GO_BACK));
    EXPECT_EQ(view->calls.size(), 2);

    // The frame's own: the two bars with their check marks, and exit.
    QMenu *viewMenu = topMenu(2);
    for (const auto &[id, bar] : {std::pair<int, QWidget *>{ID_VIEW_TOOLBAR, toolBar()},
                                  std::pair<int, QWidget *>{ID_VIEW_STATUS_BAR, frame.statusBar()}}) {
        EXPECT_TRUE(menuItem(viewMenu, id)->isChecked());
        menuItem(viewMenu, id)->trigger();
        EXPECT_TRUE(bar->isHidden());
        EXPECT_FALSE(menuItem(viewMenu, id)->isChecked());
        menuItem(viewMenu, id)->trigger();
        EXPECT_FALSE(bar->isHidden());
    }
    menuItem(topMenu(0), ID_APP_EXIT)->trigger();
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(FrameCommandsTest, StatusBarShowsTheViewsTextsAndPromptsAndHandsThemToThePlatform)
{
    StatusTextRecorder recorder;
    emit view->StatusTextChanged(u"Complete"_s);
    EXPECT_EQ(frame.GetMessageText(), u"Complete"_s);
    // A button's prompt while the pointer is on it, "Ready" when it goes.
    QStatusTipEvent prompt(CommandPrompt(ID_VIEW_STOP));
    QApplication::sendEvent(toolButton(ID_VIEW_STOP), &prompt);
    EXPECT_EQ(frame.GetMessageText(), u"Stops opening a file."_s);
    QStatusTipEvent gone{QString()};
    QApplication::sendEvent(toolBar(), &gone);
    EXPECT_EQ(frame.GetMessageText(), u"Ready"_s);
    EXPECT_EQ(recorder.texts, (QStringList{u"Complete"_s, u"Stops opening a file."_s, u"Ready"_s}));
}

TEST_F(FrameCommandsTest, ToolbarUpdatesOnStateChangesOnly)
{
    bool loading = false;
    view->Record({ID_GO_BACK});
    view->EnableWhile(ID_VIEW_STOP, [&loading] { return loading; });
    view->EnableWhile(ID_VIEW_REFRESH, [this] { return view->calls.isEmpty(); });
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    UpdateAfter(frame, [this] { emit view->CommandStateChanged(); });
    EXPECT_FALSE(toolAction(ID_VIEW_STOP)->isEnabled());

    // Changes in a row are taken in one pass, each state asked for once
    // per button: Stop and Refresh.
    view->updates = 0;
    UpdateAfter(frame, [this] {
        for (int i = 0; i < 3; ++i)
            emit view->CommandStateChanged();
    });
    EXPECT_EQ(view->updates, 2);

    // While the page shown loads the toolbar is asked again, so Stop goes
    // off soon after the load ends, with no notice from the view (whose
    // own tick is stopped).
    view->KillTimer(1);
    loading = true;
    UpdateAfter(frame, [this] { emit view->CommandStateChanged(); });
    EXPECT_TRUE(toolAction(ID_VIEW_STOP)->isEnabled());
    loading = false;
    EXPECT_TRUE(WaitUntil([this] { return !toolAction(ID_VIEW_STOP)->isEnabled(); }));

    // Running a command is a change of its own.
    EXPECT_TRUE(toolAction(ID_VIEW_REFRESH)->isEnabled());
    UpdateAfter(frame, [this] { QTest::mouseClick(toolButton(ID_GO_BACK), Qt::LeftButton); });
    EXPECT_EQ(view->calls, QList<int>{ID_GO_BACK});
    EXPECT_FALSE(toolAction(ID_VIEW_REFRESH)->isEnabled());
}

TEST_F(FramePlacementTest, WithoutKeptPositionsOpensAtTheDefaultRectangleAndWritesNothing)
{
    run([](CMainFrame &frame) {
        EXPECT_EQ(frame.geometry(), kDefaultRect);
        frame.showMaximized();
    });
    // Only the view's own value is written.
    EXPECT_EQ(profile.dump(), u"Settings/Extended=0"_s);

    // Switched off after a maximised close: still opens maximised, over the
    // default rectangle.
    WriteProfileString(kSettings, u"Position"_s, u"0100 0100 0500 0500"_s);
    WriteProfileInt(kSettings, u"max"_s, 1);
    const QString before = profile.dump();
    run([](CMainFrame &frame) {
        EXPECT_TRUE(frame.isMaximized());
        EXPECT_EQ(frame.normalGeometry(), kDefaultRect);
        frame.showNormal();
    });
    EXPECT_EQ(profile.dump(), before);
}

TEST_F(FramePlacementTest, MaximisedOrMinimisedFromMaximisedReopensMaximisedOverItsNormalRectangle)
{
    const QString position = u"-008 0010 0600 0500"_s;
    const QRect normal(-8, 10, 608, 490);
    keepPositions(position);
    run([&](CMainFrame &frame) {
        EXPECT_EQ(frame.geometry(), normal);
        frame.findChild<QToolBar *>()->hide();
        frame.statusBar()->hide();
        frame.showMaximized();
        ASSERT_TRUE(WaitUntil([&] { return frame.isMaximized(); }));
    });
    EXPECT_EQ(GetProfileString(kSettings, u"Position"_s), position);
    EXPECT_EQ(storedInt(u"max"_s), 1);
    run([&](CMainFrame &frame) {
        EXPECT_TRUE(frame.isMaximized());
        EXPECT_EQ(frame.normalGeometry(), normal);
        EXPECT_TRUE(frame.findChild<QToolBar *>()->isHidden() && frame.statusBar()->isHidden());
        frame.setWindowState(frame.windowState() | Qt::WindowMinimized);
        ASSERT_TRUE(WaitUntil([&] { return frame.isMinimized(); }));
    });
    EXPECT_EQ(GetProfileString(kSettings, u"Position"_s), position);
    EXPECT_EQ(storedInt(u"max"_s), 1);
    EXPECT_EQ(storedInt(u"icon"_s), 1);
    run([&](CMainFrame &frame) {
        EXPECT_TRUE(frame.isMinimized());
        frame.setWindowState(frame.windowState() & ~Qt::WindowMinimized);
        EXPECT_TRUE(frame.isMaximized());
        frame.showNormal();
        EXPECT_TRUE(WaitUntil([&] { return frame.geometry() == normal; })) << frame.geometry().x() << ',' << frame.geometry().y();
    });
}

TEST_F(FramePlacementTest, UnusableOrInvisiblePositionGivesAWindowOnTheScreen)
{
    // The test platform has two screens side by side: 800 x 600 (primary)
    // and 1024 x 768 to its right.
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    const QRect fallback = kDefaultRect;
    const std::pair<const char *, QRect> cases[] = {
        {"", fallback}, {"abc", fallback}, {"0123456789", fallback}, {"99999999999999999999 99999999999999999999", fallback},
        {"-2147483649 0000 0700 0500", fallback}, {"0500 0400 0100 0100", fallback}, // inverted
        {"1000 0100 1500 0500", QRect(1000, 100, 500, 400)},           // on the second screen
        {"1824 0100 2024 0300", QRect(corner, QSize(200, 200))},       // touching the last edge only
        {"3000 2000 3500 2400", QRect(corner, QSize(500, 400))},       // its monitor is gone
        {"-3000 0000 -100 0900", QRect(corner, QSize(800, 600))},      // gone and too large
    };
    for (const auto &[position, expected] : cases) {
        keepPositions(QString::fromLatin1(position));
        run([&](CMainFrame &frame) { EXPECT_EQ(frame.geometry(), expected) << position; });
        EXPECT_EQ(GetProfileString(kSettings, u"Position"_s), FormatFramePosition(expected)) << position;
    }
}

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "frame/DropDownToolButton.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "tests/frame/FrameTestSupport.h"
#include "tests/support/TestSupport.h"

namespace
{
// Commands that the view and the application answer.
const QList<int> kViewCommands = {ID_FILE_SAVE,    ID_FILE_PRINT,  ID_FILE_PRINT_PREVIEW, ID_GO_BACK,      ID_GO_FORWARD,
                                  ID_VIEW_STOP,    ID_VIEW_REFRESH, ID_INPUT_NEW_KEYWORD, ID_FONT_LARGEST, ID_FONT_LARGER,
                                  ID_FONT_MEDIUM,  ID_FONT_SMALLER, ID_FONT_SMALLEST};
const QList<int> kAppCommands = {ID_FILE_NEW,     ID_FILE_PRINT_SETUP, ID_HELP_HOMEPAGE,
                                 ID_HELP_SUPPORT, ID_HELP_MAKER,       ID_APP_ABOUT};

// Records the texts the status bar hands to the platform services.
class StatusTextRecorder final : public CPlatformServicesScope
{
public:
    void StatusTextShown(const QString &text) override { texts.append(text); }
    QStringList texts;
};

// The item of `menu` that runs command `id`, its state brought up to date.
QAction *menuItem(QMenu *menu, int id)
{
    emit menu->aboutToShow();
    const QList<QAction *> actions = menu->actions();
    auto it = std::find_if(actions.begin(), actions.end(), [id](QAction *a) { return a->data().toInt() == id; });
    return it == actions.end() ? nullptr : *it;
}

class FrameCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DestroyAppSettings();
        view = StartFrame(frame);
        frame.SetApplicationTarget(&app);
        for (int id : kAppCommands)
            app.OnCommand(id, &frame, [this, id] { appCalls.append(id); });
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
} // namespace

TEST_F(FrameCommandsTest, EveryMenuCommandReachesItsHandler)
{
    view->Record(kViewCommands);
    QList<int> sent;
    for (int i = 0; i < frame.menuBar()->actions().size(); ++i) {
        emit topMenu(i)->aboutToShow();
        const QList<QAction *> actions = topMenu(i)->actions();
        for (QAction *action : actions) {
            const int id = action->data().toInt();
            if (!action->isSeparator() && (kViewCommands.contains(id) || kAppCommands.contains(id))) {
                EXPECT_TRUE(action->isEnabled()) << id;
                action->trigger();
                sent.append(id);
            }
        }
    }
    QList<int> received = view->calls + appCalls;
    std::sort(sent.begin(), sent.end());
    std::sort(received.begin(), received.end());
    EXPECT_EQ(sent.size(), 13);
    EXPECT_EQ(received, sent);

    // An update handler that disables a handled command keeps it from running.
    view->calls.clear();
    view->Disable(ID_GO_BACK);
    QAction *back = menuItem(topMenu(1), ID_GO_BACK);
    EXPECT_FALSE(back->isEnabled());
    back->trigger();
    EXPECT_FALSE(frame.OnCommand(ID_GO_BACK));
    EXPECT_TRUE(view->calls.isEmpty());

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
    topMenu(0)->actions().last()->trigger();
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(FrameCommandsTest, ToolbarFollowsUpdateHandlersAndStatusBarShowsTexts)
{
    ASSERT_EQ(toolBar()->actions().size(), 10);

    // Back disabled by its handler, About answered by nobody; the Font
    // button part is the frame's own and stays enabled.
    view->Record({ID_GO_FORWARD});
    view->Disable(ID_GO_BACK);
    UpdateAfter(frame, [this] { frame.SetApplicationTarget(nullptr); });
    EXPECT_FALSE(toolAction(ID_GO_BACK)->isEnabled());
    EXPECT_FALSE(toolAction(ID_APP_ABOUT)->isEnabled());
    EXPECT_TRUE(toolAction(ID_FONT_DROPDOWN)->isEnabled());
    UpdateAfter(frame, [this] { frame.SetApplicationTarget(&app); });
    EXPECT_TRUE(toolAction(ID_APP_ABOUT)->isEnabled());
    QTest::mouseClick(toolButton(ID_GO_FORWARD), Qt::LeftButton);
    EXPECT_EQ(view->calls, QList<int>{ID_GO_FORWARD});

    // Pane 0: the view's texts, a button's prompt, "Ready" when it goes,
    // each handed to the platform services.
    StatusTextRecorder recorder;
    emit view->StatusTextChanged(QStringLiteral("Complete"));
    EXPECT_EQ(frame.GetMessageText(), QStringLiteral("Complete"));
    QStatusTipEvent prompt(CommandPrompt(ID_VIEW_STOP));
    QApplication::sendEvent(toolButton(ID_VIEW_STOP), &prompt);
    EXPECT_EQ(frame.GetMessageText(), QStringLiteral("Stops opening a file."));
    QStatusTipEvent gone{QString()};
    QApplication::sendEvent(toolBar(), &gone);
    EXPECT_EQ(frame.GetMessageText(), QStringLiteral("Ready"));
    EXPECT_EQ(recorder.texts, (QStringList{QStringLiteral("Complete"), QStringLiteral("Stops opening a file."),
                                           QStringLiteral("Ready")}));
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

    // The event loop blocking and waking again changes nothing.
    view->updates = 0;
    QTimer ticks;
    QSignalSpy ticked(&ticks, &QTimer::timeout);
    ticks.start(1);
    while (ticked.size() < 20)
        ASSERT_TRUE(ticked.wait(1000));
    ticks.stop();
    EXPECT_EQ(view->updates, 0);

    // Changes in a row are taken in one pass, each state asked for once
    // per button: Stop and Refresh.
    UpdateAfter(frame, [this] {
        for (int i = 0; i < 3; ++i)
            emit view->CommandStateChanged();
    });
    EXPECT_EQ(view->updates, 2);

    // While the page shown loads the toolbar is asked again, so Stop goes
    // off soon after the load ends, with no notice from the view.
    loading = true;
    UpdateAfter(frame, [this] { emit view->CommandStateChanged(); });
    EXPECT_TRUE(toolAction(ID_VIEW_STOP)->isEnabled());
    loading = false;
    QTRY_VERIFY_WITH_TIMEOUT(!toolAction(ID_VIEW_STOP)->isEnabled(), 5000);

    // Running a command is a change of its own.
    EXPECT_TRUE(toolAction(ID_VIEW_REFRESH)->isEnabled());
    UpdateAfter(frame, [this] { QTest::mouseClick(toolButton(ID_GO_BACK), Qt::LeftButton); });
    EXPECT_EQ(view->calls, QList<int>{ID_GO_BACK});
    EXPECT_FALSE(toolAction(ID_VIEW_REFRESH)->isEnabled());
}

TEST_F(FrameCommandsTest, ToolbarIconsFollowTheIconTheme)
{
    // A theme that has only the stop sign: Stop shows it, Back its drawing.
    const QStringList paths = QIcon::themeSearchPaths();
    const QString name = QIcon::themeName();
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("Plain/22x22/actions"));
    WriteTextFile(root.path() + QStringLiteral("/Plain/index.theme"),
                  QStringLiteral("[Icon Theme]\nName=Plain\nDirectories=22x22/actions\n\n"
                                 "[22x22/actions]\nSize=22\nType=Fixed\n"));
    QImage square(22, 22, QImage::Format_ARGB32);
    square.fill(Qt::red);
    ASSERT_TRUE(square.save(root.path() + QStringLiteral("/Plain/22x22/actions/process-stop.png")));
    QIcon::setThemeSearchPaths({root.path()});
    QIcon::setThemeName(QStringLiteral("Plain"));

    CMainFrame themed;
    StartFrame(themed);
    auto action = [&themed](int id) {
        const QList<QAction *> actions = themed.findChild<QToolBar *>()->actions();
        for (QAction *a : actions) {
            if (a->data().toInt() == id)
                return a;
        }
        return static_cast<QAction *>(nullptr);
    };
    EXPECT_EQ(action(ID_VIEW_STOP)->icon().name(), QStringLiteral("process-stop"));
    EXPECT_EQ(action(ID_VIEW_STOP)->icon().pixmap(QSize(22, 22)).toImage().pixel(11, 11), QColor(Qt::red).rgb());
    EXPECT_TRUE(action(ID_GO_BACK)->icon().name().isEmpty());
    EXPECT_FALSE(action(ID_GO_BACK)->icon().pixmap(QSize(22, 20)).isNull());
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(name);
}

TEST_F(FrameCommandsTest, FontArrowOpensFontMenuBelowButton)
{
    view->Record(kViewCommands);
    auto *button = frame.findChild<CDropDownToolButton *>();
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    // The button part opens nothing.
    const QRect arrow = button->ArrowRect();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(arrow.left() / 2, button->height() / 2));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    QTest::mousePress(button, Qt::LeftButton, {}, arrow.center());
    QMenu *menu = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 10000);
    EXPECT_EQ(menu->pos(), button->mapToGlobal(QPoint(0, button->height() + 1)));
    QAction *smaller = menuItem(menu, ID_FONT_SMALLER);
    ASSERT_NE(smaller, nullptr);
    EXPECT_EQ(menu->actions().size(), 5);

    smaller->trigger();
    menu->close();
    EXPECT_EQ(view->calls, QList<int>{ID_FONT_SMALLER});
}

TEST_F(FrameCommandsTest, ShortcutsReachTheirCommandsButLeaveTextFieldsTheirEditingKeys)
{
    const QList<int> ids = {ID_FILE_NEW,  ID_FILE_PRINT, ID_EDIT_CUT, ID_NEXT_PANE, ID_PREV_PANE,
                            ID_EDIT_COPY, ID_EDIT_PASTE, ID_GO_BACK,  ID_GO_FORWARD};
    UpdateAfter(frame, [&] {
        view->Record(ids);
        emit view->CommandStateChanged();
    });
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    for (const char *keys : {"Ctrl+N", "Ctrl+P", "Shift+Del", "F6", "Shift+F6", "Ctrl+Ins", "Shift+Ins", "Alt+Left",
                             "Alt+Right"})
        QTest::keySequence(&frame, QKeySequence(QString::fromLatin1(keys)));
    EXPECT_EQ(view->calls, ids);

    auto *edit = new QLineEdit(QStringLiteral("keyword"), view);
    edit->show();
    edit->setFocus();
    edit->selectAll();
    view->calls.clear();
    QTest::keyClick(edit, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(view->calls, QList<int>{ID_GO_BACK});
    EXPECT_TRUE(edit->text().isEmpty());
}

TEST_F(FrameCommandsTest, SettingOpensTheSettingsDialogModally)
{
    QString openedTitle;
    bool wasModal = false;
    QTimer::singleShot(0, &frame, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        openedTitle = dialog->windowTitle();
        wasModal = dialog->isModal();
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    });
    menuItem(topMenu(2), ID_VIEW_SETTING)->trigger();
    EXPECT_EQ(openedTitle, QStringLiteral("Settings"));
    EXPECT_TRUE(wasModal);
    // Cancel writes nothing.
    EXPECT_TRUE(profile.dump().isEmpty());
}

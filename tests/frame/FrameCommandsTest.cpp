#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include "frame/DropDownToolButton.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "tests/frame/FrameTestSupport.h"
#include "tests/support/TestSupport.h"

namespace
{
// Commands that the view and the application answer.
const QList<int> kViewCommands = {ID_FILE_SAVE,     ID_FILE_PRINT,      ID_FILE_PRINT_PREVIEW, ID_GO_BACK,
                                  ID_GO_FORWARD,    ID_VIEW_STOP,       ID_VIEW_REFRESH,       ID_INPUT_NEW_KEYWORD,
                                  ID_FONT_LARGEST,  ID_FONT_LARGER,     ID_FONT_MEDIUM,        ID_FONT_SMALLER,
                                  ID_FONT_SMALLEST};
const QList<int> kAppCommands = {ID_FILE_NEW,    ID_FILE_PRINT_SETUP, ID_HELP_HOMEPAGE,
                                 ID_HELP_SUPPORT, ID_HELP_MAKER,      ID_APP_ABOUT};

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

    QAction *toolAction(int id) const
    {
        // The command behind each position (the Font position holds a button
        // of its own).
        const QList<QAction *> actions = toolBar()->actions();
        for (QAction *action : actions) {
            const auto *button = qobject_cast<QToolButton *>(toolBar()->widgetForAction(action));
            if (button && button->defaultAction() && button->defaultAction()->data().toInt() == id)
                return button->defaultAction();
        }
        return nullptr;
    }

    CDropDownToolButton *fontButton() const { return frame.findChild<CDropDownToolButton *>(); }

    void activate()
    {
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }

    TempProfile profile;
    RecordingFrame frame;
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
        QMenu *menu = topMenu(i);
        emit menu->aboutToShow();
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            const int id = action->data().toInt();
            if (action->isSeparator() || !(kViewCommands.contains(id) || kAppCommands.contains(id)))
                continue;
            EXPECT_TRUE(action->isEnabled()) << id;
            action->trigger();
            sent.append(id);
        }
    }
    QList<int> received = view->calls + appCalls;
    std::sort(sent.begin(), sent.end());
    std::sort(received.begin(), received.end());
    EXPECT_EQ(received, sent);
    EXPECT_EQ(sent.size(), 13);

    // The frame's own: settings, the two bars, exit.
    QMenu *viewMenu = topMenu(2);
    auto item = [viewMenu](int id) {
        const QList<QAction *> actions = viewMenu->actions();
        return *std::find_if(actions.begin(), actions.end(), [id](QAction *a) { return a->data().toInt() == id; });
    };
    item(ID_VIEW_SETTING)->trigger();
    EXPECT_EQ(frame.settingCalls, 1);

    emit viewMenu->aboutToShow();
    EXPECT_TRUE(item(ID_VIEW_TOOLBAR)->isChecked());
    item(ID_VIEW_TOOLBAR)->trigger();
    item(ID_VIEW_STATUS_BAR)->trigger();
    EXPECT_TRUE(toolBar()->isHidden());
    EXPECT_TRUE(frame.statusBar()->isHidden());
    emit viewMenu->aboutToShow();
    EXPECT_FALSE(item(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_FALSE(item(ID_VIEW_STATUS_BAR)->isChecked());
    item(ID_VIEW_TOOLBAR)->trigger();
    emit viewMenu->aboutToShow();
    EXPECT_TRUE(item(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_FALSE(toolBar()->isHidden());

    topMenu(0)->actions().last()->trigger();
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(FrameCommandsTest, RoutingAsksFrameThenViewThenApplication)
{
    // The view answers before the application.
    view->Record({ID_APP_ABOUT});
    EXPECT_TRUE(frame.OnCommand(ID_APP_ABOUT));
    EXPECT_EQ(view->calls, QList<int>{ID_APP_ABOUT});
    EXPECT_TRUE(appCalls.isEmpty());

    // Without a view the application answers.
    frame.SetView(nullptr);
    EXPECT_TRUE(frame.OnCommand(ID_APP_ABOUT));
    EXPECT_EQ(appCalls, QList<int>{ID_APP_ABOUT});
    frame.SetView(view);

    // A command nobody handles is disabled and not run, from the menu or
    // otherwise.
    EXPECT_FALSE(frame.OnCommand(ID_NEXT_PANE));
    const CCommandTarget nobody;
    frame.SetApplicationTarget(&nobody);
    QMenu *help = topMenu(3);
    emit help->aboutToShow();
    EXPECT_FALSE(help->actions().at(0)->isEnabled());
    help->actions().at(0)->trigger();
    EXPECT_FALSE(frame.OnCommand(ID_HELP_HOMEPAGE));
    frame.SetApplicationTarget(&app);
    emit help->aboutToShow();
    EXPECT_TRUE(help->actions().at(0)->isEnabled());
    EXPECT_EQ(appCalls, QList<int>{ID_APP_ABOUT});

    // One whose update handler says so is disabled and not run, though
    // handled; its neighbour, handled by the view, stays enabled.
    view->Record({ID_GO_BACK, ID_GO_FORWARD});
    view->Disable(ID_GO_BACK);
    QMenu *go = topMenu(1);
    emit go->aboutToShow();
    EXPECT_FALSE(go->actions().at(0)->isEnabled());
    EXPECT_TRUE(go->actions().at(1)->isEnabled());
    go->actions().at(0)->trigger();
    EXPECT_FALSE(frame.OnCommand(ID_GO_BACK));
    EXPECT_EQ(view->calls, QList<int>{ID_APP_ABOUT});
    go->actions().at(1)->trigger();
    EXPECT_EQ(view->calls, (QList<int>{ID_APP_ABOUT, ID_GO_FORWARD}));
}

TEST_F(FrameCommandsTest, ToolbarButtonsFollowUpdateHandlersWhenIdle)
{
    const QList<QAction *> actions = toolBar()->actions();
    ASSERT_EQ(actions.size(), 10);
    EXPECT_TRUE(actions.at(1)->isSeparator());
    EXPECT_TRUE(actions.at(7)->isSeparator());
    const int ids[] = {ID_INPUT_NEW_KEYWORD, ID_GO_BACK, ID_GO_FORWARD, ID_VIEW_STOP, ID_VIEW_REFRESH,
                       ID_FONT_DROPDOWN,     ID_VIEW_SETTING, ID_APP_ABOUT};
    int i = 0;
    for (QAction *position : actions) {
        if (position->isSeparator())
            continue;
        auto *button = qobject_cast<QToolButton *>(toolBar()->widgetForAction(position));
        ASSERT_TRUE(button && button->defaultAction());
        EXPECT_EQ(button->defaultAction()->data().toInt(), ids[i++]);
        EXPECT_FALSE(button->defaultAction()->icon().isNull());
        EXPECT_GE(button->width(), 50);
        EXPECT_LE(button->width(), 150);
    }
    EXPECT_TRUE(toolBar()->isMovable());
    EXPECT_FALSE(toolBar()->isFloatable());

    // Back's update handler turns it off and nothing answers About; the Font
    // button part is the frame's own.
    view->Disable(ID_GO_BACK);
    frame.SetApplicationTarget(nullptr);
    RunUntilIdle();
    EXPECT_FALSE(toolAction(ID_GO_BACK)->isEnabled());
    EXPECT_FALSE(toolAction(ID_APP_ABOUT)->isEnabled());
    EXPECT_TRUE(toolAction(ID_FONT_DROPDOWN)->isEnabled());

    // The buttons follow as the handlers change, without any other event.
    frame.SetApplicationTarget(&app);
    view->Record({ID_GO_BACK, ID_GO_FORWARD});
    view->Disable(ID_GO_FORWARD);
    RunUntilIdle();
    EXPECT_TRUE(toolAction(ID_GO_BACK)->isEnabled());
    EXPECT_FALSE(toolAction(ID_GO_FORWARD)->isEnabled());
    EXPECT_TRUE(toolAction(ID_APP_ABOUT)->isEnabled());

    QWidget *back = toolBar()->widgetForAction(toolAction(ID_GO_BACK));
    ASSERT_NE(back, nullptr);
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(view->calls, QList<int>{ID_GO_BACK});
}

TEST_F(FrameCommandsTest, FontArrowOpensFontMenuBelowButton)
{
    view->Record(kViewCommands);
    CDropDownToolButton *button = fontButton();
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    // The button part runs its command, which does nothing and opens nothing.
    const QRect arrow = button->ArrowRect();
    ASSERT_TRUE(arrow.isValid());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(arrow.left() / 2, button->height() / 2));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(button->isEnabled());

    QTest::mousePress(button, Qt::LeftButton, {}, arrow.center());
    QMenu *menu = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 10000);
    EXPECT_EQ(menu->pos(), button->mapToGlobal(QPoint(0, button->height() + 1)));
    QStringList items;
    const QList<QAction *> actions = menu->actions();
    for (const QAction *action : actions)
        items.append(action->text() + u'=' + QString::number(action->data().toInt()) + u'=' + action->statusTip());
    EXPECT_EQ(items, (QStringList{u"Lar&gest=32782=Selects largest font size."_qs,
                                  u"&Larger=32783=Selects large font size."_qs,
                                  u"&Medium=32786=Selects medium font size."_qs,
                                  u"&Smaller=32803=Selects small font size."_qs,
                                  u"Sm&allest=32804=Selects smallest font size."_qs}));

    // Choosing an item reaches the view; the menu goes away with its popup.
    QPointer<QMenu> watched(menu);
    menu->actions().at(3)->trigger();
    menu->close();
    EXPECT_EQ(view->calls, QList<int>{ID_FONT_SMALLER});
    QTRY_VERIFY_WITH_TIMEOUT(watched.isNull(), 10000);
}

TEST_F(FrameCommandsTest, ShortcutsReachTheirCommands)
{
    const QList<int> ids = {ID_FILE_NEW, ID_FILE_PRINT, ID_EDIT_CUT, ID_NEXT_PANE, ID_PREV_PANE,
                            ID_EDIT_COPY, ID_EDIT_PASTE, ID_GO_BACK, ID_GO_FORWARD};
    view->Record(ids);
    RunUntilIdle();
    activate();
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(&frame, Qt::Key_F6);
    QTest::keyClick(&frame, Qt::Key_F6, Qt::ShiftModifier);
    QTest::keyClick(&frame, Qt::Key_Insert, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(&frame, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(&frame, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(view->calls, ids);

    // A text field keeps its own editing keys.
    auto *edit = new QLineEdit(view);
    edit->setText(QStringLiteral("keyword"));
    edit->show();
    edit->setFocus();
    edit->selectAll();
    view->calls.clear();
    QTest::keyClick(edit, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(view->calls, QList<int>{ID_GO_BACK});
    EXPECT_TRUE(edit->text().isEmpty());

    // A disabled command lets its key go on to the window.
    view->Disable(ID_FILE_NEW);
    RunUntilIdle();
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(view->calls, QList<int>{ID_GO_BACK});
}

TEST_F(FrameCommandsTest, StatusBarShowsReadyPromptsAndViewTexts)
{
    // Pane 0 says "Ready" as soon as the bars exist, before any view speaks.
    {
        RecordingFrame bare;
        ASSERT_TRUE(bare.LoadFrame());
        EXPECT_EQ(bare.GetMessageText(), QStringLiteral("Ready"));
    }

    // Then whatever the view reports, each time it reports it.
    frame.resize(frame.width() - 40, frame.height() - 30);
    QTRY_COMPARE_WITH_TIMEOUT(frame.GetMessageText(), view->StatusText(), 10000);
    EXPECT_FALSE(view->StatusText().isEmpty());
    emit view->StatusTextChanged(QStringLiteral("Complete"));
    EXPECT_EQ(frame.GetMessageText(), QStringLiteral("Complete"));

    QStatusTipEvent prompt(CommandPrompt(ID_VIEW_STOP));
    QApplication::sendEvent(toolBar()->widgetForAction(toolAction(ID_VIEW_STOP)), &prompt);
    EXPECT_EQ(frame.GetMessageText(), QStringLiteral("Stops opening a file."));
    QStatusTipEvent gone{QString()};
    QApplication::sendEvent(toolBar(), &gone);
    EXPECT_EQ(frame.GetMessageText(), QStringLiteral("Ready"));

    // Lock-key indicators; this headless platform cannot tell their state.
    QStringList indicators;
    const QList<QLabel *> labels = frame.statusBar()->findChildren<QLabel *>();
    for (const QLabel *label : labels) {
        indicators.append(label->text());
        EXPECT_FALSE(label->isEnabled());
    }
    EXPECT_EQ(indicators, (QStringList{u"CAP"_qs, u"NUM"_qs, u"SCRL"_qs}));
}

TEST_F(FrameCommandsTest, BarsShownAreKeptWithPositions)
{
    WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PreservedPos"), 1);
    frame.close();
    // The settings of this run were read at its start: keep positions now.
    GetAppSettings()->m_bPreservedPos = 1;
    RecordingFrame second;
    StartFrame(second);
    second.findChild<QToolBar *>()->hide();
    second.statusBar()->hide();
    second.close();

    DestroyAppSettings();
    RecordingFrame third;
    StartFrame(third);
    EXPECT_TRUE(third.findChild<QToolBar *>()->isHidden());
    EXPECT_TRUE(third.statusBar()->isHidden());
    EXPECT_FALSE(third.menuBar()->isHidden());
}

TEST(FrameSettingsCommand, OpensTheSettingsDialogModally)
{
    TempProfile profile;
    DestroyAppSettings();
    CMainFrame frame;
    StartFrame(frame);

    QString openedTitle;
    bool wasModal = false;
    QTimer::singleShot(0, &frame, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        openedTitle = dialog->windowTitle();
        wasModal = dialog->isModal();
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    });
    EXPECT_TRUE(frame.Router().Execute(ID_VIEW_SETTING));
    EXPECT_EQ(openedTitle, QStringLiteral("Settings"));
    EXPECT_TRUE(wasModal);
    // Cancel writes nothing.
    EXPECT_TRUE(profile.dump().isEmpty());
    DestroyAppSettings();
}

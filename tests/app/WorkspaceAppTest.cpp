#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "app/QuaerioApp.h"
#include "browsers/ResultBrowser.h"
#include "frame/MainFrame.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"
#include "tests/app/WorkspaceAppSupport.h"
#include "workspace/AnimateCtrl.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/QuaerioView.h"

namespace
{
const QString kSettings = QStringLiteral("Settings");

template <typename T>
T *Control(const QWidget *view, int id)
{
    return view->findChild<T *>(QString::number(id));
}

bool WaitFor(const std::function<bool()> &predicate, int ms = 10000)
{
    return WaitUntil(predicate, ms);
}

class WorkspaceAppTest : public ::testing::Test
{
protected:
    ProgramHarness program;
};
} // namespace

TEST_F(WorkspaceAppTest, FreshStartShowsTheFirstCategoryAndCompletes)
{
    CQuaerioApp *app = program.Start();
    ASSERT_NE(app, nullptr);
    CMainFrame *frame = app->GetMainFrame();
    CQuaerioView *view = app->GetView();
    ASSERT_TRUE(frame && view);
    EXPECT_EQ(frame->centralWidget(), view);

    EXPECT_EQ(Control<QComboBox>(view, IDC_CBO_LANGUAGE)->currentText(), QStringLiteral("English"));
    EXPECT_EQ(Control<QComboBox>(view, IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Web"));
    EXPECT_TRUE(Control<QTableWidget>(view, IDC_LST_ENGINES)->isHidden());
    EXPECT_EQ(Control<QTabBar>(view, IDC_TAB_ENGINES)->count(), 5);
    EXPECT_EQ(program.browsers.Control(0)->Navigations(), QStringList({ProgramHarness::FirstShowPath()}));

    // While the first-show page loads, the toolbar's Stop acts on it.
    EXPECT_TRUE(frame->Router().Update(ID_VIEW_STOP).m_bEnabled);
    program.browsers.Control(0)->FinishNavigation();
    EXPECT_FALSE(frame->Router().Update(ID_VIEW_STOP).m_bEnabled);

    // Once it has loaded, the status bar reads "Complete" within one period.
    ASSERT_TRUE(WaitFor([&] { return frame->GetMessageText() == QStringLiteral("Complete"); }, 5000));
    EXPECT_FALSE(Control<QPushButton>(view, IDC_BTN_STOP)->isEnabled());
    EXPECT_TRUE(program.boxes.texts().isEmpty());
}

TEST_F(WorkspaceAppTest, SearchFromTheFormRunsAndCompletesInTheStatusBar)
{
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 1);
    WriteProfileInt(kSettings, QStringLiteral("KeywordsHisCount"), 16);
    CQuaerioApp *app = program.Start();
    ASSERT_NE(app, nullptr);
    CMainFrame *frame = app->GetMainFrame();
    CQuaerioView *view = app->GetView();
    auto *keywords = Control<CHistoryComboBox>(view, IDC_CBO_KEYWORDS);
    program.browsers.ClearLog();

    keywords->lineEdit()->clear();
    QTest::keyClicks(keywords, QStringLiteral("  blue whale "));
    QTest::mouseClick(Control<QPushButton>(view, IDC_BTN_SEARCH), Qt::LeftButton);
    EXPECT_EQ(frame->GetMessageText(), QStringLiteral("Searching blue whale"));
    EXPECT_FALSE(Control<QComboBox>(view, IDC_CBO_LANGUAGE)->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(view, IDC_BTN_STOP)->isEnabled());
    EXPECT_FALSE(frame->Router().Update(ID_INPUT_NEW_KEYWORD).m_bEnabled);

    ASSERT_TRUE(WaitFor([&] { return program.browsers.NavigationLog().size() == 10; }));
    for (int i = 0; i < 5; ++i) {
        const QStringList urls = program.browsers.Control(i)->Navigations();
        EXPECT_EQ(urls.last(), QStringLiteral("http://127.0.0.1:9/e%1?q=blue whale").arg(i));
    }
    EXPECT_EQ(GetProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1")), QStringLiteral("blue whale"));

    // One tick after the last page goes idle, the form is usable again.
    for (int i = 0; i < 4; ++i)
        program.browsers.Control(i)->FinishNavigation();
    view->OnTimer(1);
    EXPECT_EQ(frame->GetMessageText(), QStringLiteral("Searching blue whale"));
    program.browsers.Control(4)->FinishNavigation();
    ASSERT_TRUE(WaitFor([&] { return frame->GetMessageText() == QStringLiteral("Complete"); }, 5000));
    EXPECT_TRUE(Control<QComboBox>(view, IDC_CBO_LANGUAGE)->isEnabled());
    EXPECT_FALSE(view->AnimateCtrl()->IsPlaying());
    EXPECT_TRUE(frame->Router().Update(ID_INPUT_NEW_KEYWORD).m_bEnabled);

    // Choosing a tab shows that engine's page and its address.
    Control<QTabBar>(view, IDC_TAB_ENGINES)->setCurrentIndex(3);
    EXPECT_EQ(frame->GetMessageText(), QStringLiteral("http://127.0.0.1:9/e3?q=blue whale"));
}

TEST_F(WorkspaceAppTest, FrameCommandsReachThePageShownAndTheKeywordBox)
{
    CQuaerioApp *app = program.Start();
    ASSERT_NE(app, nullptr);
    CMainFrame *frame = app->GetMainFrame();
    CQuaerioView *view = app->GetView();
    Control<QTabBar>(view, IDC_TAB_ENGINES)->setCurrentIndex(2);
    CRecordingBrowserControl *page = program.browsers.Control(2);
    page->ClearCalls();
    program.browsers.ClearLog();

    for (int id : {ID_GO_BACK, ID_GO_FORWARD, ID_VIEW_REFRESH, ID_FONT_LARGEST, ID_FONT_LARGER, ID_FONT_MEDIUM,
                   ID_FONT_SMALLER, ID_FONT_SMALLEST, ID_FILE_SAVE})
        EXPECT_TRUE(frame->OnCommand(id)) << id;
    EXPECT_EQ(page->Calls(), QStringList({QStringLiteral("GoBack"), QStringLiteral("GoForward"),
                                          QStringLiteral("Refresh"), QStringLiteral("SetZoomLevel 4"),
                                          QStringLiteral("SetZoomLevel 3"), QStringLiteral("SetZoomLevel 2"),
                                          QStringLiteral("SetZoomLevel 1"), QStringLiteral("SetZoomLevel 0")}));
    // No other page was touched.
    for (const QString &line : program.browsers.Log())
        EXPECT_TRUE(line.startsWith(u"2: ")) << line.toStdString();

    // Stop is refused while the page shown is idle, and stops it when busy.
    EXPECT_FALSE(frame->OnCommand(ID_VIEW_STOP));
    page->SetBusy(true);
    EXPECT_TRUE(frame->OnCommand(ID_VIEW_STOP));
    EXPECT_FALSE(page->Busy());

    EXPECT_TRUE(frame->OnCommand(ID_INPUT_NEW_KEYWORD));
    EXPECT_EQ(Control<CHistoryComboBox>(view, IDC_CBO_KEYWORDS)->currentText(),
              QStringLiteral("Please input new keywords ..."));
}

TEST_F(WorkspaceAppTest, DefaultChoiceAndLayoutSurviveARestart)
{
    {
        CQuaerioApp *app = program.Start();
        ASSERT_NE(app, nullptr);
        CQuaerioView *view = app->GetView();
        auto *language = Control<QComboBox>(view, IDC_CBO_LANGUAGE);
        language->setCurrentIndex(1);
        emit language->activated(1);
        QTest::mouseClick(Control<QPushButton>(view, IDC_BTN_DEFAULT), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>(view, IDC_BTN_EXTEND), Qt::LeftButton);
        // Changed again without "&Default": not remembered.
        language->setCurrentIndex(0);
        emit language->activated(0);
        program.Stop();
    }
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("Extended"), -1), 1);

    CQuaerioApp *app = program.Start();
    ASSERT_NE(app, nullptr);
    CQuaerioView *view = app->GetView();
    EXPECT_EQ(Control<QComboBox>(view, IDC_CBO_LANGUAGE)->currentText(), QStringLiteral("Deutsch"));
    EXPECT_EQ(Control<QComboBox>(view, IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Netz"));
    EXPECT_EQ(Control<QTabBar>(view, IDC_TAB_ENGINES)->count(), 2);
    EXPECT_FALSE(Control<QTableWidget>(view, IDC_LST_ENGINES)->isHidden());
}

TEST_F(WorkspaceAppTest, NewSearchShrinksALargeWindowAndRebuildsNothingTwice)
{
    CQuaerioApp *app = program.Start();
    ASSERT_NE(app, nullptr);
    CMainFrame *frame = app->GetMainFrame();
    CQuaerioView *view = app->GetView();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    frame->resize(1300, 900);
    ASSERT_TRUE(WaitFor([&] { return view->width() > CQuaerioView::FormSize().width(); }));
    const QSize frameBefore = frame->size();

    app->OnFileNew();
    const QSize form = CQuaerioView::FormSize();
    ASSERT_TRUE(WaitFor([&] { return view->width() <= form.width() && view->height() <= form.height(); }));
    EXPECT_LT(frame->width(), frameBefore.width());
    EXPECT_LT(frame->height(), frameBefore.height());
    // The frame's bars may keep the window wider than the form, never narrower.
    EXPECT_EQ(view->height(), form.height());

    EXPECT_EQ(Control<QComboBox>(view, IDC_CBO_LANGUAGE)->count(), 2);
    EXPECT_EQ(Control<QTableWidget>(view, IDC_LST_ENGINES)->columnCount(), 3);
    EXPECT_EQ(Control<QTableWidget>(view, IDC_LST_ENGINES)->rowCount(), 5);
    EXPECT_EQ(view->findChildren<CAnimateCtrl *>().size(), 1);
    EXPECT_EQ(program.browsers.CreatedCount(), 5);
    EXPECT_TRUE(view->IsTimerActive());

    // A small window keeps its size.
    frame->resize(400, 300);
    ASSERT_TRUE(WaitFor([&] { return frame->size() == QSize(400, 300) || frame->size() == frame->minimumSizeHint(); }));
    const QSize small = frame->size();
    app->OnFileNew();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->size(), small);
}

TEST_F(WorkspaceAppTest, ClosingTheWindowStopsTheMonitorAndStoresTheLayout)
{
    CQuaerioApp *app = program.Start();
    ASSERT_NE(app, nullptr);
    CQuaerioView *view = app->GetView();
    EXPECT_TRUE(view->IsTimerActive());
    EXPECT_TRUE(view->AnimateCtrl()->IsOpen());
    app->GetMainFrame()->close();
    EXPECT_FALSE(view->IsTimerActive());
    EXPECT_FALSE(view->AnimateCtrl()->IsOpen());
    program.Stop();
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("Extended"), -1), 0);
}

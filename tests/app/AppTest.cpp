#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/FirstPaint.h"
#include "app/QuaerioApp.h"
#include "app/SearchRequest.h"
#include "catalogue/CatalogFile.h"
#include "enginemanager/CatalogTree.h"
#include "frame/MainFrame.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"
#include "workspace/AnimateCtrl.h"
#include "workspace/QuaerioView.h"
#include "workspace/SearchRun.h"

namespace
{
// Runs `step` on the next modal dialog that opens over the one active now.
void WhenDialogOpens(const std::function<void(QWidget *)> &step)
{
    const QWidget *before = QApplication::activeModalWidget();
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, before, step] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || dialog == before || !dialog->isActiveWindow())
            return;
        poll->deleteLater();
        poll->stop();
        step(dialog);
    });
    poll->start(10);
}

// Chooses View > `letter` by the keyboard in the active main window.
void ChooseFromViewMenu(QWidget *frame, Qt::Key letter)
{
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_V, Qt::AltModifier);
    QTest::keyClick(QApplication::activePopupWidget(), letter);
}

// The whole program in this process, its catalogue beside the test program.
class AppTest : public ::testing::Test
{
protected:
    AppTest() { browsers.Install(); }
    ~AppTest() override { Stop(); }

    // Starts a new run of the program; false if it failed.
    bool Start()
    {
        Stop();
        app = std::make_unique<CQuaerioApp>();
        if (!app->InitInstance())
            return false;
        frame = app->GetMainFrame();
        view = app->GetView();
        return frame && view;
    }
    // Ends the run: the frame closes and is destroyed, then the program.
    void Stop()
    {
        if (frame)
            frame->close();
        app.reset();
        frame = nullptr;
        view = nullptr;
    }
    QString Current(int id) const { return Ctl<QComboBox>(view, id)->currentText(); }
    // The pages' query navigations, sorted, once there are `count`.
    QStringList Queries(int count) const
    {
        QStringList log;
        WaitUntil([&] { return (log = browsers.NavigationLog().filter(QStringLiteral("?q="))).size() >= count; });
        log.sort();
        return log;
    }
    void Search(const QString &keywords)
    {
        Ctl<QComboBox>(view, IDC_CBO_KEYWORDS)->setEditText(keywords);
        view->OnSearch();
    }

    TempProfile profile;
    MessageBoxRecorder boxes;
    CRecordingBrowserFactory browsers;
    BesideProgram files{
        CatalogueText(QStringLiteral("English/Web=E0 E1 E2 E3 E4;English/News=N0;Deutsch/Netz=D0 D1;Deutsch/Nachrichten=N0"))};
    std::unique_ptr<CQuaerioApp> app;
    CMainFrame *frame = nullptr;
    CQuaerioView *view = nullptr;
};
} // namespace

TEST_F(AppTest, FrameCommandsActOnThePageShownWhenEnabled)
{
    ASSERT_TRUE(Start());
    Ctl<QTabBar>(view, IDC_TAB_ENGINES)->setCurrentIndex(2);
    CRecordingBrowserControl *page = browsers.Control(2);
    page->ClearCalls();
    browsers.ClearLog();
    for (int id : {ID_GO_BACK, ID_GO_FORWARD, ID_VIEW_REFRESH, ID_FONT_LARGEST, ID_FONT_SMALLEST, ID_FILE_SAVE})
        EXPECT_TRUE(frame->Router().Update(id).m_bEnabled && frame->OnCommand(id)) << id;
    EXPECT_EQ(page->Calls(), QStringLiteral("GoBack,GoForward,Refresh,SetZoomLevel 4,SetZoomLevel 0").split(u','));
    EXPECT_EQ(browsers.Log().filter(QStringLiteral("2: ")), browsers.Log());

    // Stop follows the page shown only: refused while it is idle, stops it when busy.
    browsers.Control(0)->SetBusy(true);
    EXPECT_FALSE(frame->Router().Update(ID_VIEW_STOP).m_bEnabled || frame->OnCommand(ID_VIEW_STOP));
    page->SetBusy(true);
    EXPECT_TRUE(frame->Router().Update(ID_VIEW_STOP).m_bEnabled && frame->OnCommand(ID_VIEW_STOP));
    EXPECT_FALSE(page->Busy());

    // New keywords are refused while searching; afterwards they prepare the box.
    Search(QStringLiteral("fig"));
    EXPECT_FALSE(frame->Router().Update(ID_INPUT_NEW_KEYWORD).m_bEnabled);
    view->OnStop();
    EXPECT_TRUE(frame->OnCommand(ID_INPUT_NEW_KEYWORD));
    EXPECT_EQ(Current(IDC_CBO_KEYWORDS), QStringLiteral("Please input new keywords ..."));
}

TEST_F(AppTest, DefaultChoiceLayoutAndTicksSurviveARestart)
{
    ASSERT_TRUE(Start());
    Choose(Ctl<QComboBox>(view, IDC_CBO_LANGUAGE), 1);
    Click(Ctl(view, IDC_BTN_DEFAULT));
    Click(Ctl(view, IDC_BTN_EXTEND));
    Ctl<QTableWidget>(view, IDC_LST_ENGINES)->item(1, 0)->setCheckState(Qt::Unchecked);
    // Changed again without "&Default": not remembered.
    Choose(Ctl<QComboBox>(view, IDC_CBO_LANGUAGE), 0);
    // Closing the window stops timer 1 and the animation.
    frame->close();
    EXPECT_FALSE(view->SearchRun().IsMonitorActive() || view->AnimateCtrl()->IsOpen());

    ASSERT_TRUE(Start());
    EXPECT_EQ(Current(IDC_CBO_LANGUAGE), QStringLiteral("Deutsch"));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("Netz"));
    auto *list = Ctl<QTableWidget>(view, IDC_LST_ENGINES);
    EXPECT_FALSE(list->isHidden());
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Unchecked);
    Search(QStringLiteral("fig"));
    EXPECT_EQ(Queries(1), QStringList{QStringLiteral("0: Navigate http://127.0.0.1:9/D0?q=fig")});
    EXPECT_TRUE(boxes.texts().isEmpty());
}

// The run keeps one printer for all three.
TEST_F(AppTest, PrintSetupChoicesApplyToPrintAndPrintPreview)
{
    ASSERT_TRUE(Start());
    QList<QPageLayout> seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (qobject_cast<QPageSetupDialog *>(modal)) {
            modal->findChild<QRadioButton *>(QStringLiteral("landscape"))->click();
            auto *sizes = modal->findChild<QComboBox *>(QStringLiteral("pageSizeCombo"));
            sizes->setCurrentIndex(sizes->findText(QStringLiteral("A5")));
            modal->accept();
        } else if (modal) {
            if (auto *print = qobject_cast<QPrintDialog *>(modal))
                seen.append(print->printer()->pageLayout());
            else if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal))
                seen.append(preview->printer()->pageLayout());
            modal->reject();
        }
    });
    poll.start(20);
    for (int id : {ID_FILE_PRINT_SETUP, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW})
        EXPECT_TRUE(frame->OnCommand(id)) << id;
    ASSERT_EQ(seen.size(), 2);
    for (const QPageLayout &layout : seen)
        EXPECT_EQ(std::pair(layout.orientation(), layout.pageSize().id()), std::pair(QPageLayout::Landscape, QPageSize::A5));
}

TEST_F(AppTest, ARequestChoosesByNameAndSearchesAsTheFormDoes)
{
    ASSERT_TRUE(Start());
    // The search reads the settings afresh: keep the keyword history.
    WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PreservedKeywords"), 1);
    app->Search({QStringLiteral("deutsch"), QStringLiteral("NETZ"), QStringLiteral("  two words ")});
    EXPECT_EQ(Current(IDC_CBO_LANGUAGE), QStringLiteral("Deutsch"));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("Netz"));
    EXPECT_EQ(frame->GetMessageText(), QStringLiteral("Searching two words"));
    EXPECT_EQ(Queries(2), QStringList({QStringLiteral("0: Navigate http://127.0.0.1:9/D0?q=two words"),
                                       QStringLiteral("1: Navigate http://127.0.0.1:9/D1?q=two words")}));
    EXPECT_EQ(GetProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1")), QStringLiteral("two words"));
    // Choosing is not storing: the start-up choice stays as it was.
    EXPECT_EQ(GetProfileInt(QStringLiteral("Settings"), QStringLiteral("CurLanguageIndex"), -1), -1);

    // A category alone is looked for in the language shown, then in catalogue order.
    view->OnStop();
    app->Search({QString(), QStringLiteral("nachrichten"), QString()});
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("Nachrichten"));
    EXPECT_FALSE(view->SearchRun().IsSearching()) << "no keywords, no search";
    app->Search({QString(), QStringLiteral("News"), QStringLiteral("x")});
    EXPECT_EQ(Current(IDC_CBO_LANGUAGE), QStringLiteral("English"));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("News"));
    // A running search makes way for the next request.
    ASSERT_TRUE(view->SearchRun().IsSearching());
    ASSERT_TRUE(ApplySearchRequest(*view, *GetCatalogFile(), {QString(), QStringLiteral("web"), QStringLiteral("second")}));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("Web"));
    EXPECT_EQ(frame->GetMessageText(), QStringLiteral("Searching second"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(AppTest, UnknownNamesOrAnOpenDialogLeaveTheFormAsItWas)
{
    ASSERT_TRUE(Start());
    const CCatalogFile &catalog = *GetCatalogFile();
    const SRequestOutcome unknown = app->Search({QStringLiteral("Klingon"), QString(), QStringLiteral("x")});
    EXPECT_EQ(unknown.eState, SRequestOutcome::EState::Refused);
    EXPECT_TRUE(unknown.strReason.startsWith(u"unknown language \"Klingon\"")) << qPrintable(unknown.strReason);
    EXPECT_FALSE(ApplySearchRequest(*view, catalog, {QStringLiteral("English"), QStringLiteral("Netz"), QStringLiteral("x")}));
    EXPECT_NE(CheckRequestNames(catalog, {QString(), QStringLiteral("Sport"), QString()}), QString());
    EXPECT_EQ(CheckRequestNames(catalog, {QString(), QStringLiteral("netz"), QString()}), QString());
    {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        EXPECT_EQ(app->Search({QString(), QString(), QStringLiteral("x")}).eState, SRequestOutcome::EState::NotNow);
    }
    EXPECT_FALSE(view->SearchRun().IsSearching());
    EXPECT_EQ(Current(IDC_CBO_LANGUAGE), QStringLiteral("English"));
    EXPECT_EQ(Current(IDC_CBO_CATEGORY), QStringLiteral("Web"));
}

// Edited by the keyboard (one engine dragged); restoring the shipped engines removes the user's file.
TEST_F(AppTest, EnginesEditedInTheManagerGoToTheUsersCatalogueAndTheFormAtOnce)
{
    ASSERT_TRUE(Start());
    const QString shippedFile = BesideProgram::Path(QStringLiteral("Quaerio.CFG"));
    const QByteArray shipped = FileBytes(shippedFile);
    ASSERT_FALSE(shipped.isEmpty());
    const QString user = g_szUserCatalogPath;
    EXPECT_EQ(QFileInfo(user).absolutePath(), QFileInfo(ProfileLocation()).absolutePath());
    EXPECT_FALSE(frame->Router().Update(ID_VIEW_RESTORE_ENGINES).m_bEnabled);

    QString faultsWithoutStar;
    bool added = false;
    WhenDialogOpens([&](QWidget *dialog) {
        auto *tree = dialog->findChild<CCatalogTree *>();
        QTest::keyClick(tree, Qt::Key_Down); // English > Web
        WhenDialogOpens([&](QWidget *editor) {
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Fresh"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("http://127.0.0.1:9/fresh?q="));
            QPushButton *ok = editor->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            EXPECT_FALSE(ok->isEnabled());
            for (const QLabel *label : editor->findChildren<QLabel *>()) {
                if (label->accessibleName() == u"Problems")
                    faultsWithoutStar = label->text();
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Asterisk);
            EXPECT_TRUE(ok->isEnabled());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            added = true;
        });
        // Add Engine: the button clicks itself a moment later, as a pressed button shows.
        QTest::keyClick(dialog, Qt::Key_E, Qt::AltModifier);
        ASSERT_TRUE(WaitUntil([&] { return added; }));
        // The window manager's part: the dialog is active again once the editor is gone.
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(tree, Qt::Key_Up, Qt::ControlModifier); // Fresh before Engine E4
        QTest::keyClick(tree, Qt::Key_Left); // up to Web
        WhenDialogOpens([](QWidget *) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Internet"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QTest::keyClick(tree, Qt::Key_F2);
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(tree, Qt::Key_Right);
        QTest::keyClick(tree, Qt::Key_Down); // Engine E0
        QTest::keyClick(tree, Qt::Key_Delete);

        // Fresh dropped on Deutsch's Netz with Ctrl: listed there too.
        tree->setCurrentItem(tree->topLevelItem(0)->child(0)->child(3));
        QTreeWidgetItem *netz = tree->topLevelItem(1)->child(0);
        tree->DropAt(tree->visualItemRect(netz).center(), true);
        EXPECT_TRUE(WaitUntil([&] { return tree->topLevelItem(1)->child(0)->childCount() == 3; }));

        // A category without engines would stop the form: no OK until it goes.
        QPushButton *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        WhenDialogOpens([](QWidget *) {
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Empty"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QTest::keyClick(dialog, Qt::Key_C, Qt::AltModifier);
        ASSERT_TRUE(WaitUntil([&] { return !ok->isEnabled(); }));
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(tree, Qt::Key_Delete);
        EXPECT_TRUE(ok->isEnabled());
        QTest::keyClick(tree, Qt::Key_Return); // OK
    });
    ChooseFromViewMenu(frame, Qt::Key_N);

    EXPECT_TRUE(faultsWithoutStar.contains(u"has no \"*\" where the keywords go")) << qPrintable(faultsWithoutStar);
    const auto read = [&](const char *section, const char *key) {
        QString value;
        CCatalogFile catalogue;
        catalogue.m_szPath = user;
        catalogue.ReadString(QLatin1String(section), QLatin1String(key), value, kCatalogListCapacity);
        return value;
    };
    EXPECT_EQ(read("CATEGORYS", "English"), QStringLiteral("Internet;News"));
    EXPECT_EQ(read("English", "Internet"), QStringLiteral("E1;E2;E3;Fresh;E4"));
    EXPECT_EQ(read("Deutsch", "Netz"), QStringLiteral("D0;D1;Fresh"));
    EXPECT_EQ(read("Fresh", "URL"), QStringLiteral("http://127.0.0.1:9/fresh?q=*"));
    EXPECT_EQ(read("E0", "Name"), QStringLiteral("Error!"));
    EXPECT_EQ(FileBytes(shippedFile), shipped);

    const auto tabs = [&] {
        QStringList names;
        for (int i = 0; i < Ctl<QTabBar>(view, IDC_TAB_ENGINES)->count(); ++i)
            names.append(Ctl<QTabBar>(view, IDC_TAB_ENGINES)->tabText(i));
        return names.join(u',');
    };
    EXPECT_EQ(Ctl<QComboBox>(view, IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Internet"));
    EXPECT_EQ(tabs(), QStringLiteral("Engine E1,Engine E2,Engine E3,Fresh,Engine E4"));
    Stop();
    ASSERT_TRUE(Start());
    EXPECT_EQ(tabs(), QStringLiteral("Engine E1,Engine E2,Engine E3,Fresh,Engine E4"));

    MessageBoxRecorder yes(IDYES);
    ChooseFromViewMenu(frame, Qt::Key_H);
    EXPECT_EQ(yes.calls.size(), 1u);
    EXPECT_FALSE(QFile::exists(user));
    EXPECT_EQ(Ctl<QComboBox>(view, IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Web"));
    EXPECT_EQ(tabs(), QStringLiteral("Engine E0,Engine E1,Engine E2,Engine E3,Engine E4"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST(Startup, WithoutItsCatalogueTheProgramSaysSoOnceAndTouchesNoSettings)
{
    const QString besideProgram = BesideProgram::Path(QStringLiteral("Quaerio.CFG"));
    QFile::remove(besideProgram);
    QDir().rmdir(besideProgram);
    for (const bool folder : {false, true}) {
        ASSERT_TRUE(!folder || QDir().mkpath(besideProgram));
        ResetRegistryKey();
        ProfileWriteRecorder profile;
        MessageBoxRecorder recorder;
        {
            CQuaerioApp app;
            EXPECT_NE(app.Run(), 0);
            EXPECT_EQ(app.GetMainFrame(), nullptr);
        }
        EXPECT_EQ(recorder.texts(), QStringList{QStringLiteral("The config file not exist !")}) << folder;
        EXPECT_FALSE(HasRegistryKey());
        EXPECT_TRUE(profile.writes.isEmpty() && profile.syncs == 0);
    }
    EXPECT_TRUE(QDir().rmdir(besideProgram));
}

// A later timer shows no second call.
TEST(FirstPaint, TheCallComesOnceAfterTheFirstPaintOrTheWaitAndNeverForAWindowGone)
{
    struct SPainted final : QWidget
    {
        void paintEvent(QPaintEvent *) override { painted = true; }
        bool painted = false;
    } window;
    QWidget hidden;
    auto gone = std::make_unique<QWidget>();
    QStringList calls;
    CallAfterFirstPaint(&window, 60000, [&] { calls.append(window.painted ? u"painted"_qs : u"unpainted"_qs); });
    CallAfterFirstPaint(&hidden, 50, [&] { calls.append(u"hidden"_qs); });
    CallAfterFirstPaint(gone.get(), 50, [&] { calls.append(u"gone"_qs); });
    gone.reset();
    window.show();
    EXPECT_TRUE(calls.isEmpty()); // never from within show()
    ASSERT_TRUE(WaitUntil([&] { return calls.size() == 2; }));
    window.hide();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bool later = false;
    QTimer::singleShot(100, &window, [&] { later = true; });
    ASSERT_TRUE(WaitUntil([&] { return later; }));
    calls.sort();
    EXPECT_EQ(calls, QStringList({u"hidden"_qs, u"painted"_qs}));
}

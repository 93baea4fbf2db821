#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTimer>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "app/QuaerioApp.h"
#include "catalogue/CatalogFile.h"
#include "enginemanager/CatalogTree.h"
#include "tests/support/RecordingBrowserControl.h"
#include "frame/MainFrame.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "res/ResourceIds.h"
#include "tests/support/TestSupport.h"
#include "workspace/AnimateCtrl.h"
#include "workspace/FormTemplate.h"
#include "workspace/QuaerioView.h"

namespace
{
const QString kSettings = QStringLiteral("Settings");

QString BesideProgram(const char *name)
{
    return QCoreApplication::applicationDirPath() + u'/' + QLatin1String(name);
}

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

// The whole program in this process: settings in a temporary profile,
// message boxes recorded, recording browser controls, and a catalogue and
// first-show page written beside the test program, where start-up looks for
// them. The catalogue: English with "Web" (5 engines), Deutsch with "Netz" (2).
class WorkspaceAppTest : public ::testing::Test
{
protected:
    WorkspaceAppTest()
    {
        browsers.Install();
        QString text = QStringLiteral("[LANGUAGES]\nLanguages=English;Deutsch\n"
                                      "[CATEGORYS]\nEnglish=Web\nDeutsch=Netz\n"
                                      "[English]\nWeb=E0;E1;E2;E3;E4\n[Deutsch]\nNetz=D0;D1\n");
        for (const char *name : {"E0", "E1", "E2", "E3", "E4", "D0", "D1"}) {
            const QString section = QString::fromLatin1(name);
            text += QStringLiteral("[%1]\nName=Engine %1\nURL=http://127.0.0.1:9/%2?q=*\n").arg(section, section.toLower());
        }
        WriteTextFile(BesideProgram("Quaerio.CFG"), text);
        WriteTextFile(BesideProgram("firstshow.mht"), QStringLiteral("<html><title>first</title></html>"));
    }
    ~WorkspaceAppTest() override
    {
        Stop();
        QFile::remove(BesideProgram("Quaerio.CFG"));
        QFile::remove(BesideProgram("firstshow.mht"));
    }

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
    template <typename T = QWidget>
    T *Ctl(int id) const { return view->findChild<T *>(QString::number(id)); }

    TempProfile profile;
    MessageBoxRecorder boxes;
    CRecordingBrowserFactory browsers;
    std::unique_ptr<CQuaerioApp> app;
    CMainFrame *frame = nullptr;
    CQuaerioView *view = nullptr;
};
} // namespace

TEST_F(WorkspaceAppTest, FreshStartShowsTheFirstCategoryAndCompletes)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(frame->centralWidget(), view);
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_LANGUAGE)->currentText(), QStringLiteral("English"));
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Web"));
    EXPECT_TRUE(Ctl(IDC_LST_ENGINES)->isHidden());
    EXPECT_EQ(Ctl<QTabBar>(IDC_TAB_ENGINES)->count(), 5);
    EXPECT_EQ(browsers.Control(0)->Navigations(), QStringList({BesideProgram("firstshow.mht")}));

    // Once the first-show page has loaded, the status bar reads "Complete".
    browsers.Control(0)->FinishNavigation();
    ASSERT_TRUE(WaitUntil([&] { return frame->GetMessageText() == QStringLiteral("Complete"); }, 10000));
    EXPECT_FALSE(Ctl(IDC_BTN_STOP)->isEnabled());
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(WorkspaceAppTest, FrameCommandsActOnThePageShownWhenEnabled)
{
    ASSERT_TRUE(Start());
    Ctl<QTabBar>(IDC_TAB_ENGINES)->setCurrentIndex(2);
    CRecordingBrowserControl *page = browsers.Control(2);
    page->ClearCalls();
    browsers.ClearLog();

    // Every page command is enabled and acts on the page shown, and on no other.
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW})
        EXPECT_TRUE(frame->Router().Update(id).m_bEnabled) << id;
    for (int id : {ID_GO_BACK, ID_GO_FORWARD, ID_VIEW_REFRESH, ID_FONT_LARGEST, ID_FONT_LARGER, ID_FONT_MEDIUM,
                   ID_FONT_SMALLER, ID_FONT_SMALLEST, ID_FILE_SAVE})
        EXPECT_TRUE(frame->Router().Update(id).m_bEnabled && frame->OnCommand(id)) << id;
    EXPECT_EQ(page->Calls(), QStringLiteral("GoBack,GoForward,Refresh,SetZoomLevel 4,SetZoomLevel 3,SetZoomLevel 2,"
                                            "SetZoomLevel 1,SetZoomLevel 0")
                                 .split(u','));
    for (const QString &line : browsers.Log())
        EXPECT_TRUE(line.startsWith(u"2: ")) << line.toStdString();

    // Stop follows the page shown only: refused while it is idle, stops it when busy.
    browsers.Control(0)->SetBusy(true);
    EXPECT_FALSE(frame->Router().Update(ID_VIEW_STOP).m_bEnabled);
    EXPECT_FALSE(frame->OnCommand(ID_VIEW_STOP));
    page->SetBusy(true);
    EXPECT_TRUE(frame->Router().Update(ID_VIEW_STOP).m_bEnabled);
    EXPECT_TRUE(frame->OnCommand(ID_VIEW_STOP));
    EXPECT_FALSE(page->Busy());

    // New keywords are refused while searching; afterwards they prepare the box.
    auto *keywords = Ctl<QComboBox>(IDC_CBO_KEYWORDS);
    keywords->setEditText(QStringLiteral("fig"));
    view->OnSearch();
    EXPECT_FALSE(frame->Router().Update(ID_INPUT_NEW_KEYWORD).m_bEnabled);
    view->OnStop();
    EXPECT_TRUE(frame->OnCommand(ID_INPUT_NEW_KEYWORD));
    EXPECT_EQ(keywords->currentText(), QStringLiteral("Please input new keywords ..."));
    EXPECT_FALSE(keywords->lineEdit()->hasSelectedText());
}

TEST_F(WorkspaceAppTest, DefaultChoiceAndLayoutSurviveARestartAndClosingStopsTheMonitor)
{
    ASSERT_TRUE(Start());
    auto *language = Ctl<QComboBox>(IDC_CBO_LANGUAGE);
    language->setCurrentIndex(1);
    emit language->activated(1);
    QTest::mouseClick(Ctl(IDC_BTN_DEFAULT), Qt::LeftButton);
    QTest::mouseClick(Ctl(IDC_BTN_EXTEND), Qt::LeftButton);
    // Changed again without "&Default": not remembered.
    language->setCurrentIndex(0);
    emit language->activated(0);

    // Closing the window stops timer 1 and the animation; the layout is stored.
    EXPECT_TRUE(view->SearchRun().IsMonitorActive());
    frame->close();
    EXPECT_FALSE(view->SearchRun().IsMonitorActive());
    EXPECT_FALSE(view->AnimateCtrl()->IsOpen());
    Stop();
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("Extended"), -1), 1);

    ASSERT_TRUE(Start());
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_LANGUAGE)->currentText(), QStringLiteral("Deutsch"));
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Netz"));
    EXPECT_EQ(Ctl<QTabBar>(IDC_TAB_ENGINES)->count(), 2);
    EXPECT_FALSE(Ctl(IDC_LST_ENGINES)->isHidden());
}

TEST_F(WorkspaceAppTest, NewSearchShrinksALargeWindowAndRebuildsNothingTwice)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    const QSize form = CFormTemplate::Size();
    frame->resize(1300, 900);
    ASSERT_TRUE(WaitUntil([&] { return view->width() > form.width(); }));
    const QSize frameBefore = frame->size();

    app->OnFileNew();
    ASSERT_TRUE(WaitUntil([&] { return view->width() <= form.width() && view->height() <= form.height(); }));
    EXPECT_LT(frame->width(), frameBefore.width());
    // The frame's bars may keep the window wider than the form, never lower.
    EXPECT_EQ(view->height(), form.height());

    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_LANGUAGE)->count(), 2);
    EXPECT_EQ(Ctl<QTableWidget>(IDC_LST_ENGINES)->columnCount(), 3);
    EXPECT_EQ(Ctl<QTableWidget>(IDC_LST_ENGINES)->rowCount(), 5);
    EXPECT_EQ(view->findChildren<CAnimateCtrl *>().size(), 1);
    EXPECT_EQ(browsers.CreatedCount(), 5);
    EXPECT_TRUE(view->SearchRun().IsMonitorActive());

    // A small window keeps its size.
    frame->resize(400, 300);
    ASSERT_TRUE(WaitUntil([&] { return frame->size() == QSize(400, 300) || frame->size() == frame->minimumSizeHint(); }));
    const QSize small = frame->size();
    app->OnFileNew();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->size(), small);
}

TEST_F(WorkspaceAppTest, PrintSetupChoicesApplyToPrintAndPrintPreview)
{
    ASSERT_TRUE(Start());
    // Answers each dialog as the user would: Print Setup picks A5 landscape
    // and confirms; Print and Print Preview report their printer's layout
    // and are cancelled.
    QList<QPageLayout> seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!modal)
            return;
        if (qobject_cast<QPageSetupDialog *>(modal)) {
            modal->findChild<QRadioButton *>(QStringLiteral("landscape"))->click();
            auto *sizes = modal->findChild<QComboBox *>(QStringLiteral("pageSizeCombo"));
            sizes->setCurrentIndex(sizes->findText(QStringLiteral("A5")));
            modal->accept();
            return;
        }
        if (auto *print = qobject_cast<QPrintDialog *>(modal))
            seen.append(print->printer()->pageLayout());
        else if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal))
            seen.append(preview->printer()->pageLayout());
        modal->reject();
    });
    poll.start(20);

    for (int id : {ID_FILE_PRINT_SETUP, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW})
        EXPECT_TRUE(frame->OnCommand(id)) << id;
    ASSERT_EQ(seen.size(), 2);
    for (const QPageLayout &layout : seen) {
        EXPECT_EQ(layout.orientation(), QPageLayout::Landscape);
        EXPECT_EQ(layout.pageSize().id(), QPageSize::A5);
    }
}

TEST_F(WorkspaceAppTest, TicksSurviveARestartAndCompleteFollowsTheLastPage)
{
    ASSERT_TRUE(Start());
    Ctl<QTableWidget>(IDC_LST_ENGINES)->item(3, 0)->setCheckState(Qt::Unchecked);
    Stop();
    EXPECT_EQ(GetProfileInt(QStringLiteral("EngineChoice"), QStringLiteral("English:Web:E3"), -1), 0);

    ASSERT_TRUE(Start());
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    EXPECT_EQ(list->item(3, 0)->checkState(), Qt::Unchecked);
    browsers.Control(0)->FinishNavigation();
    // Without the monitor's tick only the pages' own ends complete the search.
    view->KillTimer(1);
    Ctl<QComboBox>(IDC_CBO_KEYWORDS)->setEditText(QStringLiteral("fig"));
    view->OnSearch();
    ASSERT_TRUE(WaitUntil([&] { return browsers.NavigationLog().filter(u"fig").size() == 4; }));
    EXPECT_EQ(list->item(3, 1)->text(), QStringLiteral("Skipped"));
    for (int i = 0; i < 5; ++i)
        browsers.Control(i)->FinishNavigation();
    EXPECT_TRUE(WaitUntil([&] { return frame->GetMessageText() == QStringLiteral("Complete"); }, 1000));
    EXPECT_EQ(list->item(0, 1)->text(), QStringLiteral("100%"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

// The engines edited by the keyboard in the dialog (and one dragged): OK
// writes the user's catalogue beside the settings and the form shows it at
// once; restoring the shipped engines removes it again.
TEST_F(WorkspaceAppTest, EnginesEditedInTheManagerGoToTheUsersCatalogueAndTheFormAtOnce)
{
    ASSERT_TRUE(Start());
    QFile shippedFile(BesideProgram("Quaerio.CFG"));
    ASSERT_TRUE(shippedFile.open(QIODevice::ReadOnly));
    const QByteArray shipped = shippedFile.readAll();
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
    EXPECT_EQ(read("CATEGORYS", "English"), QStringLiteral("Internet"));
    EXPECT_EQ(read("English", "Internet"), QStringLiteral("E1;E2;E3;Fresh;E4"));
    EXPECT_EQ(read("Deutsch", "Netz"), QStringLiteral("D0;D1;Fresh"));
    EXPECT_EQ(read("Fresh", "URL"), QStringLiteral("http://127.0.0.1:9/fresh?q=*"));
    EXPECT_EQ(read("E0", "Name"), QStringLiteral("Error!"));
    EXPECT_TRUE(shippedFile.seek(0));
    EXPECT_EQ(shippedFile.readAll(), shipped);

    const auto tabs = [&] {
        QStringList names;
        for (int i = 0; i < Ctl<QTabBar>(IDC_TAB_ENGINES)->count(); ++i)
            names.append(Ctl<QTabBar>(IDC_TAB_ENGINES)->tabText(i));
        return names.join(u',');
    };
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Internet"));
    EXPECT_EQ(tabs(), QStringLiteral("Engine E1,Engine E2,Engine E3,Fresh,Engine E4"));
    Stop();
    ASSERT_TRUE(Start());
    EXPECT_EQ(tabs(), QStringLiteral("Engine E1,Engine E2,Engine E3,Fresh,Engine E4"));

    MessageBoxRecorder yes(IDYES);
    ChooseFromViewMenu(frame, Qt::Key_H);
    EXPECT_EQ(yes.calls().size(), 1u);
    EXPECT_FALSE(QFile::exists(user));
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Web"));
    EXPECT_EQ(tabs(), QStringLiteral("Engine E0,Engine E1,Engine E2,Engine E3,Engine E4"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

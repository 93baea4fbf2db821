#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/support/RecordingBrowserControl.h"
#include "browsers/ResultBrowser.h"
#include "catalogue/CatalogFile.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "tests/support/TestSupport.h"
#include "workspace/AnimateCtrl.h"
#include "workspace/EngineStates.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/QuaerioView.h"
#include "workspace/TabCtrl.h"

namespace
{
const QString kSettings = QStringLiteral("Settings");

QStringList ColumnTexts(const QTableWidget *list, int column)
{
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row)
        texts.append(list->item(row, column) ? list->item(row, column)->text() : QString());
    return texts;
}

// Chooses entry `index` of a box as the user would.
void Choose(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// A view (a window of its own) over a catalogue in a temporary folder, with
// settings in a temporary profile, recorded message boxes and recording
// browser controls. The catalogue:
//   English: Web (5 engines), Small (3), Broken (an engine without URL in the middle)
//   Deutsch: Netz (2)
//   Orphan:  no "CATEGORYS" entry, so its one category reads "Error!"
class QuaerioViewTest : public ::testing::Test
{
protected:
    QuaerioViewTest()
    {
        browsers.Install();
        DestroyAppSettings();
        WriteCatalogue(QStringLiteral("[LANGUAGES]\nLanguages=English;Deutsch;Orphan\n"
                                      "[CATEGORYS]\nEnglish=Web;Small;Broken\nDeutsch=Netz\n"
                                      "[English]\nWeb=E0;E1;E2;E3;E4\nSmall=S0;S1;S2\nBroken=E0;NoUrl;E2\n"
                                      "[Deutsch]\nNetz=D0;D1\n[Orphan]\nError!=E3\n"
                                      "[E0]\nName=Alpha\nURL=http://127.0.0.1:9/alpha?q=*\n"
                                      "[E1]\nName=Beta\nURL=http://127.0.0.1:9/beta/*\n"
                                      "[E2]\nName=Gamma\nURL=http://127.0.0.1:9/gamma?q=*&lang=en\n"
                                      "[E3]\nName=Delta\nURL=http://127.0.0.1:9/delta?q=*\n"
                                      "[E4]\nName=Epsilon\nURL=http://127.0.0.1:9/epsilon?q=*\n"
                                      "[S0]\nName=Small Zero\nURL=http://127.0.0.1:9/s0?q=*\n"
                                      "[S1]\nName=Small One\nURL=http://127.0.0.1:9/s1?q=*\n"
                                      "[S2]\nName=Small Two\nURL=http://127.0.0.1:9/s2?q=*\n"
                                      "[NoUrl]\nName=Nowhere\nURL=\n"
                                      "[D0]\nName=Deutsch Null\nURL=http://127.0.0.1:9/d0?q=*\n"
                                      "[D1]\nName=Deutsch Eins\nURL=http://127.0.0.1:9/d1?q=*\n"));
        g_szFirstShowPath = m_dir.filePath(QStringLiteral("firstshow.mht"));
    }
    ~QuaerioViewTest() override
    {
        view.reset();
        DestroyAppSettings();
        DestroyCatalogFile();
    }

    void WriteCatalogue(const QString &text)
    {
        GetCatalogFile()->m_szPath = m_dir.filePath(QStringLiteral("Quaerio.CFG"));
        WriteTextFile(GetCatalogFile()->m_szPath, text);
    }
    // Replaces the view by a new one after its initial update.
    void Open()
    {
        view.reset();
        view = std::make_unique<CQuaerioView>();
        view->OnInitialUpdate();
    }
    template <typename T = QWidget>
    T *Ctl(int id) const { return view->findChild<T *>(QString::number(id)); }
    CResultBrowser *Page(int index) const { return view->Browsers().GetBrowser(index); }
    QStringList Navigations(int index) const
    {
        return browsers.Control(index) ? browsers.Control(index)->Navigations() : QStringList();
    }
    // The page the user sees under the tabs: the topmost page at the middle
    // of the area below the tab row.
    CResultBrowser *ShownPage() const
    {
        const int tabBottom = Ctl(IDC_TAB_ENGINES)->geometry().bottom();
        QWidget *widget = view->childAt(view->width() / 2, (tabBottom + view->height()) / 2);
        while (widget && !qobject_cast<CResultBrowser *>(widget))
            widget = widget->parentWidget();
        return qobject_cast<CResultBrowser *>(widget);
    }
    // The page hides its own border: it overlaps the tabs' lower edge by one
    // pixel and reaches two pixels beyond the view's left, right and bottom.
    bool FillsThePageArea(const QWidget *page) const
    {
        const QRect rect = page->geometry();
        return rect.top() == Ctl(IDC_TAB_ENGINES)->geometry().bottom() && rect.left() == -2
            && rect.right() == view->width() + 1 && rect.bottom() == view->height() + 1;
    }
    void ShowView(QSize size = {700, 420})
    {
        view->resize(size);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    void Search(const QString &keywords)
    {
        Ctl<QComboBox>(IDC_CBO_KEYWORDS)->setEditText(keywords);
        view->OnSearch();
    }

    QTemporaryDir m_dir;
    TempProfile profile;
    MessageBoxRecorder boxes;
    CRecordingBrowserFactory browsers;
    std::unique_ptr<CQuaerioView> view;
};
} // namespace

TEST_F(QuaerioViewTest, FreshViewShowsTheFormAndTheFirstCategoryCollapsed)
{
    Open();
    for (const auto &[id, text] : {std::pair{IDC_BTN_DEFAULT, "&Default"}, std::pair{IDC_BTN_SEARCH, "&Search"},
                                   std::pair{IDC_BTN_STOP, "S&top"}, std::pair{IDC_BTN_EXTEND, "+"}})
        EXPECT_EQ(Ctl<QPushButton>(id)->text(), QLatin1String(text)) << id;
    EXPECT_TRUE(Ctl<QPushButton>(IDC_BTN_SEARCH)->isDefault() && !Ctl(IDC_BTN_STOP)->isEnabled());
    EXPECT_TRUE(Ctl(IDC_STC_MARKER)->isHidden());

    // Assistive technology finds each box by the label beside it.
    QStringList labels;
    for (const QLabel *label : view->findChildren<QLabel *>())
        if (label->buddy())
            labels.append(label->text() + u'>' + label->buddy()->objectName() + u'>'
                          + label->buddy()->accessibleName());
    labels.sort();
    EXPECT_EQ(labels, QStringList({QStringLiteral("Category>1002>Category"), QStringLiteral("KeyWords>1001>KeyWords"),
                                   QStringLiteral("Language>1010>Language")}));

    auto *animate = Ctl<CAnimateCtrl>(IDC_ANIMATE);
    EXPECT_EQ(animate->x(), view->width() - 22);
    EXPECT_EQ(animate->FrameCount(), 16);
    EXPECT_FALSE(animate->IsPlaying() || animate->CurrentFrame() != 0);

    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_LANGUAGE)->currentText(), QStringLiteral("English"));
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Web"));

    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(list->horizontalHeaderItem(2)->text(), QStringLiteral("QueryURL"));
    const QStringList names = {QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma"),
                               QStringLiteral("Delta"), QStringLiteral("Epsilon")};
    EXPECT_EQ(ColumnTexts(list, 0), names);
    // Page 0 is loading the first-show page; the others read the form's "100%".
    EXPECT_EQ(ColumnTexts(list, 1), QStringList({QStringLiteral("0%")}) + QStringList(4, QStringLiteral("100%")));
    EXPECT_EQ(list->item(2, 2)->text(), QStringLiteral("http://127.0.0.1:9/gamma?q=*&lang=en"));
    QStringList tabLabels;
    for (int i = 0; i < 5; ++i) {
        tabLabels.append(tabs->tabText(i));
        EXPECT_EQ(list->item(i, 0)->checkState(), Qt::Checked) << i;
        EXPECT_TRUE(Page(i)->m_bActive) << i;
        EXPECT_EQ(Page(i)->QueryTemplate(), list->item(i, 2)->text());
    }
    EXPECT_EQ(tabLabels, names);
    EXPECT_EQ(tabs->GetCurSel(), 0);

    // Page 0 is shown and opens the first-show page; timer 1 runs.
    EXPECT_EQ(view->CurrentBrowser(), Page(0));
    EXPECT_EQ(Navigations(0).last(), g_szFirstShowPath);
    EXPECT_TRUE(view->SearchRun().IsMonitorActive() && boxes.texts().isEmpty());
}

TEST_F(QuaerioViewTest, ChangingCategoryAndLanguageRebuildsListTabsAndPagesOrStopsAtAnEmptyUrl)
{
    Open();
    auto *language = Ctl<QComboBox>(IDC_CBO_LANGUAGE);
    auto *category = Ctl<QComboBox>(IDC_CBO_CATEGORY);
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);

    // A category of 3 after one of 5: pages 3 and 4 stay, inactive and blank.
    Choose(category, 1);
    EXPECT_EQ(ColumnTexts(list, 0),
              QStringList({QStringLiteral("Small Zero"), QStringLiteral("Small One"), QStringLiteral("Small Two")}));
    EXPECT_EQ(tabs->count(), 3);
    for (int i : {3, 4}) {
        EXPECT_FALSE(Page(i)->m_bActive) << i;
        EXPECT_TRUE(Page(i)->QueryTemplate().isEmpty());
        EXPECT_EQ(Page(i)->GetLocationURL(), QStringLiteral("about:blank"));
    }
    EXPECT_EQ(Page(1)->QueryTemplate(), QStringLiteral("http://127.0.0.1:9/s1?q=*"));

    // Choosing the entry already selected reloads nothing.
    browsers.ClearLog();
    Choose(category, 1);
    EXPECT_TRUE(browsers.Log().isEmpty());

    // Another language always starts with its first category.
    Choose(language, 1);
    EXPECT_EQ(category->currentText(), QStringLiteral("Netz"));
    EXPECT_EQ(ColumnTexts(list, 0), QStringList({QStringLiteral("Deutsch Null"), QStringLiteral("Deutsch Eins")}));
    // A language without a categories entry gets the one category "Error!",
    // whose engines are read from key "Error!" of the language's section.
    Choose(language, 2);
    EXPECT_EQ(category->count(), 1);
    EXPECT_EQ(category->itemText(0), QStringLiteral("Error!"));
    EXPECT_EQ(ColumnTexts(list, 0), QStringList({QStringLiteral("Delta")}));
    EXPECT_TRUE(boxes.texts().isEmpty());

    // An engine without URL: the message, loading stops there, no tab selected.
    Choose(language, 0);
    EXPECT_EQ(category->currentText(), QStringLiteral("Web"));
    Choose(category, 2);
    EXPECT_EQ(boxes.texts(), QStringList({QStringLiteral("Initial GUI control failed !")}));
    EXPECT_EQ(ColumnTexts(list, 0), QStringList({QStringLiteral("Alpha"), QStringLiteral("Nowhere")}));
    EXPECT_EQ(list->item(1, 2), nullptr);
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->GetCurSel(), -1);
    EXPECT_TRUE(Page(0)->m_bActive);
    EXPECT_FALSE(Page(1)->m_bActive || Page(2)->m_bActive);

    // A search with no tab selected still searches every active page; the
    // page shown is the pool's inactive page of index -1, which stays empty.
    Search(QStringLiteral("kiwi"));
    ASSERT_TRUE(WaitUntil([&] { return Navigations(0).last().contains(u"kiwi"); }));
    EXPECT_EQ(view->CurrentBrowser(), Page(-1));
    EXPECT_FALSE(Page(-1)->m_bActive);
    EXPECT_TRUE(Navigations(-1).isEmpty());

    // Clicking a tab selects it and shows its page.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_EQ(view->CurrentBrowser(), Page(1));
}

TEST_F(QuaerioViewTest, StoredIndexesOutsideTheCatalogueFallBackToTheFirst)
{
    for (const auto &[languageIndex, categoryIndex, expected] :
         {std::tuple{7, -3, "Web"}, std::tuple{1, 2, "Netz"}}) {
        WriteProfileInt(kSettings, QStringLiteral("CurLanguageIndex"), languageIndex);
        WriteProfileInt(kSettings, QStringLiteral("CurCategoryIndex"), categoryIndex);
        Open();
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentText(), QLatin1String(expected));
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentIndex(), 0);
        EXPECT_GT(Ctl<CTabCtrl>(IDC_TAB_ENGINES)->count(), 1);
    }
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(QuaerioViewTest, CatalogueFailuresShowTheMessageAndKeepTheForm)
{
    // No languages at all: the initial update stops after the message.
    WriteCatalogue(QStringLiteral("[LANGUAGES]\nLanguages=\n"));
    Open();
    EXPECT_EQ(boxes.texts(), QStringList({QStringLiteral("Initial GUI control failed !")}));
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_LANGUAGE)->count(), 0);
    EXPECT_FALSE(view->SearchRun().IsMonitorActive());

    // An empty categories entry: the Category box stays empty, no engines.
    WriteCatalogue(QStringLiteral("[LANGUAGES]\nLanguages=Solo\n[CATEGORYS]\nSolo=\n"));
    Open();
    EXPECT_EQ(boxes.texts().size(), 2);
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->count(), 0);
    EXPECT_EQ(Ctl<CTabCtrl>(IDC_TAB_ENGINES)->count(), 0);
    EXPECT_TRUE(view->SearchRun().IsMonitorActive());
}

TEST_F(QuaerioViewTest, LayoutAndTabChangesFollowTheWindowAndTheExtendButton)
{
    Open();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    auto *list = Ctl(IDC_LST_ENGINES);
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    auto *extend = Ctl<QPushButton>(IDC_BTN_EXTEND);
    const int collapsedTop = tabs->y();

    // A resize stretches the hidden list and the tabs, reports the size and
    // resizes the page shown only.
    const QRect page1Before = Page(1)->geometry();
    view->resize(900, 520);
    ASSERT_TRUE(WaitUntil([&] { return view->StatusText() == QStringLiteral("width = 900 , height = 520"); }));
    EXPECT_EQ(list->width(), 900);
    EXPECT_EQ(tabs->width(), 900);
    EXPECT_TRUE(FillsThePageArea(Page(0)));
    EXPECT_EQ(Page(1)->geometry(), page1Before);

    // "+" shows the list, moves the tabs under it and every page with them;
    // "-" restores the collapsed layout.
    QTest::mouseClick(extend, Qt::LeftButton);
    EXPECT_TRUE(extend->text() == QStringLiteral("-") && list->isVisible());
    EXPECT_EQ(tabs->y(), list->geometry().bottom() + 1);
    EXPECT_TRUE(FillsThePageArea(Page(1)));
    QTest::mouseClick(extend, Qt::LeftButton);
    EXPECT_TRUE(tabs->y() == collapsedTop && !list->isVisible());

    // A new tab's page is shown at the current size and the old one shrinks
    // to nothing; a blank page leaves the status text alone.
    browsers.Control(0)->FinishNavigation();
    view->SetStatusText(QStringLiteral("before"));
    tabs->setCurrentIndex(3);
    EXPECT_EQ(view->CurrentBrowser(), Page(3));
    EXPECT_EQ(Page(0)->geometry(), QRect(0, 0, 0, 0));
    EXPECT_TRUE(FillsThePageArea(Page(3)));
    EXPECT_EQ(ShownPage(), Page(3));
    EXPECT_EQ(view->StatusText(), QStringLiteral("before"));
    // A page with an address puts it in the status bar.
    Page(0)->Navigate2(QStringLiteral("http://127.0.0.1:9/found"));
    tabs->setCurrentIndex(0);
    EXPECT_EQ(view->StatusText(), QStringLiteral("http://127.0.0.1:9/found"));
}

TEST_F(QuaerioViewTest, SearchBlanksThenQueriesEveryActivePageAndStopEndsIt)
{
    Open();
    auto *keywords = Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS);
    Ctl<CTabCtrl>(IDC_TAB_ENGINES)->SetCurSel(2);
    browsers.ClearLog();

    // Blank keywords are refused.
    keywords->setEditText(QStringLiteral("  \t "));
    QTest::mouseClick(Ctl(IDC_BTN_SEARCH), Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), QStringList({QStringLiteral("Please input keywords !")}));
    EXPECT_FALSE(view->SearchRun().IsSearching());
    EXPECT_TRUE(browsers.Log().isEmpty());

    // History kept, as the settings dialog stores it.
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 1);
    WriteProfileInt(kSettings, QStringLiteral("KeywordsHisCount"), 16);
    keywords->clearEditText();
    QTest::keyClicks(keywords, QStringLiteral("   green tea  "));
    QTest::keyClick(keywords, Qt::Key_Return);

    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching green tea"));
    EXPECT_TRUE(view->SearchRun().IsSearching() && view->AnimateCtrl()->IsPlaying());
    for (int id : {IDC_CBO_LANGUAGE, IDC_CBO_CATEGORY, IDC_BTN_SEARCH, IDC_LST_ENGINES})
        EXPECT_FALSE(Ctl(id)->isEnabled()) << id;
    for (int id : {IDC_BTN_STOP, IDC_CBO_KEYWORDS, IDC_BTN_EXTEND, IDC_BTN_DEFAULT, IDC_TAB_ENGINES})
        EXPECT_TRUE(Ctl(id)->isEnabled()) << id;

    // Every active page is blanked in the pool's walk order (4 .. 0) before any query.
    ASSERT_TRUE(WaitUntil([&] { return browsers.NavigationLog().size() == 10; }));
    QStringList log = browsers.NavigationLog();
    QStringList expected;
    for (int i = 4; i >= 0; --i)
        expected.append(QStringLiteral("%1: Navigate about:blank").arg(i));
    for (const char *url : {"alpha?q=green tea", "beta/green tea", "gamma?q=green tea&lang=en", "delta?q=green tea",
                            "epsilon?q=green tea"})
        expected.append(QStringLiteral("%1: Navigate http://127.0.0.1:9/").arg(expected.size() - 5) + QLatin1String(url));
    std::sort(log.begin() + 5, log.end());
    EXPECT_EQ(log, expected);

    // The selected tab's page is shown on top; the keywords went to the history.
    EXPECT_EQ(view->CurrentBrowser(), Page(2));
    EXPECT_EQ(view->children().last(), Page(2));
    EXPECT_EQ(GetProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1")), QStringLiteral("green tea"));

    // "S&top" stops every busy page and the animation; the status stays.
    view->OnStop();
    EXPECT_FALSE(view->SearchRun().IsSearching() || view->SearchRun().IsAnimating() || view->AnimateCtrl()->IsPlaying());
    EXPECT_TRUE(Ctl(IDC_BTN_SEARCH)->isEnabled() && !Ctl(IDC_BTN_STOP)->isEnabled());
    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching green tea"));
    EXPECT_TRUE(browsers.Control(4)->Calls().contains(QStringLiteral("Stop")));

    // History switched off: searching writes nothing more.
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 0);
    Search(QStringLiteral("secret"));
    EXPECT_TRUE(view->SearchRun().IsSearching());
    EXPECT_EQ(GetProfileEntries(QStringLiteral("KeywordsHistory")).size(), 1);
    EXPECT_EQ(keywords->findText(QStringLiteral("secret")), -1);
}

TEST_F(QuaerioViewTest, MonitorReportsCompleteOnTheFirstIdleTick)
{
    Open();
    Search(QStringLiteral("plum"));
    // A query on its way counts as loading: wait until every page has navigated.
    ASSERT_TRUE(WaitUntil([&] {
        for (int i = 0; i < 5; ++i) {
            const QStringList urls = Navigations(i);
            if (urls.isEmpty() || !urls.last().contains(u"plum"))
                return false;
        }
        return true;
    }));

    // Pages still loading: the search goes on.
    for (int i = 0; i < 4; ++i)
        browsers.Control(i)->FinishNavigation();
    view->OnTimer(1);
    EXPECT_TRUE(view->SearchRun().IsSearching() && view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching plum"));
    EXPECT_FALSE(Ctl(IDC_BTN_SEARCH)->isEnabled());

    // The last page is done: the next tick completes.
    browsers.Control(4)->FinishNavigation();
    view->OnTimer(1);
    EXPECT_FALSE(view->SearchRun().IsSearching() || view->SearchRun().IsAnimating() || view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->AnimateCtrl()->CurrentFrame(), 0);
    EXPECT_EQ(view->StatusText(), QStringLiteral("Complete"));
    EXPECT_TRUE(Ctl(IDC_BTN_SEARCH)->isEnabled() && !Ctl(IDC_BTN_STOP)->isEnabled());

    // A link followed later: busy again, animation, controls stay enabled.
    browsers.Control(3)->SetBusy(true);
    view->OnTimer(1);
    EXPECT_TRUE(view->SearchRun().IsSearching() && view->AnimateCtrl()->IsPlaying());
    EXPECT_TRUE(Ctl(IDC_CBO_LANGUAGE)->isEnabled());
    EXPECT_EQ(view->StatusText(), QStringLiteral("Complete"));
}

TEST_F(QuaerioViewTest, PrintingOffersTheDialogsOverBlankPages)
{
    Open();
    int previewPages = -1;
    bool printDialogShown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *preview = modal->findChild<QPrintPreviewWidget *>())
            previewPages = preview->pageCount();
        printDialogShown = printDialogShown || qobject_cast<QPrintDialog *>(modal) != nullptr;
        qobject_cast<QDialog *>(modal)->reject();
    });
    poll.start(20);

    view->CommandTarget().Execute(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(previewPages, 1);
    view->CommandTarget().Execute(ID_FILE_PRINT);
    EXPECT_TRUE(printDialogShown);
}

TEST_F(QuaerioViewTest, EnterSearchesExactlyWhatWasTypedAndItHeadsTheHistory)
{
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 1);
    WriteProfileInt(kSettings, QStringLiteral("KeywordsHisCount"), 16);
    WriteProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1"), QStringLiteral("green tea"));
    WriteProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("2"), QStringLiteral("K3"));
    Open();
    ShowView();
    auto *keywords = Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS);
    QLineEdit *edit = keywords->lineEdit();
    ASSERT_EQ(QApplication::focusWidget(), keywords);

    // Typing a prefix of an entry, or an entry in another letter case, and
    // pressing Enter searches the typed text: the box never completes it.
    for (const QString &typed : QStringList{QStringLiteral("gr"), QStringLiteral("k3")}) {
        edit->clear();
        QTest::keyClicks(keywords, typed);
        EXPECT_EQ(edit->text(), typed);
        QTest::keyClick(keywords, Qt::Key_Return);
        EXPECT_EQ(view->SearchRun().Keywords(), typed);
        // Every engine receives the typed text.
        const QStringList urls = {u"alpha?q=%1"_qs, u"beta/%1"_qs, u"gamma?q=%1&lang=en"_qs, u"delta?q=%1"_qs,
                                  u"epsilon?q=%1"_qs};
        const auto received = [&] {
            for (int i = 0; i < 5; ++i) {
                if (Navigations(i).last() != QStringLiteral("http://127.0.0.1:9/") + urls.at(i).arg(typed))
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(WaitUntil(received)) << typed.toStdString();
        QTest::mouseClick(Ctl(IDC_BTN_STOP), Qt::LeftButton);
        keywords->setFocus();
    }
    // The letter case just typed wins over the stored entry.
    EXPECT_EQ(GetProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1")), QStringLiteral("k3"));
    EXPECT_EQ(keywords->itemText(0), QStringLiteral("k3"));
    EXPECT_EQ(keywords->findText(QStringLiteral("K3"), Qt::MatchFixedString | Qt::MatchCaseSensitive), -1);
}

TEST_F(QuaerioViewTest, AnotherCategoryOrLanguageShowsTheHighlightedTabsPage)
{
    Open();
    ShowView();
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    const auto clickTab = [tabs](int index) { QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center()); };
    clickTab(3);
    ASSERT_EQ(ShownPage(), Page(3));

    Choose(Ctl<QComboBox>(IDC_CBO_CATEGORY), 1);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_EQ(ShownPage(), Page(0));
    EXPECT_EQ(view->CurrentBrowser(), Page(0));
    EXPECT_TRUE(FillsThePageArea(Page(0)));
    // Clicking the highlighted tab keeps showing its page, and the page
    // commands act on it.
    clickTab(0);
    EXPECT_EQ(ShownPage(), Page(0));
    browsers.ClearLog();
    view->OnRefresh();
    EXPECT_EQ(browsers.Log(), QStringList({QStringLiteral("0: Refresh")}));

    clickTab(2);
    Choose(Ctl<QComboBox>(IDC_CBO_LANGUAGE), 1);
    EXPECT_EQ(ShownPage(), Page(0));
    EXPECT_EQ(view->CurrentBrowser(), Page(0));
}

TEST_F(QuaerioViewTest, FocusReturnsToTheKeywordBoxAfterSearchAndStop)
{
    Open();
    ShowView();
    auto *keywords = Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS);
    auto *search = Ctl<QPushButton>(IDC_BTN_SEARCH);
    auto *stop = Ctl<QPushButton>(IDC_BTN_STOP);
    const auto keywordsFocused = [keywords] { return QApplication::focusWidget() == keywords; };
    keywords->setEditText(QStringLiteral("fig"));

    search->setFocus();
    QTest::keyClick(search, Qt::Key_Space);
    ASSERT_TRUE(view->SearchRun().IsSearching());
    EXPECT_TRUE(keywordsFocused());

    stop->setFocus();
    QTest::keyClick(stop, Qt::Key_Space);
    ASSERT_FALSE(view->SearchRun().IsSearching());
    EXPECT_TRUE(keywordsFocused());

    // So the user refines the keywords and searches again by typing alone.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" jam"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(view->SearchRun().IsSearching());
    EXPECT_EQ(view->SearchRun().Keywords(), QStringLiteral("fig jam"));
}

TEST_F(QuaerioViewTest, WithManyEnginesEveryTabIsReachableAndBothScrollArrowsShow)
{
    QString catalogue = QStringLiteral("[LANGUAGES]\nLanguages=English\n[CATEGORYS]\nEnglish=Many\n[English]\nMany=");
    QString engines;
    constexpr int kEngines = 32;
    for (int i = 0; i < kEngines; ++i) {
        catalogue += QStringLiteral("M%1;").arg(i);
        engines += QStringLiteral("[M%1]\nName=Engine number %1\nURL=http://127.0.0.1:9/m%1?q=*\n").arg(i);
    }
    catalogue.chop(1);
    WriteCatalogue(catalogue + u'\n' + engines);
    Open();
    ShowView({480, 320});
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    ASSERT_EQ(tabs->count(), kEngines);

    auto *left = tabs->findChild<QToolButton *>(QStringLiteral("ScrollLeftButton"));
    auto *right = tabs->findChild<QToolButton *>(QStringLiteral("ScrollRightButton"));
    ASSERT_TRUE(left && right);
    for (QToolButton *arrow : {left, right}) {
        const QRect inView(arrow->mapTo(view.get(), QPoint(0, 0)), arrow->size());
        EXPECT_TRUE(arrow->isVisible() && view->rect().contains(inView)) << inView.x() << '+' << inView.width();
    }

    // The right arrow scrolls until the last tab is wholly in sight, left of the arrows.
    for (int i = 0; i < kEngines && right->isEnabled(); ++i)
        QTest::mouseClick(right, Qt::LeftButton);
    EXPECT_FALSE(right->isEnabled());
    const QRect last = tabs->tabRect(kEngines - 1);
    EXPECT_GE(last.left(), 0);
    EXPECT_LT(last.right(), std::min(left->x(), right->x()));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, last.center());
    EXPECT_EQ(ShownPage(), Page(kEngines - 1));
    // The pages keep their rectangle, wider than the tab row.
    EXPECT_TRUE(FillsThePageArea(Page(kEngines - 1)));
}

TEST_F(QuaerioViewTest, ShowLatestPutsTheNewestKeywordInTheBoxCutTo260Characters)
{
    const QString newest = QString(259, u'n') + QStringLiteral("XYZ") + QString(40, u'm');
    WriteProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1"), newest);
    WriteProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("2"), QStringLiteral("older"));
    CAppSettings *settings = GetAppSettings();
    settings->m_bShowLatestKeyword = 1;
    Open();
    auto *keywords = Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS);
    EXPECT_EQ(keywords->currentText(), QString(259, u'n') + u'X');
    EXPECT_EQ(keywords->count(), 2);

    // Without show-latest the box starts empty over the same drop-down; with
    // the history off, show-latest is not looked at.
    settings->m_bShowLatestKeyword = 0;
    Open();
    EXPECT_TRUE(Ctl<QComboBox>(IDC_CBO_KEYWORDS)->currentText().isEmpty());
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_KEYWORDS)->count(), 2);
    settings->m_bShowLatestKeyword = 1;
    settings->m_bPreservedKeywords = 0;
    Open();
    EXPECT_TRUE(Ctl<QComboBox>(IDC_CBO_KEYWORDS)->currentText().isEmpty());
    EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_KEYWORDS)->count(), 0);

    // What the box shows is what a search sends.
    settings->m_bPreservedKeywords = 1;
    Open();
    view->OnSearch();
    EXPECT_EQ(view->SearchRun().Keywords(), QString(259, u'n') + u'X');
}

namespace
{
using EMark = CEngineProgress::EMark;

const QString kChoice = QStringLiteral("EngineChoice");
} // namespace

TEST_F(QuaerioViewTest, ProgressCellsAndTabMarksFollowEachPageThroughLoadFailureAndStop)
{
    Open();
    browsers.Control(0)->FinishNavigation();
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    const auto *states = view->findChild<CEngineStates *>();
    EXPECT_EQ(ColumnTexts(list, 1), QStringList(5, QStringLiteral("100%")));
    EXPECT_TRUE(tabs->tabIcon(1).isNull());
    EXPECT_EQ(tabs->tabToolTip(1), QStringLiteral("Beta"));

    Search(QStringLiteral("fig"));
    EXPECT_EQ(ColumnTexts(list, 1), QStringList(5, QStringLiteral("0%")));
    ASSERT_TRUE(WaitUntil([&] { return browsers.NavigationLog().filter(u"fig").size() == 5; }));
    browsers.Control(1)->ReportProgress(40);
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("40%"));
    EXPECT_EQ(states->Progress(1)->Mark(), EMark::Loading);
    EXPECT_FALSE(tabs->tabIcon(1).isNull());

    browsers.Control(1)->FinishNavigation(200);
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("100%"));
    EXPECT_EQ(states->Progress(1)->Mark(), EMark::Done);
    const QStringList tip = tabs->tabToolTip(1).split(u'\n');
    ASSERT_EQ(tip.size(), 4) << tabs->tabToolTip(1).toStdString();
    EXPECT_EQ(tip.mid(0, 3), QStringList({QStringLiteral("Beta"), QStringLiteral("http://127.0.0.1:9/beta/fig"),
                                          QStringLiteral("HTTP 200")}));
    EXPECT_TRUE(tip.at(3).endsWith(u" ms"));

    browsers.Control(2)->FailNavigation(QStringLiteral("The server refused the connection."));
    EXPECT_EQ(list->item(2, 1)->text(), QStringLiteral("Failed"));
    EXPECT_EQ(states->Progress(2)->Mark(), EMark::Failed);
    EXPECT_TRUE(tabs->tabToolTip(2).contains(u"The server refused the connection."));

    // The user's stop: what had not ended reads "Stopped" and loses its mark.
    view->OnStop();
    EXPECT_EQ(ColumnTexts(list, 1), QStringList({QStringLiteral("Stopped"), QStringLiteral("100%"), QStringLiteral("Failed"),
                                                 QStringLiteral("Stopped"), QStringLiteral("Stopped")}));
    EXPECT_EQ(states->Progress(0)->Mark(), EMark::None);
    // Every page passed its engine's name to its control.
    EXPECT_EQ(browsers.Control(4)->EngineName(), QStringLiteral("Epsilon"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(QuaerioViewTest, CompleteFollowsTheLastPageWithoutWaitingForTheTick)
{
    Open();
    browsers.Control(0)->FinishNavigation();
    // No tick at all: only the pages' own ends can complete the search.
    view->KillTimer(1);
    Search(QStringLiteral("plum"));
    ASSERT_TRUE(WaitUntil([&] { return browsers.NavigationLog().filter(u"plum").size() == 5; }));
    for (int i = 0; i < 4; ++i)
        browsers.Control(i)->FinishNavigation();
    QCoreApplication::processEvents();
    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching plum"));

    browsers.Control(4)->FailNavigation(QStringLiteral("no"));
    ASSERT_TRUE(WaitUntil([&] { return view->StatusText() == QStringLiteral("Complete"); }, 1000));
    EXPECT_FALSE(view->SearchRun().IsSearching() || view->AnimateCtrl()->IsPlaying());
    EXPECT_TRUE(Ctl(IDC_BTN_SEARCH)->isEnabled());
}

TEST_F(QuaerioViewTest, AnAskedPageThatNeverAnswersTimesOutAndTheSearchCompletes)
{
    Open();
    auto *states = view->findChild<CEngineStates *>();
    states->SetTimeLimitMs(50);
    view->LoadEngines();
    view->KillTimer(1);
    // Only Gamma is asked; the others are blanked and skipped.
    states->Choice().TickAll(false);
    Ctl<QTableWidget>(IDC_LST_ENGINES)->item(2, 0)->setCheckState(Qt::Checked);
    browsers.ClearLog();
    Search(QStringLiteral("kiwi"));
    for (int i : {0, 1, 3, 4})
        browsers.Control(i)->FinishNavigation();

    ASSERT_TRUE(WaitUntil([&] { return view->StatusText() == QStringLiteral("Complete"); }, 5000));
    EXPECT_EQ(ColumnTexts(Ctl<QTableWidget>(IDC_LST_ENGINES), 1),
              QStringList({QStringLiteral("Skipped"), QStringLiteral("Skipped"), QStringLiteral("Timed out"),
                           QStringLiteral("Skipped"), QStringLiteral("Skipped")}));
    EXPECT_EQ(states->Progress(2)->Mark(), EMark::Failed);
    const QStringList calls = browsers.Control(2)->Calls();
    EXPECT_EQ(calls.mid(calls.size() - 2), QStringList({QStringLiteral("Stop"),
                                                        QStringLiteral("ShowLoadFailure No answer within 0.05 seconds.")}));
    for (int i : {0, 1, 3, 4})
        EXPECT_TRUE(Navigations(i).filter(u"kiwi").isEmpty()) << i;
}

// A page the user goes to after the search (a link followed) is the user's:
// the toolbar hears of its start and end at once, and it is never stopped
// for being slow.
TEST_F(QuaerioViewTest, ALinkFollowedInAPageIsTheUsersLoad)
{
    Open();
    auto *states = view->findChild<CEngineStates *>();
    states->SetTimeLimitMs(50);
    view->LoadEngines();
    view->KillTimer(1);
    CRecordingBrowserControl *page = browsers.Control(0);
    page->FinishNavigation();
    QSignalSpy commands(view.get(), &CQuaerioView::CommandStateChanged);
    page->ClearCalls();

    page->FollowLink(QStringLiteral("http://127.0.0.1:9/alpha/next"));
    EXPECT_EQ(commands.count(), 1);
    // Many times the time limit.
    EXPECT_FALSE(WaitUntil([&] { return !page->Calls().isEmpty(); }, 500)) << page->Calls().join(u' ').toStdString();
    EXPECT_EQ(states->Progress(0)->State(), CEngineProgress::EState::Loading);
    const qsizetype told = commands.count();
    page->FinishNavigation();
    EXPECT_GT(commands.count(), told);
    EXPECT_EQ(states->Progress(0)->State(), CEngineProgress::EState::Loaded);
}

TEST_F(QuaerioViewTest, TicksChooseTheEnginesAskedAndAreKeptBySectionName)
{
    Open();
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    {
        ProfileWriteRecorder writes;
        list->item(1, 0)->setCheckState(Qt::Unchecked);
        EXPECT_EQ(writes.syncs(), 1);
    }
    EXPECT_EQ(GetProfileInt(kChoice, QStringLiteral("English:Web:E1"), -1), 0);
    EXPECT_EQ(GetProfileInt(kChoice, QStringLiteral("English:Web:E0"), -1), 1);
    browsers.Control(0)->FinishNavigation();
    Search(QStringLiteral("fig"));
    ASSERT_TRUE(WaitUntil([&] { return browsers.NavigationLog().filter(u"fig").size() == 4; }));
    EXPECT_EQ(Navigations(1).last(), QStringLiteral("about:blank"));
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("Skipped"));
    view->OnStop();

    // The catalogue reordered, a new view: the tick follows Beta's section,
    // and another category keeps ticks of its own.
    QFile file(GetCatalogFile()->m_szPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    WriteCatalogue(QString::fromUtf8(file.readAll()).replace(QStringLiteral("Web=E0;E1;"), QStringLiteral("Web=E1;E0;")));
    Open();
    list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("Beta"));
    EXPECT_EQ(list->item(0, 0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Checked);
    Choose(Ctl<QComboBox>(IDC_CBO_CATEGORY), 1);
    for (int row = 0; row < list->rowCount(); ++row)
        EXPECT_EQ(list->item(row, 0)->checkState(), Qt::Checked) << row;

    // Untick all from the context menu: a search is refused with a message.
    const QList<QAction *> actions = view->findChild<CEngineStates *>()->Choice().ContextMenu()->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions.at(0)->text(), QStringLiteral("Tick all"));
    {
        ProfileWriteRecorder writes;
        actions.at(1)->trigger();
        EXPECT_EQ(writes.syncs(), 1);
    }
    EXPECT_EQ(GetProfileInt(kChoice, QStringLiteral("English:Small:S2"), -1), 0);
    browsers.ClearLog();
    Search(QStringLiteral("fig"));
    EXPECT_EQ(boxes.texts(), QStringList({QStringLiteral("Please tick at least one engine to search !")}));
    EXPECT_TRUE(browsers.Log().isEmpty());
    EXPECT_FALSE(view->SearchRun().IsSearching());
    actions.at(0)->trigger();
    EXPECT_TRUE(view->findChild<CEngineStates *>()->NotAsked().isEmpty());
}

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
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

#include "browsers/ResultBrowser.h"
#include "catalogue/CatalogFile.h"
#include "platform/ModulePaths.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"
#include "workspace/AnimateCtrl.h"
#include "workspace/EngineStates.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/QuaerioView.h"
#include "workspace/TabCtrl.h"

namespace
{
const QString kSettings = QStringLiteral("Settings");
const QString kHistory = QStringLiteral("KeywordsHistory");
using EMark = CEngineProgress::EMark;

QStringList ColumnTexts(const QTableWidget *list, int column)
{
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row)
        texts.append(list->item(row, column) ? list->item(row, column)->text() : QString());
    return texts;
}

// The engines "Engine <section>" of "http://127.0.0.1:9/<section>?q=*",
// but E1 takes its keywords in the path, E2 has a second parameter and NoUrl
// has no address. Orphan has no "CATEGORYS" entry, so its one category
// reads "Error!".
QString Catalogue()
{
    const auto url = [](const QString &section) -> QString {
        if (section == u"NoUrl")
            return QString();
        return QStringLiteral("http://127.0.0.1:9/") + section + (section == u"E1" ? u"/*"_qs : u"?q=*"_qs)
            + (section == u"E2" ? u"&lang=en"_qs : QString());
    };
    return CatalogueText(QStringLiteral("English/Web=E0 E1 E2 E3 E4;English/Small=S0 S1 S2;English/Broken=E0 NoUrl E2;"
                                        "Deutsch/Netz=D0 D1"),
                         {}, url)
               .replace(u"Languages=English;Deutsch"_qs, u"Languages=English;Deutsch;Orphan"_qs)
        + u"[Orphan]\nError!=E3\n"_qs;
}

QStringList Engines(const QStringList &sections)
{
    QStringList names;
    for (const QString &section : sections)
        names.append(u"Engine " + section);
    return names;
}

// A view (a window of its own) over the catalogue above in a temporary
// folder, with settings in a temporary profile, recorded message boxes and
// recording browser controls.
class QuaerioViewTest : public ::testing::Test
{
protected:
    QuaerioViewTest()
    {
        browsers.Install();
        DestroyAppSettings();
        UseCatalogue(m_dir.path(), Catalogue());
    }
    ~QuaerioViewTest() override
    {
        view.reset();
        DestroyAppSettings();
        DestroyCatalogFile();
    }

    // Replaces the view by a new one after its initial update.
    void Open()
    {
        view.reset();
        view = std::make_unique<CQuaerioView>();
        view->OnInitialUpdate();
    }
    template <typename T = QWidget>
    T *Ctl(int id) const { return ::Ctl<T>(view.get(), id); }
    CResultBrowser *Page(int index) const { return view->Browsers().GetBrowser(index); }
    QStringList Navigations(int index) const
    {
        return browsers.Control(index) ? browsers.Control(index)->Navigations() : QStringList();
    }
    // True once `count` pages navigated to a query for `keywords`.
    bool Queried(const QString &keywords, int count) const
    {
        return WaitUntil([&] { return browsers.NavigationLog().filter(keywords).size() == count; });
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
    void ClickTab(int index) const
    {
        auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    QTemporaryDir m_dir;
    TempProfile profile;
    MessageBoxRecorder boxes;
    CRecordingBrowserFactory browsers;
    std::unique_ptr<CQuaerioView> view;
};
} // namespace

TEST_F(QuaerioViewTest, AFreshViewShowsTheFirstCategoryWithEveryEngineTickedAndTheFirstShowPage)
{
    Open();
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    EXPECT_EQ(ColumnTexts(list, 0), Engines({u"E0"_qs, u"E1"_qs, u"E2"_qs, u"E3"_qs, u"E4"_qs}));
    // Page 0 is loading the first-show page; the others read the form's "100%".
    EXPECT_EQ(ColumnTexts(list, 1), QStringList({QStringLiteral("0%")}) + QStringList(4, QStringLiteral("100%")));
    EXPECT_EQ(list->item(2, 2)->text(), Page(2)->QueryTemplate());
    EXPECT_TRUE(Page(4)->m_bActive && list->item(4, 0)->checkState() == Qt::Checked);
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
    EXPECT_EQ(ColumnTexts(list, 0), Engines({u"S0"_qs, u"S1"_qs, u"S2"_qs}));
    EXPECT_EQ(tabs->count(), 3);
    for (int i : {3, 4}) {
        EXPECT_FALSE(Page(i)->m_bActive) << i;
        EXPECT_EQ(Page(i)->GetLocationURL(), QStringLiteral("about:blank"));
    }
    // Choosing the entry already selected reloads nothing.
    browsers.ClearLog();
    Choose(category, 1);
    EXPECT_TRUE(browsers.Log().isEmpty());

    // Another language always starts with its first category.
    Choose(language, 1);
    EXPECT_EQ(category->currentText(), QStringLiteral("Netz"));
    EXPECT_EQ(ColumnTexts(list, 0), Engines({u"D0"_qs, u"D1"_qs}));
    // A language without a categories entry gets the one category "Error!",
    // whose engines are read from key "Error!" of the language's section.
    Choose(language, 2);
    EXPECT_EQ(category->count(), 1);
    EXPECT_EQ(category->itemText(0), QStringLiteral("Error!"));
    EXPECT_EQ(ColumnTexts(list, 0), Engines({u"E3"_qs}));
    EXPECT_TRUE(boxes.texts().isEmpty());

    // An engine without URL: the message, loading stops there, no tab selected.
    Choose(language, 0);
    Choose(category, 2);
    EXPECT_EQ(boxes.texts(), QStringList({QStringLiteral("Initial GUI control failed !")}));
    EXPECT_EQ(ColumnTexts(list, 0), Engines({u"E0"_qs, u"NoUrl"_qs}));
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->GetCurSel(), -1);
    EXPECT_TRUE(Page(0)->m_bActive);
    EXPECT_FALSE(Page(1)->m_bActive || Page(2)->m_bActive);

    // A search with no tab selected still searches every active page; the
    // page shown is the pool's inactive page of index -1, which stays empty.
    Search(QStringLiteral("kiwi"));
    ASSERT_TRUE(Queried(QStringLiteral("?q=kiwi"), 1));
    EXPECT_EQ(view->CurrentBrowser(), Page(-1));
    EXPECT_TRUE(Navigations(-1).isEmpty());
    ClickTab(1);
    EXPECT_EQ(view->CurrentBrowser(), Page(1));
}

TEST_F(QuaerioViewTest, StoredIndexesOutsideTheCatalogueAndCatalogueFailuresKeepTheForm)
{
    for (const auto &[languageIndex, categoryIndex, expected] : {std::tuple{7, -3, "Web"}, std::tuple{1, 2, "Netz"}}) {
        WriteProfileInt(kSettings, QStringLiteral("CurLanguageIndex"), languageIndex);
        WriteProfileInt(kSettings, QStringLiteral("CurCategoryIndex"), categoryIndex);
        Open();
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentText(), QLatin1String(expected));
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentIndex(), 0);
    }
    EXPECT_TRUE(boxes.texts().isEmpty());

    // No languages at all: the initial update stops after the message.
    UseCatalogue(m_dir.path(), QStringLiteral("[LANGUAGES]\nLanguages=\n"));
    Open();
    EXPECT_EQ(boxes.texts(), QStringList({QStringLiteral("Initial GUI control failed !")}));
    EXPECT_FALSE(view->SearchRun().IsMonitorActive());
    // An empty categories entry: the Category box stays empty, no engines.
    UseCatalogue(m_dir.path(), QStringLiteral("[LANGUAGES]\nLanguages=Solo\n[CATEGORYS]\nSolo=\n"));
    Open();
    EXPECT_EQ(boxes.texts().size(), 2);
    EXPECT_EQ(Ctl<CTabCtrl>(IDC_TAB_ENGINES)->count(), 0);
    EXPECT_TRUE(view->SearchRun().IsMonitorActive());
}

TEST_F(QuaerioViewTest, LayoutFollowsTheWindowAndTheExtendButtonAndTheTabShownFollowsTheChoice)
{
    Open();
    ShowView();
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
    Click(extend);
    EXPECT_TRUE(extend->text() == QStringLiteral("-") && list->isVisible());
    EXPECT_EQ(tabs->y(), list->geometry().bottom() + 1);
    EXPECT_TRUE(FillsThePageArea(Page(1)));
    Click(extend);
    EXPECT_TRUE(tabs->y() == collapsedTop && !list->isVisible());

    // A new tab's page is shown at the current size and the old one shrinks
    // to nothing.
    ClickTab(3);
    EXPECT_EQ(ShownPage(), Page(3));
    EXPECT_EQ(Page(0)->geometry(), QRect(0, 0, 0, 0));
    EXPECT_TRUE(FillsThePageArea(Page(3)));

    // Another category or language shows the highlighted tab's page.
    Choose(Ctl<QComboBox>(IDC_CBO_CATEGORY), 1);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_EQ(ShownPage(), Page(0));
    EXPECT_TRUE(FillsThePageArea(Page(0)));
    ClickTab(2);
    Choose(Ctl<QComboBox>(IDC_CBO_LANGUAGE), 1);
    EXPECT_EQ(ShownPage(), Page(0));
    EXPECT_EQ(view->CurrentBrowser(), Page(0));
}

TEST_F(QuaerioViewTest, SearchBlanksThenQueriesEveryActivePageAndStopEndsIt)
{
    Open();
    auto *keywords = Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS);
    Ctl<CTabCtrl>(IDC_TAB_ENGINES)->SetCurSel(2);
    browsers.ClearLog();

    // Blank keywords are refused.
    keywords->setEditText(QStringLiteral("  \t "));
    Click(Ctl(IDC_BTN_SEARCH));
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
    for (int id : {IDC_CBO_LANGUAGE, IDC_CBO_CATEGORY, IDC_BTN_SEARCH, IDC_LST_ENGINES, IDC_BTN_STOP})
        EXPECT_EQ(Ctl(id)->isEnabled(), id == IDC_BTN_STOP) << id;

    // Every active page is blanked in the pool's walk order (4 .. 0) before any query.
    ASSERT_TRUE(WaitUntil([&] { return browsers.NavigationLog().size() == 10; }));
    QStringList log = browsers.NavigationLog();
    QStringList expected;
    for (int i = 4; i >= 0; --i)
        expected.append(QStringLiteral("%1: Navigate about:blank").arg(i));
    for (const char *url : {"E0?q=green tea", "E1/green tea", "E2?q=green tea&lang=en", "E3?q=green tea", "E4?q=green tea"})
        expected.append(QStringLiteral("%1: Navigate http://127.0.0.1:9/").arg(expected.size() - 5) + QLatin1String(url));
    std::sort(log.begin() + 5, log.end());
    EXPECT_EQ(log, expected);

    // The selected tab's page is shown on top; the keywords went to the history.
    EXPECT_EQ(view->children().last(), Page(2));
    EXPECT_EQ(GetProfileString(kHistory, QStringLiteral("1")), QStringLiteral("green tea"));

    // "S&top" stops every busy page and the animation; the status stays.
    view->OnStop();
    EXPECT_FALSE(view->SearchRun().IsSearching() || view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching green tea"));
    EXPECT_TRUE(browsers.Control(4)->Calls().contains(QStringLiteral("Stop")));

    // History switched off: searching writes nothing more.
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 0);
    Search(QStringLiteral("secret"));
    EXPECT_TRUE(view->SearchRun().IsSearching());
    EXPECT_EQ(GetProfileEntries(kHistory).size(), 1);
    EXPECT_EQ(keywords->findText(QStringLiteral("secret")), -1);
}

TEST_F(QuaerioViewTest, TheLastPagesEndOrTheTickCompletesTheSearchAndALinkFollowedLaterAnimatesAgain)
{
    Open();
    browsers.Control(0)->FinishNavigation();
    view->KillTimer(1);
    Search(QStringLiteral("plum"));
    // A query on its way counts as loading: wait until every page has navigated.
    ASSERT_TRUE(Queried(QStringLiteral("plum"), 5));
    for (int i = 0; i < 4; ++i)
        browsers.Control(i)->FinishNavigation();
    view->OnTimer(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->SearchRun().IsSearching() && view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching plum"));
    // Without the tick the last page's end completes the search.
    browsers.Control(4)->FailNavigation(QStringLiteral("no"));
    ASSERT_TRUE(WaitUntil([&] { return view->StatusText() == QStringLiteral("Complete"); }));
    EXPECT_FALSE(view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->AnimateCtrl()->CurrentFrame(), 0);
    EXPECT_TRUE(Ctl(IDC_BTN_SEARCH)->isEnabled() && !Ctl(IDC_BTN_STOP)->isEnabled());

    // A link followed later: busy again, animation, controls stay enabled;
    // its end, silent, is seen by the tick.
    browsers.Control(3)->SetBusy(true);
    view->OnTimer(1);
    EXPECT_TRUE(view->SearchRun().IsSearching() && view->AnimateCtrl()->IsPlaying());
    EXPECT_TRUE(Ctl(IDC_CBO_LANGUAGE)->isEnabled());
    browsers.Control(3)->SetBusy(false);
    view->OnTimer(1);
    EXPECT_FALSE(view->SearchRun().IsSearching() || view->AnimateCtrl()->IsPlaying());
}

TEST_F(QuaerioViewTest, EnterSearchesExactlyWhatWasTypedAndTheFocusComesBackToTheKeywords)
{
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 1);
    WriteProfileInt(kSettings, QStringLiteral("KeywordsHisCount"), 16);
    WriteProfileString(kHistory, QStringLiteral("1"), QStringLiteral("green tea"));
    WriteProfileString(kHistory, QStringLiteral("2"), QStringLiteral("K3"));
    Open();
    ShowView();
    auto *keywords = Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS);
    ASSERT_EQ(QApplication::focusWidget(), keywords);

    // Typing a prefix of an entry, or an entry in another letter case, and
    // pressing Enter searches the typed text: the box never completes it.
    // "S&top", pressed, gives the focus back to the keywords.
    for (const QString &typed : {QStringLiteral("gr"), QStringLiteral("k3")}) {
        keywords->lineEdit()->clear();
        QTest::keyClicks(keywords, typed);
        QTest::keyClick(keywords, Qt::Key_Return);
        EXPECT_EQ(view->SearchRun().Keywords(), typed);
        EXPECT_TRUE(Queried(u"?q=" + typed, 4)) << typed.toStdString();
        EXPECT_EQ(Navigations(1).last(), u"http://127.0.0.1:9/E1/" + typed);
        Ctl(IDC_BTN_STOP)->setFocus();
        QTest::keyClick(Ctl(IDC_BTN_STOP), Qt::Key_Space);
        EXPECT_EQ(QApplication::focusWidget(), keywords);
    }
    // The letter case just typed wins over the stored entry.
    EXPECT_EQ(GetProfileString(kHistory, QStringLiteral("1")), QStringLiteral("k3"));
    EXPECT_EQ(keywords->findText(QStringLiteral("K3"), Qt::MatchFixedString | Qt::MatchCaseSensitive), -1);

    // "&Search" pressed gives the focus back too, so the user refines the
    // keywords and searches again by typing alone.
    Ctl(IDC_BTN_SEARCH)->setFocus();
    QTest::keyClick(Ctl(IDC_BTN_SEARCH), Qt::Key_Space);
    view->OnStop();
    EXPECT_EQ(QApplication::focusWidget(), keywords);
    QTest::keyClicks(keywords, QStringLiteral(" jam"));
    QTest::keyClick(keywords, Qt::Key_Return);
    EXPECT_EQ(view->SearchRun().Keywords(), QStringLiteral("k3 jam"));
}

TEST_F(QuaerioViewTest, WithManyEnginesEveryTabIsReachableAndBothScrollArrowsShow)
{
    constexpr int kEngines = 32;
    QStringList sections;
    for (int i = 0; i < kEngines; ++i)
        sections.append(QStringLiteral("M%1").arg(i));
    UseCatalogue(m_dir.path(), CatalogueText(u"English/Many=" + sections.join(u' ')));
    Open();
    ShowView({480, 320});
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
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
    const QRect last = tabs->tabRect(kEngines - 1);
    EXPECT_GE(last.left(), 0);
    EXPECT_LT(last.right(), std::min(left->x(), right->x()));
    ClickTab(kEngines - 1);
    EXPECT_EQ(ShownPage(), Page(kEngines - 1));
    EXPECT_TRUE(FillsThePageArea(Page(kEngines - 1)));
}

TEST_F(QuaerioViewTest, ShowLatestPutsTheNewestKeywordInTheBoxCutTo260Characters)
{
    const QString newest = QString(259, u'n') + QStringLiteral("XYZ");
    WriteProfileString(kHistory, QStringLiteral("1"), newest);
    WriteProfileString(kHistory, QStringLiteral("2"), QStringLiteral("older"));
    CAppSettings *settings = GetAppSettings();
    // {show latest, history kept} → what the box shows, how many entries it offers
    const struct
    {
        int nShowLatest, nPreserved;
        QString strShown;
        int nEntries;
    } cases[] = {{1, 1, QString(259, u'n') + u'X', 2}, {0, 1, QString(), 2}, {1, 0, QString(), 0}};
    for (const auto &each : cases) {
        settings->m_bShowLatestKeyword = each.nShowLatest;
        settings->m_bPreservedKeywords = each.nPreserved;
        Open();
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_KEYWORDS)->currentText(), each.strShown);
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_KEYWORDS)->count(), each.nEntries);
    }
    // What the box shows is what a search sends.
    settings->m_bPreservedKeywords = 1;
    Open();
    view->OnSearch();
    EXPECT_EQ(view->SearchRun().Keywords(), QString(259, u'n') + u'X');
}

TEST_F(QuaerioViewTest, ProgressCellsAndTabMarksFollowEachPageThroughLoadFailureAndStop)
{
    Open();
    browsers.Control(0)->FinishNavigation();
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    const auto *states = view->findChild<CEngineStates *>();
    EXPECT_TRUE(tabs->tabIcon(1).isNull());

    Search(QStringLiteral("fig"));
    EXPECT_EQ(ColumnTexts(list, 1), QStringList(5, QStringLiteral("0%")));
    ASSERT_TRUE(Queried(QStringLiteral("fig"), 5));
    browsers.Control(1)->ReportProgress(40);
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("40%"));
    EXPECT_EQ(states->Progress(1)->Mark(), EMark::Loading);
    EXPECT_FALSE(tabs->tabIcon(1).isNull());

    browsers.Control(1)->FinishNavigation(200);
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("100%"));
    EXPECT_EQ(states->Progress(1)->Mark(), EMark::Done);
    EXPECT_TRUE(tabs->tabToolTip(1).startsWith(u"Engine E1\nhttp://127.0.0.1:9/E1/fig\nHTTP 200\n")) << tabs->tabToolTip(1).toStdString();

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
    EXPECT_EQ(browsers.Control(4)->EngineName(), QStringLiteral("Engine E4"));
}

TEST_F(QuaerioViewTest, AnAskedPageThatNeverAnswersTimesOutAndTheSearchCompletes)
{
    Open();
    auto *states = view->findChild<CEngineStates *>();
    // Only E2 is asked, so only the page that hangs has the short limit to meet.
    states->SetTimeLimitMs(50);
    view->LoadEngines();
    view->KillTimer(1);
    states->Choice().TickAll(false);
    Ctl<QTableWidget>(IDC_LST_ENGINES)->item(2, 0)->setCheckState(Qt::Checked);
    Search(QStringLiteral("kiwi"));
    for (int i : {0, 1, 3, 4})
        browsers.Control(i)->FinishNavigation();

    ASSERT_TRUE(WaitUntil([&] { return view->StatusText() == QStringLiteral("Complete"); }));
    EXPECT_EQ(ColumnTexts(Ctl<QTableWidget>(IDC_LST_ENGINES), 1),
              QStringList({QStringLiteral("Skipped"), QStringLiteral("Skipped"), QStringLiteral("Timed out"),
                           QStringLiteral("Skipped"), QStringLiteral("Skipped")}));
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
    // A timer started after the limit's fires after it: no limit ran out.
    bool later = false;
    QTimer::singleShot(100, view.get(), [&later] { later = true; });
    ASSERT_TRUE(WaitUntil([&later] { return later; }));
    EXPECT_TRUE(page->Calls().isEmpty()) << page->Calls().join(u' ').toStdString();
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
    EXPECT_EQ(GetProfileInt(QStringLiteral("EngineChoice"), QStringLiteral("English:Web:E1"), -1), 0);
    browsers.Control(0)->FinishNavigation();
    Search(QStringLiteral("fig"));
    ASSERT_TRUE(Queried(QStringLiteral("fig"), 4));
    EXPECT_EQ(Navigations(1).last(), QStringLiteral("about:blank"));
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("Skipped"));
    view->OnStop();

    // The catalogue reordered, a new view: the tick follows E1's section,
    // and another category keeps ticks of its own.
    UseCatalogue(m_dir.path(), Catalogue().replace(u"Web=E0;E1;"_qs, u"Web=E1;E0;"_qs));
    Open();
    list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("Engine E1"));
    EXPECT_EQ(list->item(0, 0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Checked);
    Choose(Ctl<QComboBox>(IDC_CBO_CATEGORY), 1);
    for (int row = 0; row < list->rowCount(); ++row)
        EXPECT_EQ(list->item(row, 0)->checkState(), Qt::Checked) << row;

    // Untick all from the context menu: a search is refused with a message.
    const QList<QAction *> actions = view->findChild<CEngineStates *>()->Choice().ContextMenu()->actions();
    ASSERT_EQ(actions.size(), 2);
    actions.at(1)->trigger();
    EXPECT_EQ(GetProfileInt(QStringLiteral("EngineChoice"), QStringLiteral("English:Small:S2"), -1), 0);
    browsers.ClearLog();
    Search(QStringLiteral("fig"));
    EXPECT_EQ(boxes.texts(), QStringList({QStringLiteral("Please tick at least one engine to search !")}));
    EXPECT_TRUE(browsers.Log().isEmpty());
    actions.at(0)->trigger();
    EXPECT_TRUE(view->findChild<CEngineStates *>()->NotAsked().isEmpty());
}

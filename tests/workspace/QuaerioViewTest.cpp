#include <QAction>
#include <QApplication>
#include <QComboBox>
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

using namespace Qt::StringLiterals;

namespace
{
const QString kSettings = u"Settings"_s;
const QString kHistory = u"KeywordsHistory"_s;
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
        return u"http://127.0.0.1:9/"_s + section + (section == u"E1" ? u"/*"_s : u"?q=*"_s)
            + (section == u"E2" ? u"&lang=en"_s : QString());
    };
    const QString layout = u"English/Web=E0 E1 E2 E3 E4;English/Small=S0 S1 S2;English/Broken=E0 NoUrl E2;Deutsch/Netz=D0 D1"_s;
    return CatalogueText(layout, {}, url).replace(u"Languages=English;Deutsch"_s, u"Languages=English;Deutsch;Orphan"_s)
        + u"[Orphan]\nError!=E3\n"_s;
}

// "Engine <section>" for each of the blank-separated sections.
QStringList Engines(QStringView sections)
{
    QStringList names;
    for (QStringView section : sections.split(u' '))
        names.append(u"Engine " + section);
    return names;
}

// A view (a window of its own) over the catalogue above.
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

TEST_F(QuaerioViewTest, ChangingCategoryAndLanguageRebuildsListTabsAndPagesOrStopsAtAnEmptyUrl)
{
    Open();
    auto *language = Ctl<QComboBox>(IDC_CBO_LANGUAGE);
    auto *category = Ctl<QComboBox>(IDC_CBO_CATEGORY);
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    // Fresh: the first category, every engine ticked; page 0 loads the
    // first-show page, the others read the form's "100%".
    EXPECT_EQ(ColumnTexts(list, 0), Engines(u"E0 E1 E2 E3 E4"));
    EXPECT_EQ(ColumnTexts(list, 1), u"0%|100%|100%|100%|100%"_s.split(u'|'));
    EXPECT_EQ(list->item(2, 2)->text(), Page(2)->QueryTemplate());
    EXPECT_TRUE(Page(4)->m_bActive && list->item(4, 0)->checkState() == Qt::Checked);
    EXPECT_EQ(Navigations(0).last(), g_szFirstShowPath);
    EXPECT_TRUE(view->SearchRun().IsMonitorActive());

    // A category of 3 after one of 5: pages 3 and 4 stay, inactive and blank.
    Choose(category, 1);
    EXPECT_EQ(ColumnTexts(list, 0), Engines(u"S0 S1 S2"));
    EXPECT_EQ(tabs->count(), 3);
    for (int i : {3, 4})
        EXPECT_TRUE(!Page(i)->m_bActive && Page(i)->GetLocationURL() == u"about:blank") << i;
    // Choosing the entry already selected reloads nothing.
    browsers.ClearLog();
    Choose(category, 1);
    EXPECT_TRUE(browsers.Log().isEmpty());

    // Another language always starts with its first category; one without
    // a categories entry gets the one category "Error!", whose engines are
    // read from key "Error!" of the language's section.
    Choose(language, 1);
    EXPECT_EQ(category->currentText(), u"Netz"_s);
    EXPECT_EQ(ColumnTexts(list, 0), Engines(u"D0 D1"));
    Choose(language, 2);
    EXPECT_EQ(category->count(), 1);
    EXPECT_EQ(category->itemText(0), u"Error!"_s);
    EXPECT_EQ(ColumnTexts(list, 0), Engines(u"E3"));
    EXPECT_TRUE(boxes.texts().isEmpty());

    // An engine without URL: the message, loading stops there, no tab selected.
    Choose(language, 0);
    Choose(category, 2);
    EXPECT_EQ(boxes.texts(), QStringList{u"Initial GUI control failed !"_s});
    EXPECT_EQ(ColumnTexts(list, 0), Engines(u"E0 NoUrl"));
    EXPECT_TRUE(tabs->count() == 2 && tabs->GetCurSel() == -1);
    EXPECT_TRUE(Page(0)->m_bActive && !Page(1)->m_bActive && !Page(2)->m_bActive);

    // A search with no tab selected still searches every active page; the
    // page shown is the pool's inactive page of index -1, which stays empty.
    Search(u"kiwi"_s);
    ASSERT_TRUE(Queried(u"?q=kiwi"_s, 1));
    EXPECT_EQ(view->CurrentBrowser(), Page(-1));
    EXPECT_TRUE(Navigations(-1).isEmpty());
    ClickTab(1);
    EXPECT_EQ(view->CurrentBrowser(), Page(1));
}

TEST_F(QuaerioViewTest, StoredIndexesOutsideTheCatalogueAndCatalogueFailuresKeepTheForm)
{
    for (const auto &[languageIndex, categoryIndex, expected] : {std::tuple{7, -3, u"Web"}, std::tuple{1, 2, u"Netz"}}) {
        WriteProfileInt(kSettings, u"CurLanguageIndex"_s, languageIndex);
        WriteProfileInt(kSettings, u"CurCategoryIndex"_s, categoryIndex);
        Open();
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentText(), expected);
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_CATEGORY)->currentIndex(), 0);
    }
    EXPECT_TRUE(boxes.texts().isEmpty());

    // No languages at all: the initial update stops after the message.
    UseCatalogue(m_dir.path(), u"[LANGUAGES]\nLanguages=\n"_s);
    Open();
    EXPECT_EQ(boxes.texts(), QStringList{u"Initial GUI control failed !"_s});
    EXPECT_FALSE(view->SearchRun().IsMonitorActive());
    // An empty categories entry: the Category box stays empty, no engines.
    UseCatalogue(m_dir.path(), u"[LANGUAGES]\nLanguages=Solo\n[CATEGORYS]\nSolo=\n"_s);
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

    // "+" shows the list, moves the tabs under it and every page with them;
    // "-" restores the collapsed layout.
    Click(extend);
    EXPECT_TRUE(extend->text() == u"-" && list->isVisible());
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
    EXPECT_TRUE(ShownPage() == Page(0) && view->CurrentBrowser() == Page(0));
}

TEST_F(QuaerioViewTest, SearchBlanksThenQueriesEveryActivePageAndStopEndsIt)
{
    Open();
    auto *keywords = Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS);
    Ctl<CTabCtrl>(IDC_TAB_ENGINES)->SetCurSel(2);
    browsers.ClearLog();

    // Blank keywords are refused.
    keywords->setEditText(u"  \t "_s);
    Click(Ctl(IDC_BTN_SEARCH));
    EXPECT_EQ(boxes.texts(), QStringList{u"Please input keywords !"_s});
    EXPECT_FALSE(view->SearchRun().IsSearching());
    EXPECT_TRUE(browsers.Log().isEmpty());

    // History kept, as the settings dialog stores it.
    WriteProfileInt(kSettings, u"PreservedKeywords"_s, 1);
    WriteProfileInt(kSettings, u"KeywordsHisCount"_s, 16);
    keywords->clearEditText();
    QTest::keyClicks(keywords, u"   green tea  "_s);
    QTest::keyClick(keywords, Qt::Key_Return);

    EXPECT_EQ(view->StatusText(), u"Searching green tea"_s);
    EXPECT_TRUE(view->SearchRun().IsSearching() && view->AnimateCtrl()->IsPlaying());
    for (int id : {IDC_CBO_LANGUAGE, IDC_CBO_CATEGORY, IDC_BTN_SEARCH, IDC_LST_ENGINES, IDC_BTN_STOP})
        EXPECT_EQ(Ctl(id)->isEnabled(), id == IDC_BTN_STOP) << id;

    // Every active page is blanked in the pool's walk order (4 .. 0) before any query.
    ASSERT_TRUE(WaitUntil([&] { return browsers.NavigationLog().size() == 10; }));
    QStringList log = browsers.NavigationLog();
    std::sort(log.begin() + 5, log.end());
    const QString queries = u"E0?q=green tea|E1/green tea|E2?q=green tea&lang=en|E3?q=green tea|E4?q=green tea"_s;
    QStringList expected;
    for (int i = 4; i >= 0; --i)
        expected.append(u"%1: Navigate about:blank"_s.arg(i));
    for (const QString &query : queries.split(u'|'))
        expected.append(u"%1: Navigate http://127.0.0.1:9/"_s.arg(expected.size() - 5) + query);
    EXPECT_EQ(log, expected);

    // The selected tab's page is shown on top; the keywords went to the history.
    EXPECT_EQ(view->children().last(), Page(2));
    EXPECT_EQ(GetProfileString(kHistory, u"1"_s), u"green tea"_s);

    // "S&top" stops every busy page and the animation; the status stays.
    view->OnStop();
    EXPECT_FALSE(view->SearchRun().IsSearching() || view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->StatusText(), u"Searching green tea"_s);
    EXPECT_TRUE(browsers.Control(4)->Calls().contains(u"Stop"_s));

    // History switched off: searching writes nothing more.
    WriteProfileInt(kSettings, u"PreservedKeywords"_s, 0);
    Search(u"secret"_s);
    EXPECT_TRUE(view->SearchRun().IsSearching());
    EXPECT_EQ(GetProfileEntries(kHistory).size(), 1);
    EXPECT_EQ(keywords->findText(u"secret"_s), -1);
}

TEST_F(QuaerioViewTest, TheLastPagesEndOrTheTickCompletesTheSearchAndALinkFollowedLaterAnimatesAgain)
{
    Open();
    browsers.Control(0)->FinishNavigation();
    view->KillTimer(1);
    Search(u"plum"_s);
    // A query on its way counts as loading: wait until every page has navigated.
    ASSERT_TRUE(Queried(u"plum"_s, 5));
    for (int i = 0; i < 4; ++i)
        browsers.Control(i)->FinishNavigation();
    view->OnTimer(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->SearchRun().IsSearching() && view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->StatusText(), u"Searching plum"_s);
    // Without the tick the last page's end completes the search.
    browsers.Control(4)->FailNavigation(u"no"_s);
    ASSERT_TRUE(WaitUntil([&] { return view->StatusText() == u"Complete"; }));
    EXPECT_TRUE(!view->AnimateCtrl()->IsPlaying() && view->AnimateCtrl()->CurrentFrame() == 0);
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
    WriteProfileInt(kSettings, u"PreservedKeywords"_s, 1);
    WriteProfileInt(kSettings, u"KeywordsHisCount"_s, 16);
    WriteProfileString(kHistory, u"1"_s, u"green tea"_s);
    WriteProfileString(kHistory, u"2"_s, u"K3"_s);
    Open();
    ShowView();
    auto *keywords = Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS);
    ASSERT_EQ(QApplication::focusWidget(), keywords);

    // Typing a prefix of an entry, or an entry in another letter case, and
    // pressing Enter searches the typed text: the box never completes it.
    // "S&top", pressed, gives the focus back to the keywords.
    for (const QString &typed : {u"gr"_s, u"k3"_s}) {
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
    EXPECT_EQ(GetProfileString(kHistory, u"1"_s), u"k3"_s);
    EXPECT_EQ(keywords->findText(u"K3"_s, Qt::MatchFixedString | Qt::MatchCaseSensitive), -1);

    // "&Search" pressed gives the focus back too, so the user refines the
    // keywords and searches again by typing alone.
    Ctl(IDC_BTN_SEARCH)->setFocus();
    QTest::keyClick(Ctl(IDC_BTN_SEARCH), Qt::Key_Space);
    view->OnStop();
    EXPECT_EQ(QApplication::focusWidget(), keywords);
    QTest::keyClicks(keywords, u" jam"_s);
    QTest::keyClick(keywords, Qt::Key_Return);
    EXPECT_EQ(view->SearchRun().Keywords(), u"k3 jam"_s);
}

TEST_F(QuaerioViewTest, ShowLatestPutsTheNewestKeywordInTheBoxCutTo260Characters)
{
    const QString cut = QString(259, u'n') + u'X';
    WriteProfileString(kHistory, u"1"_s, cut + u"YZ");
    WriteProfileString(kHistory, u"2"_s, u"older"_s);
    CAppSettings *settings = GetAppSettings();
    // {show latest, history kept} → what the box shows, how many entries it offers
    const std::tuple<int, int, QString, int> cases[] = {{1, 1, cut, 2}, {0, 1, QString(), 2}, {1, 0, QString(), 0}};
    for (const auto &[showLatest, preserved, shown, entries] : cases) {
        settings->m_bShowLatestKeyword = showLatest;
        settings->m_bPreservedKeywords = preserved;
        Open();
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_KEYWORDS)->currentText(), shown);
        EXPECT_EQ(Ctl<QComboBox>(IDC_CBO_KEYWORDS)->count(), entries);
    }
    // What the box shows is what a search sends.
    settings->m_bPreservedKeywords = 1;
    Open();
    view->OnSearch();
    EXPECT_EQ(view->SearchRun().Keywords(), cut);
}

TEST_F(QuaerioViewTest, ProgressCellsAndTabMarksFollowEachPageThroughLoadFailureAndStop)
{
    Open();
    browsers.Control(0)->FinishNavigation();
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    const auto *states = view->findChild<CEngineStates *>();
    const auto shows = [&](int page, const QString &cell, EMark mark) {
        return list->item(page, 1)->text() == cell && states->Progress(page)->Mark() == mark;
    };
    EXPECT_TRUE(tabs->tabIcon(1).isNull());

    Search(u"fig"_s);
    EXPECT_EQ(ColumnTexts(list, 1), QStringList(5, u"0%"_s));
    ASSERT_TRUE(Queried(u"fig"_s, 5));
    browsers.Control(1)->ReportProgress(40);
    EXPECT_TRUE(shows(1, u"40%"_s, EMark::Loading));
    EXPECT_FALSE(tabs->tabIcon(1).isNull());

    browsers.Control(1)->FinishNavigation(200);
    EXPECT_TRUE(shows(1, u"100%"_s, EMark::Done));
    EXPECT_TRUE(tabs->tabToolTip(1).startsWith(u"Engine E1\nhttp://127.0.0.1:9/E1/fig\nHTTP 200\n")) << tabs->tabToolTip(1).toStdString();

    browsers.Control(2)->FailNavigation(u"The server refused the connection."_s);
    EXPECT_TRUE(shows(2, u"Failed"_s, EMark::Failed));
    EXPECT_TRUE(tabs->tabToolTip(2).contains(u"The server refused the connection."));

    // The user's stop: what had not ended reads "Stopped" and loses its mark.
    view->OnStop();
    EXPECT_EQ(ColumnTexts(list, 1), u"Stopped|100%|Failed|Stopped|Stopped"_s.split(u'|'));
    EXPECT_EQ(states->Progress(0)->Mark(), EMark::None);
    // Every page passed its engine's name to its control.
    EXPECT_EQ(browsers.Control(4)->EngineName(), u"Engine E4"_s);
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
    Search(u"kiwi"_s);
    for (int i : {0, 1, 3, 4})
        browsers.Control(i)->FinishNavigation();

    ASSERT_TRUE(WaitUntil([&] { return view->StatusText() == u"Complete"; }));
    EXPECT_EQ(ColumnTexts(Ctl<QTableWidget>(IDC_LST_ENGINES), 1), u"Skipped|Skipped|Timed out|Skipped|Skipped"_s.split(u'|'));
    EXPECT_EQ(browsers.Control(2)->Calls().mid(browsers.Control(2)->Calls().size() - 2),
              QStringList({u"Stop"_s, u"ShowLoadFailure No answer within 0.05 seconds."_s}));
    for (int i : {0, 1, 3, 4})
        EXPECT_TRUE(Navigations(i).filter(u"kiwi").isEmpty()) << i;
}

TEST_F(QuaerioViewTest, TicksChooseTheEnginesAskedAndAreKeptBySectionName)
{
    const QString choice = u"EngineChoice"_s;
    Open();
    auto *list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    {
        ProfileWriteRecorder writes;
        list->item(1, 0)->setCheckState(Qt::Unchecked);
        EXPECT_EQ(writes.syncs, 1);
    }
    EXPECT_EQ(GetProfileInt(choice, u"English:Web:E1"_s, -1), 0);
    browsers.Control(0)->FinishNavigation();
    Search(u"fig"_s);
    ASSERT_TRUE(Queried(u"fig"_s, 4));
    EXPECT_EQ(Navigations(1).last(), u"about:blank"_s);
    EXPECT_EQ(list->item(1, 1)->text(), u"Skipped"_s);
    view->OnStop();

    // The catalogue reordered, a new view: the tick follows E1's section,
    // and another category keeps ticks of its own.
    UseCatalogue(m_dir.path(), Catalogue().replace(u"Web=E0;E1;"_s, u"Web=E1;E0;"_s));
    Open();
    list = Ctl<QTableWidget>(IDC_LST_ENGINES);
    EXPECT_EQ(list->item(0, 0)->text(), u"Engine E1"_s);
    EXPECT_TRUE(list->item(0, 0)->checkState() == Qt::Unchecked && list->item(1, 0)->checkState() == Qt::Checked);
    Choose(Ctl<QComboBox>(IDC_CBO_CATEGORY), 1);
    for (int row = 0; row < list->rowCount(); ++row)
        EXPECT_EQ(list->item(row, 0)->checkState(), Qt::Checked) << row;

    // Untick all from the context menu: a search is refused with a message.
    auto *states = view->findChild<CEngineStates *>();
    const QList<QAction *> actions = states->Choice().ContextMenu()->actions();
    ASSERT_EQ(actions.size(), 2);
    actions.at(1)->trigger();
    EXPECT_EQ(GetProfileInt(choice, u"English:Small:S2"_s, -1), 0);
    browsers.ClearLog();
    Search(u"fig"_s);
    EXPECT_EQ(boxes.texts(), QStringList{u"Please tick at least one engine to search !"_s});
    EXPECT_TRUE(browsers.Log().isEmpty());
    actions.at(0)->trigger();
    EXPECT_TRUE(states->NotAsked().isEmpty());
}

TEST_F(QuaerioViewTest, WithManyEnginesEveryTabIsReachableAndBothScrollArrowsShow)
{
    constexpr int kEngines = 32;
    QStringList sections;
    for (int i = 0; i < kEngines; ++i)
        sections.append(u"M%1"_s.arg(i));
    UseCatalogue(m_dir.path(), CatalogueText(u"English/Many=" + sections.join(u' ')));
    Open();
    ShowView({480, 320});
    auto *tabs = Ctl<CTabCtrl>(IDC_TAB_ENGINES);
    auto *left = tabs->findChild<QToolButton *>(u"ScrollLeftButton"_s);
    auto *right = tabs->findChild<QToolButton *>(u"ScrollRightButton"_s);
    ASSERT_TRUE(left && right);
    for (QToolButton *arrow : {left, right}) {
        const QRect inView(arrow->mapTo(view.get(), QPoint(0, 0)), arrow->size());
        EXPECT_TRUE(arrow->isVisible() && view->rect().contains(inView)) << inView.x() << '+' << inView.width();
    }
    // The right arrow scrolls until the last tab is wholly in sight, left of the arrows.
    for (int i = 0; i < kEngines && right->isEnabled(); ++i)
        QTest::mouseClick(right, Qt::LeftButton);
    const QRect last = tabs->tabRect(kEngines - 1);
    EXPECT_TRUE(last.left() >= 0 && last.right() < std::min(left->x(), right->x()));
    ClickTab(kEngines - 1);
    EXPECT_EQ(ShownPage(), Page(kEngines - 1));
    EXPECT_TRUE(FillsThePageArea(Page(kEngines - 1)));
}

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

    page->FollowLink(u"http://127.0.0.1:9/alpha/next"_s);
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

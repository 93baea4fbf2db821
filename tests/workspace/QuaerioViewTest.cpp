#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "browsers/ResultBrowser.h"
#include "platform/DialogUnits.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "res/ResourceIds.h"
#include "tests/workspace/ViewSupport.h"
#include "workspace/AnimateCtrl.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/QuaerioView.h"
#include "workspace/TabCtrl.h"

namespace
{
const QString kSettings = QStringLiteral("Settings");

QStringList ColumnTexts(const QTableWidget &list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts.append(list.item(row, column) ? list.item(row, column)->text() : QString());
    return texts;
}

QStringList TabLabels(const QTabBar &tabs)
{
    QStringList labels;
    for (int i = 0; i < tabs.count(); ++i)
        labels.append(tabs.tabText(i));
    return labels;
}

// Chooses entry `index` of a box as the user would.
void Choose(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

int BottomEdge(const QRect &rect)
{
    return rect.y() + rect.height();
}

// The page rectangle under the tabs for the view's current geometry.
QRect ExpectedPageRect(const CQuaerioView &view)
{
    const QRect tab = Control<QTabBar>(view, IDC_TAB_ENGINES)->geometry();
    return {tab.x() - 2, BottomEdge(tab) - 1, view.width() + 4, view.height() - BottomEdge(tab) + 3};
}

class QuaerioViewTest : public ::testing::Test
{
protected:
    ViewHarness harness;
};
} // namespace

TEST_F(QuaerioViewTest, FormHasEveryControlOfTheTemplateAtItsPlace)
{
    auto view = harness.MakeView();
    const QFont font = DialogFont();
    const auto at = [&font](int x, int y) { return QPoint(DluToPixelsX(x, font), DluToPixelsY(y, font)); };

    struct Expected
    {
        int id;
        QString text;
        int x, y;
    };
    for (const Expected &e : {Expected{IDC_BTN_DEFAULT, QStringLiteral("&Default"), 292, 4},
                              Expected{IDC_BTN_SEARCH, QStringLiteral("&Search"), 276, 20},
                              Expected{IDC_BTN_STOP, QStringLiteral("S&top"), 308, 20}}) {
        auto *button = Control<QPushButton>(*view, e.id);
        ASSERT_NE(button, nullptr) << e.id;
        EXPECT_EQ(button->text(), e.text);
        EXPECT_EQ(button->pos(), at(e.x, e.y)) << e.id;
    }
    EXPECT_TRUE(Control<QPushButton>(*view, IDC_BTN_SEARCH)->isDefault());
    EXPECT_FALSE(Control<QPushButton>(*view, IDC_BTN_STOP)->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(*view, IDC_BTN_DEFAULT)->isFlat());
    EXPECT_TRUE(Control<QPushButton>(*view, IDC_BTN_EXTEND)->isFlat());

    auto *language = Control<QComboBox>(*view, IDC_CBO_LANGUAGE);
    auto *category = Control<QComboBox>(*view, IDC_CBO_CATEGORY);
    auto *keywords = Control<CHistoryComboBox>(*view, IDC_CBO_KEYWORDS);
    ASSERT_TRUE(language && category && keywords);
    EXPECT_EQ(language->pos(), at(40, 4));
    EXPECT_EQ(language->width(), DluToPixelsX(88, font));
    EXPECT_EQ(category->pos(), at(172, 4));
    EXPECT_EQ(keywords->pos(), at(40, 20));
    EXPECT_EQ(keywords->width(), DluToPixelsX(232, font));
    EXPECT_FALSE(language->isEditable());
    EXPECT_TRUE(keywords->isEditable());
    EXPECT_EQ(keywords->lineEdit()->maxLength(), 260);

    // Assistive technology finds each box by the label beside it.
    EXPECT_EQ(language->accessibleName(), QStringLiteral("Language"));
    EXPECT_EQ(category->accessibleName(), QStringLiteral("Category"));
    EXPECT_EQ(keywords->accessibleName(), QStringLiteral("KeyWords"));
    QStringList labels;
    for (const QLabel *label : view->findChildren<QLabel *>())
        if (label->buddy())
            labels.append(label->text() + u'>' + label->buddy()->objectName());
    labels.sort();
    EXPECT_EQ(labels, QStringList({QStringLiteral("Category>1002"), QStringLiteral("KeyWords>1001"),
                                   QStringLiteral("Language>1010")}));

    auto *list = Control<QTableWidget>(*view, IDC_LST_ENGINES);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->pos(), at(0, 36));
    EXPECT_TRUE(list->showGrid());
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    ASSERT_EQ(list->columnCount(), 3);
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("Progress"));
    EXPECT_EQ(list->horizontalHeaderItem(2)->text(), QStringLiteral("QueryURL"));
    EXPECT_EQ(list->columnWidth(0), 160);
    EXPECT_EQ(list->columnWidth(1), 80);
    EXPECT_EQ(list->columnWidth(2), 400);
    EXPECT_TRUE(list->horizontalHeaderItem(2)->textAlignment() & Qt::AlignRight);

    auto *marker = Control<QLabel>(*view, IDC_STC_MARKER);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->geometry(), DluRectToPixels(248, 0, 12, 36, font));
    EXPECT_TRUE(marker->isHidden());

    auto *animate = Control<CAnimateCtrl>(*view, IDC_ANIMATE);
    ASSERT_NE(animate, nullptr);
    EXPECT_EQ(animate->geometry(), QRect(view->width() - 22, 0, 25, 25));
    EXPECT_EQ(animate->FrameCount(), 16);
    EXPECT_FALSE(animate->IsPlaying());
    EXPECT_EQ(animate->CurrentFrame(), 0);
}

TEST_F(QuaerioViewTest, FreshStartLoadsTheFirstLanguageAndCategoryCollapsed)
{
    auto view = harness.MakeView();
    auto *language = Control<QComboBox>(*view, IDC_CBO_LANGUAGE);
    auto *category = Control<QComboBox>(*view, IDC_CBO_CATEGORY);
    auto *list = Control<QTableWidget>(*view, IDC_LST_ENGINES);
    auto *tabs = Control<CTabCtrl>(*view, IDC_TAB_ENGINES);

    EXPECT_EQ(language->count(), 3);
    EXPECT_EQ(language->currentText(), QStringLiteral("English"));
    EXPECT_EQ(category->count(), 3);
    EXPECT_EQ(category->currentText(), QStringLiteral("Web"));
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(Control<QPushButton>(*view, IDC_BTN_EXTEND)->text(), QStringLiteral("+"));
    EXPECT_TRUE(harness.boxes.texts().isEmpty());

    const QStringList names = {QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma"),
                               QStringLiteral("Delta"), QStringLiteral("Epsilon")};
    EXPECT_EQ(ColumnTexts(*list, 0), names);
    EXPECT_EQ(ColumnTexts(*list, 1), QStringList(5, QStringLiteral("100%")));
    EXPECT_EQ(list->item(2, 2)->text(), QStringLiteral("http://127.0.0.1:9/gamma?q=*&lang=en"));
    EXPECT_EQ(list->item(2, 2)->toolTip(), list->item(2, 2)->text());
    EXPECT_TRUE(list->item(2, 2)->textAlignment() & Qt::AlignRight);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(list->item(row, 0)->checkState(), Qt::Checked) << row;
    EXPECT_EQ(TabLabels(*tabs), names);
    EXPECT_EQ(tabs->GetCurSel(), 0);

    for (int i = 0; i < 5; ++i) {
        CResultBrowser *page = view->Browsers().GetBrowser(i);
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->m_bActive) << i;
        EXPECT_EQ(page->QueryTemplate(), list->item(i, 2)->text());
    }
    // Page 0 is the page shown and opens the first-show page; timer 1 runs.
    EXPECT_EQ(view->CurrentBrowser(), view->Browsers().GetBrowser(0));
    EXPECT_EQ(Navigations(harness.browsers, 0).last(), harness.FirstShowPath());
    EXPECT_TRUE(view->IsTimerActive());
    EXPECT_EQ(view->CurrentBrowser()->geometry(), ExpectedPageRect(*view));
}

TEST_F(QuaerioViewTest, ChangingCategoryAndLanguageRebuildsListTabsAndPages)
{
    auto view = harness.MakeView();
    auto *language = Control<QComboBox>(*view, IDC_CBO_LANGUAGE);
    auto *category = Control<QComboBox>(*view, IDC_CBO_CATEGORY);
    auto *list = Control<QTableWidget>(*view, IDC_LST_ENGINES);
    auto *tabs = Control<CTabCtrl>(*view, IDC_TAB_ENGINES);
    CResultBrowser *shown = view->CurrentBrowser();

    // A category of 3 after one of 5: pages 3 and 4 stay, inactive and blank.
    Choose(category, 1);
    EXPECT_EQ(ColumnTexts(*list, 0), QStringList({QStringLiteral("Small Zero"), QStringLiteral("Small One"),
                                                  QStringLiteral("Small Two")}));
    EXPECT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    for (int i : {3, 4}) {
        CResultBrowser *page = view->Browsers().GetBrowser(i);
        EXPECT_FALSE(page->m_bActive) << i;
        EXPECT_TRUE(page->QueryTemplate().isEmpty());
        EXPECT_EQ(page->GetLocationURL(), QStringLiteral("about:blank"));
    }
    EXPECT_EQ(view->Browsers().GetBrowser(1)->QueryTemplate(), QStringLiteral("http://127.0.0.1:9/s1?q=*"));
    EXPECT_EQ(view->CurrentBrowser(), shown);

    // Choosing the entry already selected reloads nothing.
    harness.browsers.ClearLog();
    Choose(category, 1);
    EXPECT_TRUE(harness.browsers.Log().isEmpty());

    // Another language always starts with its first category.
    Choose(language, 1);
    EXPECT_EQ(view->CurrentLanguage(), 1);
    EXPECT_EQ(category->count(), 1);
    EXPECT_EQ(category->currentText(), QStringLiteral("Netz"));
    EXPECT_EQ(ColumnTexts(*list, 0), QStringList({QStringLiteral("Deutsch Null"), QStringLiteral("Deutsch Eins")}));
    Choose(language, 0);
    EXPECT_EQ(category->currentText(), QStringLiteral("Web"));
    EXPECT_EQ(tabs->count(), 5);

    // A language without a categories entry gets the one category "Error!",
    // whose engines are read from key "Error!" of the language's section.
    Choose(language, 2);
    EXPECT_EQ(category->count(), 1);
    EXPECT_EQ(category->itemText(0), QStringLiteral("Error!"));
    EXPECT_EQ(ColumnTexts(*list, 0), QStringList({QStringLiteral("Delta")}));
    EXPECT_TRUE(harness.boxes.texts().isEmpty());
}

TEST_F(QuaerioViewTest, EngineWithoutUrlStopsLoadingAndLeavesNoTabSelected)
{
    auto view = harness.MakeView();
    auto *list = Control<QTableWidget>(*view, IDC_LST_ENGINES);
    auto *tabs = Control<CTabCtrl>(*view, IDC_TAB_ENGINES);
    Choose(Control<QComboBox>(*view, IDC_CBO_CATEGORY), 2);

    EXPECT_EQ(harness.boxes.texts(), QStringList({QStringLiteral("Initial GUI control failed !")}));
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(1, 0)->text(), QStringLiteral("Nowhere"));
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("100%"));
    EXPECT_EQ(list->item(1, 2), nullptr);
    EXPECT_EQ(list->item(0, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->GetCurSel(), -1);
    EXPECT_TRUE(view->Browsers().GetBrowser(0)->m_bActive);
    EXPECT_FALSE(view->Browsers().GetBrowser(1)->m_bActive);
    EXPECT_FALSE(view->Browsers().GetBrowser(2)->m_bActive);

    // A search with no tab selected still searches every active page; the
    // page shown is the pool's inactive page of index -1, which stays empty.
    Control<CHistoryComboBox>(*view, IDC_CBO_KEYWORDS)->setEditText(QStringLiteral("kiwi"));
    view->OnSearch();
    ASSERT_TRUE(WaitFor([&] { return Navigations(harness.browsers, 0).last().contains(u"kiwi"); }));
    CResultBrowser *none = view->Browsers().GetBrowser(-1);
    EXPECT_EQ(view->CurrentBrowser(), none);
    EXPECT_FALSE(none->m_bActive);
    EXPECT_TRUE(Navigations(harness.browsers, -1).isEmpty());

    // Clicking a tab selects it and shows its page.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_EQ(view->CurrentBrowser(), view->Browsers().GetBrowser(1));
}

TEST_F(QuaerioViewTest, StoredChoiceIsRestoredAndOutOfRangeIndexesFallBackToTheFirst)
{
    {
        auto view = harness.MakeView();
        Choose(Control<QComboBox>(*view, IDC_CBO_CATEGORY), 1);
        view->OnSetDefault();
        Choose(Control<QComboBox>(*view, IDC_CBO_CATEGORY), 0);
    }
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("CurCategoryIndex"), -1), 1);
    {
        auto view = harness.MakeView();
        EXPECT_EQ(Control<QComboBox>(*view, IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Small"));
        EXPECT_EQ(Control<QTabBar>(*view, IDC_TAB_ENGINES)->count(), 3);
    }

    // An edited catalogue with fewer entries than the stored indexes.
    WriteProfileInt(kSettings, QStringLiteral("CurLanguageIndex"), 7);
    WriteProfileInt(kSettings, QStringLiteral("CurCategoryIndex"), -3);
    {
        auto view = harness.MakeView();
        EXPECT_EQ(view->CurrentLanguage(), 0);
        EXPECT_EQ(view->CurrentCategory(), 0);
        EXPECT_EQ(Control<QComboBox>(*view, IDC_CBO_LANGUAGE)->currentText(), QStringLiteral("English"));
        EXPECT_EQ(Control<QTabBar>(*view, IDC_TAB_ENGINES)->count(), 5);
    }
    WriteProfileInt(kSettings, QStringLiteral("CurLanguageIndex"), 1);
    WriteProfileInt(kSettings, QStringLiteral("CurCategoryIndex"), 2);
    {
        auto view = harness.MakeView();
        EXPECT_EQ(Control<QComboBox>(*view, IDC_CBO_CATEGORY)->currentText(), QStringLiteral("Netz"));
        EXPECT_EQ(Control<QTabBar>(*view, IDC_TAB_ENGINES)->count(), 2);
    }
    EXPECT_TRUE(harness.boxes.texts().isEmpty());
}

TEST_F(QuaerioViewTest, CatalogueFailuresShowTheMessageAndKeepTheForm)
{
    // No languages at all: the initial update stops after the message.
    harness.WriteCatalogue(QStringLiteral("[LANGUAGES]\nLanguages=\n"));
    auto empty = harness.MakeView();
    EXPECT_EQ(harness.boxes.texts(), QStringList({QStringLiteral("Initial GUI control failed !")}));
    EXPECT_EQ(Control<QComboBox>(*empty, IDC_CBO_LANGUAGE)->count(), 0);
    EXPECT_FALSE(empty->IsTimerActive());

    // An empty categories entry: the Category box stays empty, no engines.
    harness.WriteCatalogue(QStringLiteral("[LANGUAGES]\nLanguages=Solo\n[CATEGORYS]\nSolo=\n"));
    auto noCategories = harness.MakeView();
    EXPECT_EQ(harness.boxes.texts().size(), 2);
    EXPECT_EQ(Control<QComboBox>(*noCategories, IDC_CBO_CATEGORY)->count(), 0);
    EXPECT_EQ(Control<QTabBar>(*noCategories, IDC_TAB_ENGINES)->count(), 0);
    EXPECT_TRUE(noCategories->IsTimerActive());
}

TEST_F(QuaerioViewTest, SecondInitialUpdateRebuildsNothingTwice)
{
    auto view = harness.MakeView();
    Control<QComboBox>(*view, IDC_CBO_LANGUAGE)->setCurrentIndex(1);
    view->OnInitialUpdate();

    EXPECT_EQ(Control<QComboBox>(*view, IDC_CBO_LANGUAGE)->count(), 3);
    EXPECT_EQ(Control<QComboBox>(*view, IDC_CBO_LANGUAGE)->currentIndex(), 0);
    EXPECT_EQ(Control<QComboBox>(*view, IDC_CBO_CATEGORY)->count(), 3);
    EXPECT_EQ(Control<QTableWidget>(*view, IDC_LST_ENGINES)->columnCount(), 3);
    EXPECT_EQ(Control<QTableWidget>(*view, IDC_LST_ENGINES)->rowCount(), 5);
    EXPECT_EQ(Control<QTabBar>(*view, IDC_TAB_ENGINES)->count(), 5);
    EXPECT_EQ(view->findChildren<CAnimateCtrl *>().size(), 1);
    EXPECT_EQ(harness.browsers.CreatedCount(), 5);
    EXPECT_EQ(Navigations(harness.browsers, 0).count(harness.FirstShowPath()), 2);
}

TEST_F(QuaerioViewTest, LayoutFollowsTheWindowAndTheExtendButton)
{
    auto view = harness.MakeView();
    QSignalSpy status(view.get(), &CQuaerioView::StatusTextChanged);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    auto *list = Control<QTableWidget>(*view, IDC_LST_ENGINES);
    auto *tabs = Control<QTabBar>(*view, IDC_TAB_ENGINES);
    auto *marker = Control<QLabel>(*view, IDC_STC_MARKER);
    auto *extend = Control<QPushButton>(*view, IDC_BTN_EXTEND);
    CResultBrowser *page0 = view->Browsers().GetBrowser(0);
    CResultBrowser *page1 = view->Browsers().GetBrowser(1);

    // Collapsed: the tabs start at the marker's lower edge.
    EXPECT_EQ(tabs->y(), BottomEdge(marker->geometry()));
    EXPECT_EQ(page1->geometry(), page0->geometry());

    // A resize stretches the hidden list and the tabs, reports the size and
    // resizes the page shown only.
    const QRect page1Before = page1->geometry();
    view->resize(900, 520);
    ASSERT_TRUE(WaitFor([&] { return view->StatusText() == QStringLiteral("width = 900 , height = 520"); }));
    EXPECT_EQ(list->width(), 900);
    EXPECT_EQ(tabs->width(), 904);
    EXPECT_EQ(page0->geometry(), ExpectedPageRect(*view));
    EXPECT_EQ(page0->geometry(), QRect(-2, BottomEdge(tabs->geometry()) - 1, 904, 520 - BottomEdge(tabs->geometry()) + 3));
    EXPECT_EQ(page1->geometry(), page1Before);
    EXPECT_FALSE(status.isEmpty());

    // "+" shows the full-width list, moves the tabs under it and every page with them.
    QTest::mouseClick(extend, Qt::LeftButton);
    EXPECT_EQ(extend->text(), QStringLiteral("-"));
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->width(), 900);
    EXPECT_EQ(tabs->y(), BottomEdge(list->geometry()));
    EXPECT_EQ(page0->geometry(), ExpectedPageRect(*view));
    EXPECT_EQ(page1->geometry(), ExpectedPageRect(*view));

    // "-" restores the collapsed layout exactly.
    const QRect extendedPage = page0->geometry();
    QTest::mouseClick(extend, Qt::LeftButton);
    EXPECT_EQ(extend->text(), QStringLiteral("+"));
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(tabs->y(), BottomEdge(marker->geometry()));
    EXPECT_EQ(page1->geometry(), ExpectedPageRect(*view));
    EXPECT_GT(page1->height(), extendedPage.height());
    EXPECT_FALSE(marker->isVisible());
}

TEST_F(QuaerioViewTest, ExtendedFlagIsReadAtStartAndWrittenAtDestruction)
{
    WriteProfileInt(kSettings, QStringLiteral("Extended"), 5);
    {
        auto view = harness.MakeView();
        EXPECT_TRUE(view->IsExtended());
        EXPECT_FALSE(Control<QTableWidget>(*view, IDC_LST_ENGINES)->isHidden());
        EXPECT_EQ(Control<QPushButton>(*view, IDC_BTN_EXTEND)->text(), QStringLiteral("-"));
        // Changing it is stored only when the view goes.
        view->OnToggleExtended();
        EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("Extended"), -1), 5);
        view->OnToggleExtended();
    }
    // Any nonzero stored flag survives the round trip as 1.
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("Extended"), -1), 1);
    {
        auto view = harness.MakeView();
        view->OnToggleExtended();
    }
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("Extended"), -1), 0);
}

TEST_F(QuaerioViewTest, SearchBlanksThenQueriesEveryActivePageAndRecordsTheKeywords)
{
    auto view = harness.MakeView();
    auto *keywords = Control<CHistoryComboBox>(*view, IDC_CBO_KEYWORDS);
    auto *tabs = Control<CTabCtrl>(*view, IDC_TAB_ENGINES);
    tabs->SetCurSel(2);
    harness.browsers.ClearLog();
    // History kept, as the settings dialog stores it.
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 1);
    WriteProfileInt(kSettings, QStringLiteral("KeywordsHisCount"), 16);

    QTest::keyClicks(keywords, QStringLiteral("   green tea  "));
    QTest::keyClick(keywords, Qt::Key_Return);

    EXPECT_EQ(view->Keywords(), QStringLiteral("green tea"));
    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching green tea"));
    EXPECT_TRUE(view->IsSearching());
    EXPECT_TRUE(view->IsAnimating());
    EXPECT_TRUE(view->AnimateCtrl()->IsPlaying());
    for (int id : {IDC_CBO_LANGUAGE, IDC_CBO_CATEGORY, IDC_BTN_SEARCH, IDC_LST_ENGINES})
        EXPECT_FALSE(Control<QWidget>(*view, id)->isEnabled()) << id;
    for (int id : {IDC_BTN_STOP, IDC_CBO_KEYWORDS, IDC_BTN_EXTEND, IDC_BTN_DEFAULT, IDC_TAB_ENGINES})
        EXPECT_TRUE(Control<QWidget>(*view, id)->isEnabled()) << id;

    // Every active page is blanked in the pool's walk order (4 .. 0) before
    // any query.
    ASSERT_TRUE(WaitFor([&] { return harness.browsers.NavigationLog().size() == 10; }));
    const QStringList log = harness.browsers.NavigationLog();
    QStringList blanks = log.mid(0, 5);
    EXPECT_EQ(blanks, QStringList({QStringLiteral("4: Navigate about:blank"), QStringLiteral("3: Navigate about:blank"),
                                   QStringLiteral("2: Navigate about:blank"), QStringLiteral("1: Navigate about:blank"),
                                   QStringLiteral("0: Navigate about:blank")}));
    QStringList queries = log.mid(5);
    queries.sort();
    EXPECT_EQ(queries, QStringList({QStringLiteral("0: Navigate http://127.0.0.1:9/alpha?q=green tea"),
                                    QStringLiteral("1: Navigate http://127.0.0.1:9/beta/green tea"),
                                    QStringLiteral("2: Navigate http://127.0.0.1:9/gamma?q=green tea&lang=en"),
                                    QStringLiteral("3: Navigate http://127.0.0.1:9/delta?q=green tea"),
                                    QStringLiteral("4: Navigate http://127.0.0.1:9/epsilon?q=green tea")}));

    // The selected tab's page is shown on top at the page rectangle.
    CResultBrowser *shown = view->Browsers().GetBrowser(2);
    EXPECT_EQ(view->CurrentBrowser(), shown);
    EXPECT_EQ(shown->geometry(), ExpectedPageRect(*view));
    EXPECT_EQ(view->children().last(), shown);

    // The keywords went to the history and its registry section.
    EXPECT_EQ(keywords->itemText(0), QStringLiteral("green tea"));
    EXPECT_EQ(GetProfileString(QStringLiteral("KeywordsHistory"), QStringLiteral("1")), QStringLiteral("green tea"));

    // "S&top" stops every busy page and the animation; the status stays.
    view->OnStop();
    EXPECT_FALSE(view->IsSearching());
    EXPECT_FALSE(view->IsAnimating());
    EXPECT_FALSE(view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->AnimateCtrl()->CurrentFrame(), 0);
    EXPECT_FALSE(view->Browsers().IsAnyBusy());
    EXPECT_TRUE(Control<QWidget>(*view, IDC_BTN_SEARCH)->isEnabled());
    EXPECT_FALSE(Control<QWidget>(*view, IDC_BTN_STOP)->isEnabled());
    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching green tea"));
    EXPECT_TRUE(harness.browsers.Control(4)->Calls().contains(QStringLiteral("Stop")));
}

TEST_F(QuaerioViewTest, EmptyKeywordsOrHistoryOffLeaveTheHistoryAlone)
{
    auto view = harness.MakeView();
    auto *keywords = Control<CHistoryComboBox>(*view, IDC_CBO_KEYWORDS);
    harness.browsers.ClearLog();

    keywords->setEditText(QStringLiteral("  \t "));
    QTest::mouseClick(Control<QPushButton>(*view, IDC_BTN_SEARCH), Qt::LeftButton);
    EXPECT_EQ(harness.boxes.texts(), QStringList({QStringLiteral("Please input keywords !")}));
    EXPECT_FALSE(view->IsSearching());
    EXPECT_TRUE(harness.browsers.Log().isEmpty());
    EXPECT_TRUE(GetProfileEntries(QStringLiteral("KeywordsHistory")).isEmpty());

    // History switched off in the stored settings: searching writes nothing.
    WriteProfileInt(kSettings, QStringLiteral("PreservedKeywords"), 0);
    keywords->setEditText(QStringLiteral("secret"));
    view->OnSearch();
    EXPECT_TRUE(view->IsSearching());
    EXPECT_TRUE(GetProfileEntries(QStringLiteral("KeywordsHistory")).isEmpty());
    EXPECT_EQ(keywords->findText(QStringLiteral("secret")), -1);
}

TEST_F(QuaerioViewTest, MonitorReportsCompleteOnTheFirstIdleTick)
{
    auto view = harness.MakeView();
    Control<CHistoryComboBox>(*view, IDC_CBO_KEYWORDS)->setEditText(QStringLiteral("plum"));
    view->OnSearch();
    ASSERT_TRUE(WaitFor([&] { return Navigations(harness.browsers, 0).last().contains(u"plum"); }));

    // Pages still loading: the animation goes on without restarting.
    for (int i = 0; i < 4; ++i)
        harness.browsers.Control(i)->FinishNavigation();
    view->OnTimer(1);
    EXPECT_TRUE(view->IsSearching());
    EXPECT_TRUE(view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->StatusText(), QStringLiteral("Searching plum"));
    EXPECT_FALSE(Control<QWidget>(*view, IDC_BTN_SEARCH)->isEnabled());

    // The last page is done: the next tick completes.
    harness.browsers.Control(4)->FinishNavigation();
    view->OnTimer(1);
    EXPECT_FALSE(view->IsSearching());
    EXPECT_FALSE(view->IsAnimating());
    EXPECT_FALSE(view->AnimateCtrl()->IsPlaying());
    EXPECT_EQ(view->AnimateCtrl()->CurrentFrame(), 0);
    EXPECT_EQ(view->StatusText(), QStringLiteral("Complete"));
    EXPECT_TRUE(Control<QWidget>(*view, IDC_BTN_SEARCH)->isEnabled());
    EXPECT_FALSE(Control<QWidget>(*view, IDC_BTN_STOP)->isEnabled());

    // A link followed later: busy again, animation, controls stay enabled.
    harness.browsers.Control(3)->SetBusy(true);
    view->OnTimer(1);
    EXPECT_TRUE(view->IsSearching());
    EXPECT_TRUE(view->AnimateCtrl()->IsPlaying());
    EXPECT_TRUE(Control<QWidget>(*view, IDC_CBO_LANGUAGE)->isEnabled());
    EXPECT_EQ(view->StatusText(), QStringLiteral("Complete"));

    // After "S&top" a page that keeps loading restarts the animation.
    view->OnStop();
    harness.browsers.Control(3)->SetBusy(true);
    view->OnTimer(1);
    EXPECT_TRUE(view->AnimateCtrl()->IsPlaying());

    // An inactive busy page does not count.
    harness.browsers.Control(3)->FinishNavigation();
    Choose(Control<QComboBox>(*view, IDC_CBO_CATEGORY), 1);
    harness.browsers.Control(4)->SetBusy(true);
    for (int i = 0; i < 3; ++i)
        harness.browsers.Control(i)->FinishNavigation();
    view->OnTimer(1);
    EXPECT_EQ(view->StatusText(), QStringLiteral("Complete"));
}

TEST_F(QuaerioViewTest, ChoosingATabShowsItsPageAndItsAddress)
{
    auto view = harness.MakeView();
    auto *tabs = Control<CTabCtrl>(*view, IDC_TAB_ENGINES);
    CResultBrowser *page0 = view->Browsers().GetBrowser(0);
    CResultBrowser *page3 = view->Browsers().GetBrowser(3);
    harness.browsers.Control(0)->FinishNavigation();
    view->SetStatusText(QStringLiteral("before"));

    // A blank page leaves the status text alone; the old page shrinks to nothing.
    view->resize(700, 400);
    view->OnSize(700, 400);
    tabs->setCurrentIndex(3);
    EXPECT_EQ(view->CurrentBrowser(), page3);
    EXPECT_EQ(page0->geometry(), QRect(0, 0, 0, 0));
    EXPECT_EQ(page3->geometry(), ExpectedPageRect(*view));
    EXPECT_EQ(page3->width(), 704);
    EXPECT_EQ(view->StatusText(), QStringLiteral("width = 700 , height = 400"));

    // A page with an address puts it in the status bar.
    page0->Navigate2(QStringLiteral("http://127.0.0.1:9/found"));
    tabs->setCurrentIndex(0);
    EXPECT_EQ(view->CurrentBrowser(), page0);
    EXPECT_EQ(view->StatusText(), QStringLiteral("http://127.0.0.1:9/found"));
    EXPECT_EQ(page0->geometry(), ExpectedPageRect(*view));
}

TEST_F(QuaerioViewTest, CommandEnablingFollowsThePageAndTheSearch)
{
    auto view = harness.MakeView();
    CCommandRouter router;
    router.AddTarget([&view] { return &view->CommandTarget(); });

    for (int id : {ID_GO_BACK, ID_GO_FORWARD, ID_VIEW_REFRESH, ID_FONT_LARGEST, ID_FONT_SMALLEST, ID_FILE_SAVE,
                   ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW})
        EXPECT_TRUE(router.Update(id).m_bEnabled) << id;

    // Stop follows the shown page's busy state only.
    harness.browsers.Control(0)->SetBusy(true);
    EXPECT_TRUE(router.Update(ID_VIEW_STOP).m_bEnabled);
    harness.browsers.Control(0)->FinishNavigation();
    harness.browsers.Control(1)->SetBusy(true);
    EXPECT_FALSE(router.Update(ID_VIEW_STOP).m_bEnabled);

    // "New" is off while searching and prepares the keyword box.
    auto *keywords = Control<CHistoryComboBox>(*view, IDC_CBO_KEYWORDS);
    keywords->setEditText(QStringLiteral("fig"));
    view->OnSearch();
    EXPECT_FALSE(router.Update(ID_INPUT_NEW_KEYWORD).m_bEnabled);
    view->OnStop();
    EXPECT_TRUE(router.Update(ID_INPUT_NEW_KEYWORD).m_bEnabled);
    EXPECT_TRUE(router.Execute(ID_INPUT_NEW_KEYWORD));
    EXPECT_EQ(keywords->currentText(), QStringLiteral("Please input new keywords ..."));
    EXPECT_FALSE(keywords->lineEdit()->hasSelectedText());
    EXPECT_EQ(view->focusWidget(), keywords);
}

TEST_F(QuaerioViewTest, PrintingOffersTheDialogsOverBlankPages)
{
    auto view = harness.MakeView();
    int previewPages = -1;
    bool printDialogShown = false;
    const auto closeModal = [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return false;
        if (auto *preview = modal->findChild<QPrintPreviewWidget *>())
            previewPages = preview->pageCount();
        printDialogShown = printDialogShown || qobject_cast<QPrintDialog *>(modal) != nullptr;
        qobject_cast<QDialog *>(modal)->reject();
        return true;
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] { closeModal(); });
    poll.start(20);

    view->CommandTarget().Execute(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(previewPages, 1);
    view->CommandTarget().Execute(ID_FILE_PRINT);
    EXPECT_TRUE(printDialogShown);
}

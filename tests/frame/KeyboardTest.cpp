#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "browsers/ResultBrowser.h"
#include "catalogue/CatalogFile.h"
#include "frame/MainFrame.h"
#include "frame/StatusAnnouncer.h"
#include "platform/ModulePaths.h"
#include "preferences/AppSettings.h"
#include "preferences/SettingsDlg.h"
#include "res/ResourceIds.h"
#include "tests/support/RecordingBrowserControl.h"
#include "tests/support/TestSupport.h"
#include "workspace/FindBar.h"
#include "workspace/HistoryComboBox.h"
#include "workspace/QuaerioView.h"
#include "workspace/TabCtrl.h"

using namespace Qt::StringLiterals;

namespace
{
const QStringList kEngines = {u"Alpha"_s, u"Beta"_s, u"Gamma"_s, u"Delta"_s, u"Epsilon"_s};

// The main window with a real search form over five engines on recording controls.
class KeyboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DestroyAppSettings();
        UseCatalogue(m_dir.path(), CatalogueText(u"English/Web=E0 E1 E2 E3 E4"_s, kEngines));
        ASSERT_TRUE(frame.LoadFrame());
        view = new CQuaerioView(&frame);
        frame.SetView(view);
        view->OnInitialUpdate();
        frame.ActivateFrame();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    void TearDown() override
    {
        DestroyAppSettings();
        DestroyCatalogFile();
    }

    template <typename T = QWidget>
    T *Ctl(int id) const { return ::Ctl<T>(view, id); }
    CTabCtrl *Tabs() const { return Ctl<CTabCtrl>(IDC_TAB_ENGINES); }
    CHistoryComboBox *Keywords() const { return Ctl<CHistoryComboBox>(IDC_CBO_KEYWORDS); }
    CRecordingBrowserControl *Control(int page) const
    {
        return dynamic_cast<CRecordingBrowserControl *>(view->Browsers().GetBrowser(page)->Control());
    }
    // A real key press where the focus is, as the user makes it.
    static void Press(const char *keys)
    {
        QWidget *target = QApplication::focusWidget();
        QTest::keySequence(target ? target : QApplication::activeWindow(), QKeySequence(QString::fromLatin1(keys)));
    }
    bool FocusIn(const QWidget *pane) const
    {
        const QWidget *focus = QApplication::focusWidget();
        return focus && (focus == pane || pane->isAncestorOf(focus));
    }

    QTemporaryDir m_dir;
    TempProfile profile;
    MessageBoxRecorder boxes;
    CMainFrame frame;
    CQuaerioView *view = nullptr;
};

// Events the announcer under test sent.
QList<std::pair<QObject *, QAccessible::Event>> g_accessibleEvents;
void RecordAccessibleEvent(QAccessibleEvent *event)
{
    g_accessibleEvents.append({event->object(), event->type()});
}

// Every shown element under `iface` with a role a user acts on or reads must
// carry a name; `visit` sees each shown element.
void WalkAccessible(QAccessibleInterface *iface, const std::function<void(QAccessibleInterface *)> &visit,
                    int depth = 0)
{
    static const QList<QAccessible::Role> named = {
        QAccessible::PushButton, QAccessible::ButtonMenu,  QAccessible::ButtonDropDown, QAccessible::CheckBox,
        QAccessible::ComboBox,   QAccessible::PageTab,     QAccessible::PageTabList,    QAccessible::MenuItem,
        QAccessible::PopupMenu,  QAccessible::Table,       QAccessible::Tree,           QAccessible::TreeItem,
        QAccessible::Cell,       QAccessible::ToolBar,     QAccessible::PropertyPage,   QAccessible::Animation};
    if (!iface || depth > 12 || iface->state().invisible)
        return;
    visit(iface);
    if (named.contains(iface->role())) {
        EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty())
            << "role " << int(iface->role()) << " of " << (iface->object() ? iface->object()->metaObject()->className() : "?");
    }
    for (int i = 0; i < iface->childCount(); ++i)
        WalkAccessible(iface->child(i), visit, depth + 1);
}

// The letter that chooses `text` in its menu: the one after a single '&'.
QChar Mnemonic(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == u'&' && text.at(++i) != u'&')
            return text.at(i).toLower();
    }
    return {};
}

QStringList NamesOfRole(QAccessibleInterface *root, QAccessible::Role role)
{
    QStringList names;
    WalkAccessible(root, [&](QAccessibleInterface *iface) {
        if (iface->role() == role)
            names.append(iface->text(QAccessible::Name));
    });
    return names;
}
} // namespace

TEST_F(KeyboardTest, TabKeysSwitchLikeAClickWrapReachTabsByNumberAndHiddenPagesTakeNoFocus)
{
    Control(3)->Navigate(u"http://127.0.0.1:9/d?q=x"_s);
    Keywords()->setFocus();
    const QList<std::pair<const char *, int>> steps = {
        {"Ctrl+Tab", 1}, {"Ctrl+PgDown", 2}, {"Ctrl+Shift+Tab", 1}, {"Ctrl+PgUp", 0}, {"Ctrl+PgUp", 4},
        {"Ctrl+Tab", 0}, {"Alt+3", 2},       {"Alt+9", 4},          {"Alt+8", 4},     {"Alt+4", 3}};
    for (const auto &[keys, tab] : steps) {
        Press(keys);
        EXPECT_EQ(Tabs()->GetCurSel(), tab) << keys;
        EXPECT_EQ(view->CurrentBrowser(), view->Browsers().GetBrowser(tab)) << keys;
    }
    // The click path ran: the page's address is in the status bar.
    EXPECT_EQ(frame.GetMessageText(), u"http://127.0.0.1:9/d?q=x"_s);

    // Only the page shown is visible, so Tab never lands in another page.
    for (int page = 0; page < 5; ++page)
        EXPECT_EQ(view->Browsers().GetBrowser(page)->isVisible(), page == 3) << page;
}

TEST_F(KeyboardTest, FocusKeysSelectTheKeywordsCyclePanesAndEscapeStopsASearch)
{
    Keywords()->setEditText(u"old words"_s);
    view->CurrentBrowser()->setFocus();
    Press("Ctrl+L");
    EXPECT_TRUE(Keywords()->hasFocus());
    EXPECT_EQ(Keywords()->lineEdit()->selectedText(), u"old words"_s);
    Press("Ctrl+L");

    // Collapsed: keyword box and page; extended: the list between them.
    QWidget *list = Ctl(IDC_LST_ENGINES);
    QWidget *page = view->CurrentBrowser();
    const QList<std::pair<const char *, QWidget *>> panes = {
        {"F6", page}, {"F6", Keywords()}, {"Ctrl+Shift+E", Keywords()}, {"F6", list},
        {"F6", page}, {"Shift+F6", list}, {"Shift+F6", Keywords()}};
    for (const auto &[keys, pane] : panes) {
        Press(keys);
        EXPECT_TRUE(FocusIn(pane)) << keys;
    }

    // Escape does what Stop does; idle, it is left to the widgets.
    Keywords()->setEditText(u"words"_s);
    QTest::keyClick(Keywords(), Qt::Key_Return);
    ASSERT_TRUE(view->SearchRun().IsSearching());
    const QList<QAction *> keys = frame.actions();
    const auto escape = std::find_if(keys.begin(), keys.end(), [](QAction *a) { return a->data() == ID_STOP_SEARCH; });
    ASSERT_NE(escape, keys.end());
    ASSERT_TRUE(WaitUntil([&] { return (*escape)->isEnabled(); }));
    Press("Escape");
    EXPECT_FALSE(view->SearchRun().IsSearching());
    EXPECT_TRUE(Ctl<QPushButton>(IDC_BTN_SEARCH)->isEnabled());
    EXPECT_TRUE(Control(0)->Calls().contains(u"Stop"_s));
}

TEST_F(KeyboardTest, TextSizeKeysGoThroughTheFontCommands)
{
    const QList<std::pair<const char *, int>> steps = {{"Ctrl++", 3}, {"Ctrl+=", 4}, {"Ctrl++", 4}, {"Ctrl+-", 3},
                                                       {"Ctrl+0", 2}, {"Ctrl+-", 1}, {"Ctrl+-", 0}, {"Ctrl+-", 0}};
    for (const auto &[keys, expected] : steps) {
        Press(keys);
        EXPECT_EQ(Control(0)->ZoomLevel(), expected) << keys;
    }
}

TEST_F(KeyboardTest, NoTwoItemsOfAMenuShareAMnemonicAndAltVThenEOpensTheSettings)
{
    // The menu bar, its four menus and their submenu, the Font button's menu
    // and the engine list's context menu, at least.
    QList<const QWidget *> menus = {frame.menuBar()};
    for (const QMenu *menu : frame.findChildren<QMenu *>())
        menus.append(menu);
    ASSERT_GE(menus.size(), 8);
    ASSERT_TRUE(menus.contains(Ctl(IDC_LST_ENGINES)->findChild<QMenu *>()));
    // Stop and Toolbar have shared their T from the start; T goes to Stop
    // first, then to Toolbar.
    const QSet<QString> keptPair = {u"S&top"_s, u"&Toolbar"_s};
    for (const QWidget *menu : std::as_const(menus)) {
        QHash<QChar, QString> taken;
        for (const QAction *action : menu->actions()) {
            const QChar letter = Mnemonic(action->text());
            if (letter.isNull())
                continue;
            if (taken.contains(letter)) {
                EXPECT_TRUE((QSet{taken[letter], action->text()}) == keptPair)
                    << qPrintable(taken[letter]) << " and " << qPrintable(action->text()) << " in "
                    << qPrintable(menu->accessibleName());
            }
            taken.insert(letter, action->text());
        }
    }

    QString opened;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, &frame, [&opened] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            opened = dialog->windowTitle();
            dialog->close();
        }
    });
    closer.start(10);
    QTest::keyClick(&frame, Qt::Key_V, Qt::AltModifier);
    auto *viewMenu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(viewMenu, nullptr);
    QTest::keyClick(viewMenu, Qt::Key_E);
    EXPECT_EQ(opened, u"Settings"_s);
}

TEST_F(KeyboardTest, FindBarSearchesAsYouTypeStepsThroughMatchesKeepsItsTextAcrossTabsAndClosesWithEscape)
{
    Control(0)->SetPageText(u"alpha beta Alpha gamma alpha"_s);
    Control(1)->SetPageText(u"alpine"_s);
    ASSERT_EQ(Tabs()->GetCurSel(), 0);
    Press("Ctrl+F");
    auto *bar = view->findChild<CFindBar *>();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    QTest::keyClicks(QApplication::focusWidget(), u"alp"_s);
    EXPECT_TRUE(WaitUntil([bar] { return bar->ResultText() == u"1 of 3"_s; }));
    // One search for the word typed, not one per key.
    EXPECT_EQ(Control(0)->Calls().filter(u"FindText"_s), QStringList{u"FindText alp"_s});
    const QList<std::pair<const char *, const char *>> steps = {
        {"Return", "2 of 3"}, {"F3", "3 of 3"}, {"F3", "1 of 3"}, {"Shift+Return", "3 of 3"}, {"Shift+F3", "2 of 3"}};
    for (const auto &[keys, result] : steps) {
        Press(keys);
        EXPECT_EQ(bar->ResultText(), QString::fromLatin1(result)) << keys;
    }
    // Enter in the bar finds; it neither searches the engines nor complains.
    EXPECT_FALSE(view->SearchRun().IsSearching());
    EXPECT_TRUE(boxes.texts().isEmpty());

    // Another tab: the text stays and is searched there; the old page's
    // highlight goes.
    Control(0)->ClearCalls();
    Press("Ctrl+Tab");
    EXPECT_EQ(bar->Text(), u"alp"_s);
    EXPECT_EQ(bar->ResultText(), u"1 of 1"_s);
    EXPECT_TRUE(Control(0)->Calls().contains(u"StopFinding"_s));
    EXPECT_TRUE(Control(1)->Calls().contains(u"FindText alp"_s));
    // The bar stays above the page just shown.
    const QObjectList &stack = view->children();
    EXPECT_GT(stack.indexOf(bar), stack.indexOf(view->CurrentBrowser()));

    Press("Escape");
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(Control(1)->Calls().last(), u"StopFinding"_s);
    EXPECT_TRUE(FocusIn(view->CurrentBrowser()));
}

TEST_F(KeyboardTest, AccessibilityTreeNamesEveryControlAndTheSettingsPagesAndReadsTheStatus)
{
    Press("Ctrl+Shift+E");
    Press("Ctrl+Tab");
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&frame);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(NamesOfRole(window, QAccessible::PageTab), kEngines);
    // The engine list's cells, the first of each row with its check box.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(Ctl(IDC_LST_ENGINES));
    ASSERT_TRUE(list && list->tableInterface());
    QAccessibleInterface *cell = list->tableInterface()->cellAt(0, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), u"Alpha"_s);
    EXPECT_TRUE(cell->state().checkable);

    // The settings dialog: its tree, the tree's items and the page shown.
    CSettingsDlg dialog;
    dialog.show();
    QAccessibleInterface *settings = QAccessible::queryAccessibleInterface(&dialog);
    EXPECT_EQ(NamesOfRole(settings, QAccessible::TreeItem), (QStringList{u"General"_s, u"Other"_s}));
    EXPECT_EQ(NamesOfRole(settings, QAccessible::PropertyPage), QStringList{u"General"_s});
    dialog.close();

    // The status bar reads out as the message it shows.
    emit view->StatusTextChanged(u"Searching words"_s);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(frame.statusBar())->text(QAccessible::Name), u"Searching words"_s);
}

TEST(StatusAnnouncerTest, ANewStatusTextIsAnnouncedOnceAsANameChangeOfTheStatusBar)
{
    g_accessibleEvents.clear();
    QStatusBar bar;
    CStatusAnnouncer announcer(RecordAccessibleEvent);
    using Seen = QList<std::pair<QObject *, QAccessible::Event>>;
    for (const char *text : {"Searching words", "Complete", "Complete", "Complete"}) {
        bar.showMessage(QString::fromLatin1(text));
        announcer.Announce(&bar, QString::fromLatin1(text));
    }
    EXPECT_EQ(g_accessibleEvents, (Seen{{&bar, QAccessible::NameChanged}, {&bar, QAccessible::NameChanged}}));
    announcer.Announce(nullptr, u"Error"_s);
    EXPECT_EQ(g_accessibleEvents.size(), 2);
}

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "preferences/SettingsDlg.h"
#include "res/ResourceIds.h"
#include "tests/support/TestSupport.h"

namespace
{
const QString kSection = QStringLiteral("Settings");

// Types `text` over the edit's content and leaves the edit with Tab.
void typeAndLeave(QLineEdit *edit, const QString &text)
{
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

class SettingsDlgTest : public ::testing::Test
{
protected:
    ~SettingsDlgTest() override
    {
        dialog.reset();
        DestroyAppSettings();
    }

    static void store(const char *entry, int value)
    {
        WriteProfileInt(kSection, QString::fromLatin1(entry), value);
    }

    // Opens a fresh, active dialog over settings loaded afresh, on the given page if any.
    void open(int page = 0)
    {
        dialog.reset();
        DestroyAppSettings();
        dialog = std::make_unique<CSettingsDlg>();
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        dialog->ShowPage(page);
    }
    template <typename T = QCheckBox>
    T *control(int id)
    {
        T *widget = dialog->findChild<T *>(QString::number(id));
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }

    TempProfile profile;
    MessageBoxRecorder boxes;
    std::unique_ptr<CSettingsDlg> dialog;
};
} // namespace

TEST_F(SettingsDlgTest, FirstOpeningPreserveKeywordsAndSwitchingPages)
{
    open();
    QCheckBox *preserve = control(IDC_CHK_PRESERVE_KEYWORDS);
    QCheckBox *latest = control(IDC_CHK_SHOW_LATEST);
    QLineEdit *count = control<QLineEdit>(IDC_EDT_KEYWORDS_COUNT);
    EXPECT_FALSE(count->isEnabled() || latest->isEnabled());

    // The tree shows one page and shrinks the other to nothing.
    QWidget *general = dialog->GeneralPage();
    COtherSettingsPage *other = dialog->OtherPage();
    QTreeWidget *tree = dialog->PageTree();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->topLevelItem(1)).center());
    EXPECT_EQ(general->size(), QSize(0, 0));

    // Values in memory that were never stored: checking the box fetches them.
    GetAppSettings()->m_nKeywordsHisCount = 9;
    GetAppSettings()->m_bShowLatestKeyword = 1;
    Click(preserve);
    EXPECT_EQ(GetAppSettings()->m_bPreservedKeywords, 1);
    EXPECT_TRUE(count->text() == u"9" && count->isEnabled());
    EXPECT_TRUE(latest->isChecked() && latest->isEnabled());
    Click(preserve);
    EXPECT_EQ(GetAppSettings()->m_bPreservedKeywords, 0);
    EXPECT_FALSE(count->isEnabled() || latest->isEnabled());
    EXPECT_TRUE(other->IsModified());

    QTest::keyClick(tree, Qt::Key_Up);
    EXPECT_EQ(other->size(), QSize(0, 0));
    // Tab never lands on the controls of the page shrunk away.
    control(IDC_CHK_PRESERVE_POS)->setFocus(Qt::OtherFocusReason);
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_FALSE(other->isAncestorOf(QApplication::focusWidget()));
    }
}

TEST_F(SettingsDlgTest, OnlyOkOrApplyAfterAChangeWritesTheStore)
{
    store("PreservedKeywords", 1);
    store("KeywordsHisCount", 7);
    store("ShowLatestKeyword", 1);
    const QString before = profile.dump();
    open(IDD_SETTINGS_OTHER);
    // Leaving the count with the value it had is no change.
    typeAndLeave(control<QLineEdit>(IDC_EDT_KEYWORDS_COUNT), QStringLiteral("7"));
    Click(control<QPushButton>(IDC_BTN_APPLY));
    EXPECT_TRUE(dialog->isVisible());
    Click(control<QPushButton>(IDOK));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(profile.dump(), before);

    // Cancel writes nothing but leaves the edited field in memory until the next load.
    open();
    Click(control(IDC_CHK_PRESERVE_POS));
    Click(control<QPushButton>(IDCANCEL));
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(profile.dump(), before);
    EXPECT_EQ(GetAppSettings()->m_bPreservedPos, 1);
    GetAppSettings()->Load();
    EXPECT_EQ(GetAppSettings()->m_bPreservedPos, 0);

    // The show-latest box follows the store and OK writes it.
    open(IDD_SETTINGS_OTHER);
    ASSERT_TRUE(control(IDC_CHK_SHOW_LATEST)->isChecked());
    Click(control(IDC_CHK_SHOW_LATEST));
    Click(control<QPushButton>(IDOK));
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("ShowLatestKeyword"), -1), 0);

    DeleteProfileSection(kSection);
    open();
    // Two clicks bring the box back to where it was; that is still a change.
    Click(control(IDC_CHK_PRESERVE_POS));
    Click(control(IDC_CHK_PRESERVE_POS));
    Click(control<QPushButton>(IDOK));
    EXPECT_EQ(profile.dump(), QStringLiteral("Settings/KeywordsHisCount=16\nSettings/PreservedKeywords=0\n"
                                             "Settings/PreservedPos=0\nSettings/ShowLatestKeyword=0"));
}

TEST_F(SettingsDlgTest, CountOutsideOneToSixteenIsRefusedAndApplyOrEnterCommitsTheRest)
{
    store("PreservedKeywords", 1);
    store("KeywordsHisCount", 16);
    open(IDD_SETTINGS_OTHER);
    QLineEdit *count = control<QLineEdit>(IDC_EDT_KEYWORDS_COUNT);
    for (const QString &text : {QStringLiteral("20"), QStringLiteral("0"), QString()}) {
        const size_t shown = boxes.calls.size();
        typeAndLeave(count, text);
        // Exactly one message: the focus coming back does not validate again.
        ASSERT_EQ(boxes.calls.size(), shown + 1) << qPrintable(text);
        EXPECT_EQ(boxes.calls.back().text, QStringLiteral("Please enter an integer between 1 and 16."));
        EXPECT_TRUE(WaitUntil([count] { return count->hasFocus(); }));
        EXPECT_EQ(GetAppSettings()->m_nKeywordsHisCount, 16);
    }
    EXPECT_FALSE(dialog->OtherPage()->IsModified());

    typeAndLeave(count, QStringLiteral("8"));
    Click(control<QPushButton>(IDC_BTN_APPLY));
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("KeywordsHisCount"), 0), 8);
    EXPECT_TRUE(dialog->isVisible());

    // Enter closes the dialog without the edit losing the focus first: the
    // typed count is taken all the same, and a refused one keeps it open.
    count->setFocus(Qt::OtherFocusReason);
    for (const QString &typed : {QStringLiteral("17"), QStringLiteral("1")}) {
        count->selectAll();
        QTest::keyClicks(count, typed);
        QTest::keyClick(count, Qt::Key_Return);
        EXPECT_EQ(dialog->isVisible(), typed == u"17");
    }
    EXPECT_EQ(boxes.calls.size(), 4u);
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("KeywordsHisCount"), 0), 1);
}

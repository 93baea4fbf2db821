#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "preferences/SettingsDlg.h"
#include "res/ResourceIds.h"
#include "tests/support/TestSupport.h"

namespace
{
const QString kSection = QStringLiteral("Settings");

template <typename T>
T *control(QWidget *dialog, int id)
{
    T *widget = dialog->findChild<T *>(QString::number(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// Types `text` over the edit's content and leaves the edit with Tab.
void typeAndLeave(QLineEdit *edit, const QString &text)
{
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

QRect pageRect(CSettingsDlg &dialog)
{
    const QRect area = dialog.PageArea()->geometry();
    return {area.x(), 0, area.width(), area.y() + area.height()};
}

bool isInside(const QWidget *widget, const QWidget *ancestor)
{
    for (; widget; widget = widget->parentWidget())
        if (widget == ancestor)
            return true;
    return false;
}

class SettingsDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DestroyAppSettings();
    }
    void TearDown() override
    {
        DestroyAppSettings();
    }

    static void store(const char *entry, int value)
    {
        WriteProfileInt(kSection, QString::fromLatin1(entry), value);
    }

    static void showActive(CSettingsDlg &dialog)
    {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    TempProfile profile;
    MessageBoxRecorder boxes;
};
} // namespace

TEST_F(SettingsDlgTest, FirstOpeningWithNothingStoredShowsTheDefaults)
{
    CSettingsDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
    EXPECT_FALSE(control<QCheckBox>(&dialog, IDC_CHK_PRESERVE_POS)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(&dialog, IDC_CHK_PRESERVE_KEYWORDS)->isChecked());
    auto *count = control<QLineEdit>(&dialog, IDC_EDT_KEYWORDS_COUNT);
    EXPECT_EQ(count->text(), QStringLiteral("16"));
    EXPECT_FALSE(count->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(&dialog, IDC_CHK_SHOW_LATEST)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(&dialog, IDC_CHK_SHOW_LATEST)->isEnabled());
    // Captions are not cut off where the row has room for them.
    for (int id : {IDC_CHK_PRESERVE_POS, IDC_CHK_PRESERVE_KEYWORDS, IDC_CHK_SHOW_LATEST}) {
        auto *box = control<QCheckBox>(&dialog, id);
        EXPECT_GE(box->width(), box->sizeHint().width()) << id;
    }

    dialog.show();
    EXPECT_TRUE(dialog.GeneralPage()->isVisible());
    EXPECT_EQ(dialog.GeneralPage()->geometry(), pageRect(dialog));
    EXPECT_FALSE(dialog.OtherPage()->isVisible());
    EXPECT_FALSE(dialog.PageArea()->isVisible());

    EXPECT_TRUE(dialog.PageTree()->selectedItems().isEmpty());

    EXPECT_TRUE(profile.dump().isEmpty());
}

TEST_F(SettingsDlgTest, PreserveKeywordsSwitchesItsOptionsFromTheStore)
{
    CSettingsDlg dialog;
    dialog.show();
    dialog.ShowPage(IDD_SETTINGS_OTHER);
    // Values in memory that were never stored: checking the box fetches them.
    GetAppSettings()->m_nKeywordsHisCount = 9;
    GetAppSettings()->m_bShowLatestKeyword = 1;

    auto *preserve = control<QCheckBox>(&dialog, IDC_CHK_PRESERVE_KEYWORDS);
    auto *count = control<QLineEdit>(&dialog, IDC_EDT_KEYWORDS_COUNT);
    auto *latest = control<QCheckBox>(&dialog, IDC_CHK_SHOW_LATEST);
    click(preserve);
    EXPECT_TRUE(preserve->isChecked());
    EXPECT_EQ(GetAppSettings()->m_bPreservedKeywords, 1);
    EXPECT_EQ(count->text(), QStringLiteral("9"));
    EXPECT_TRUE(count->isEnabled());
    EXPECT_TRUE(latest->isChecked());
    EXPECT_TRUE(latest->isEnabled());

    click(preserve);
    EXPECT_EQ(GetAppSettings()->m_bPreservedKeywords, 0);
    EXPECT_FALSE(count->isEnabled());
    EXPECT_FALSE(latest->isEnabled());
    EXPECT_EQ(count->text(), QStringLiteral("9"));
    EXPECT_TRUE(latest->isChecked());
    EXPECT_TRUE(dialog.OtherPage()->IsModified());
}

TEST_F(SettingsDlgTest, OkWritesOnlyAfterAChange)
{
    store("PreservedKeywords", 1);
    store("KeywordsHisCount", 7);
    const QString before = profile.dump();
    {
        CSettingsDlg dialog;
        showActive(dialog);
        dialog.ShowPage(IDD_SETTINGS_OTHER);
        // Leaving the count with the value it had is no change.
        typeAndLeave(control<QLineEdit>(&dialog, IDC_EDT_KEYWORDS_COUNT), QStringLiteral("7"));
        click(control<QPushButton>(&dialog, IDOK));
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(profile.dump(), before);

    DestroyAppSettings();
    DeleteProfileSection(kSection);
    {
        CSettingsDlg dialog;
        dialog.show();
        // Two clicks bring the box back to where it was; that is still a change.
        auto *position = control<QCheckBox>(&dialog, IDC_CHK_PRESERVE_POS);
        click(position);
        click(position);
        click(control<QPushButton>(&dialog, IDOK));
    }
    EXPECT_EQ(profile.dump(), QStringLiteral("Settings/KeywordsHisCount=16\nSettings/PreservedKeywords=0\n"
                                             "Settings/PreservedPos=0\nSettings/ShowLatestKeyword=0"));
}

TEST_F(SettingsDlgTest, CancelKeepsTheStoredValuesButNotTheMemory)
{
    store("PreservedPos", 1);
    CSettingsDlg dialog;
    dialog.show();
    auto *position = control<QCheckBox>(&dialog, IDC_CHK_PRESERVE_POS);
    EXPECT_TRUE(position->isChecked());
    click(position);
    EXPECT_EQ(GetAppSettings()->m_bPreservedPos, 0);

    click(control<QPushButton>(&dialog, IDCANCEL));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("PreservedPos"), -1), 1);
    EXPECT_EQ(GetAppSettings()->m_bPreservedPos, 0);
    GetAppSettings()->Load();
    EXPECT_EQ(GetAppSettings()->m_bPreservedPos, 1);
}

TEST_F(SettingsDlgTest, CountOutsideOneToSixteenIsRefused)
{
    store("PreservedKeywords", 1);
    store("KeywordsHisCount", 16);
    CSettingsDlg dialog;
    showActive(dialog);
    dialog.ShowPage(IDD_SETTINGS_OTHER);
    auto *count = control<QLineEdit>(&dialog, IDC_EDT_KEYWORDS_COUNT);

    const QStringList refused{QStringLiteral("20"), QStringLiteral("0"), QString(), QStringLiteral("99999999999")};
    for (const QString &text : refused) {
        const size_t shown = boxes.calls().size();
        typeAndLeave(count, text);
        ASSERT_EQ(boxes.calls().size(), shown + 1) << qPrintable(text);
        EXPECT_EQ(boxes.calls().back().text, QStringLiteral("Please enter an integer between 1 and 16."));
        QTRY_VERIFY_WITH_TIMEOUT(count->hasFocus(), 5000);
        EXPECT_EQ(GetAppSettings()->m_nKeywordsHisCount, 16);
    }

    // Letters cannot be typed; pasted ones are refused all the same.
    count->clear();
    QTest::keyClicks(count, QStringLiteral("ab"));
    EXPECT_EQ(count->text(), QString());
    count->setText(QStringLiteral("1a"));
    QTest::keyClick(count, Qt::Key_Tab);
    EXPECT_EQ(boxes.calls().size(), refused.size() + 1u);
    EXPECT_FALSE(dialog.OtherPage()->IsModified());

    typeAndLeave(count, QStringLiteral("8"));
    EXPECT_EQ(boxes.calls().size(), refused.size() + 1u);
    EXPECT_EQ(GetAppSettings()->m_nKeywordsHisCount, 8);
    EXPECT_TRUE(dialog.OtherPage()->IsModified());
    click(control<QPushButton>(&dialog, IDOK));
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("KeywordsHisCount"), 0), 8);
}

TEST_F(SettingsDlgTest, TheTreeSwitchesPagesBySize)
{
    CSettingsDlg dialog;
    showActive(dialog);
    QTreeWidget *tree = dialog.PageTree();
    CGeneralSettingsPage *general = dialog.GeneralPage();
    COtherSettingsPage *other = dialog.OtherPage();

    // The caption's mnemonic leads to the tree.
    control<QCheckBox>(&dialog, IDC_CHK_PRESERVE_POS)->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(tree->hasFocus(), 5000);

    const QRect otherRow = tree->visualItemRect(tree->topLevelItem(1));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, otherRow.center());
    EXPECT_TRUE(other->isVisible());
    EXPECT_EQ(other->geometry(), pageRect(dialog));
    EXPECT_EQ(general->size(), QSize(0, 0));

    QTest::keyClick(tree, Qt::Key_Up);
    EXPECT_EQ(general->geometry(), pageRect(dialog));
    EXPECT_EQ(other->size(), QSize(0, 0));
    EXPECT_TRUE(other->isVisible()) << "a page once shown stays shown, at zero size";

    // Tab never lands on the controls of the page shrunk away.
    control<QCheckBox>(&dialog, IDC_CHK_PRESERVE_POS)->setFocus(Qt::OtherFocusReason);
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_FALSE(isInside(QApplication::focusWidget(), other));
    }

    dialog.ShowPage(0);
    EXPECT_EQ(general->geometry(), pageRect(dialog));
}

TEST_F(SettingsDlgTest, ApplyAndEnterCommitWhatIsShown)
{
    store("PreservedKeywords", 1);
    store("KeywordsHisCount", 16);
    CSettingsDlg dialog;
    showActive(dialog);
    click(control<QCheckBox>(&dialog, IDC_CHK_PRESERVE_POS));
    click(control<QPushButton>(&dialog, IDC_BTN_APPLY));
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("PreservedPos"), 0), 1);
    EXPECT_TRUE(dialog.isVisible());

    // Enter closes the dialog without the edit losing the focus first: the
    // typed count is taken all the same, and a refused one keeps it open.
    dialog.ShowPage(IDD_SETTINGS_OTHER);
    auto *count = control<QLineEdit>(&dialog, IDC_EDT_KEYWORDS_COUNT);
    count->setFocus(Qt::OtherFocusReason);
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("17"));
    QTest::keyClick(count, Qt::Key_Return);
    EXPECT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(dialog.isVisible());

    QTest::keyClick(count, Qt::Key_End);
    QTest::keyClick(count, Qt::Key_Backspace);
    QTest::keyClick(count, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(GetProfileInt(kSection, QStringLiteral("KeywordsHisCount"), 0), 1);
}

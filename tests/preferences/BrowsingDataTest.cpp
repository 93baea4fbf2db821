#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "preferences/BrowsingData.h"
#include "preferences/OtherSettingsPage.h"
#include "res/ResourceIds.h"
#include "tests/support/TestSupport.h"

namespace
{
// Installs a clearing that counts its calls, for the test's lifetime.
class CountingHandler final : public IBrowsingData
{
public:
    CountingHandler() = default;
    ~CountingHandler() override = default;
    Q_DISABLE_COPY_MOVE(CountingHandler)

    void Clear() override { ++count; }

    int count = 0;

private:
    const CInstalled<IBrowsingData> m_installed{*this};
};
} // namespace

TEST(BrowsingDataTest, ClearsOnlyAfterTheUserSaysYes)
{
    EXPECT_FALSE(ClearBrowsingDataWithConfirmation()); // nothing installed: nothing asked
    CountingHandler handler;
    {
        MessageBoxRecorder boxes(IDNO);
        EXPECT_FALSE(ClearBrowsingDataWithConfirmation());
        ASSERT_EQ(boxes.calls().size(), 1u);
        EXPECT_EQ(boxes.calls().front().type & MB_TYPEMASK, MB_YESNO);
        EXPECT_EQ(handler.count, 0);
    }
    MessageBoxRecorder boxes(IDYES);
    EXPECT_TRUE(ClearBrowsingDataWithConfirmation());
    EXPECT_EQ(handler.count, 1);
}

TEST(BrowsingDataTest, TheOtherPagesButtonAsksAndClears)
{
    TempProfile profile;
    CountingHandler handler;
    MessageBoxRecorder boxes(IDYES);
    QWidget parent;
    COtherSettingsPage page;
    ASSERT_TRUE(page.Create(IDD_SETTINGS_OTHER, &parent));
    auto *button = page.findChild<QPushButton *>(QString::number(IDC_BTN_CLEAR_BROWSING_DATA));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Clear Browsing Data..."));
    ASSERT_TRUE(button->isEnabled());
    parent.show();
    page.show();
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(handler.count, 1);
}

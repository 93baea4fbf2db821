#include <QPushButton>

#include <gtest/gtest.h>

#include "preferences/BrowsingData.h"
#include "preferences/OtherSettingsPage.h"
#include "res/ResourceIds.h"
#include "tests/support/TestSupport.h"

namespace
{
struct CountingHandler final : IBrowsingData
{
    void Clear() override { ++count; }
    int count = 0;
};
} // namespace

TEST(BrowsingDataTest, TheOtherPagesButtonClearsOnlyAfterTheUserSaysYes)
{
    EXPECT_FALSE(ClearBrowsingDataWithConfirmation()); // nothing installed: nothing asked
    TempProfile profile;
    CountingHandler handler;
    const CInstalled<IBrowsingData> installed(handler);
    QWidget parent;
    COtherSettingsPage page;
    ASSERT_TRUE(page.Create(IDD_SETTINGS_OTHER, &parent));
    parent.show();
    page.show();
    auto *button = Ctl<QPushButton>(&page, IDC_BTN_CLEAR_BROWSING_DATA);
    for (const int answer : {IDNO, IDYES}) {
        MessageBoxRecorder boxes(answer);
        Click(button);
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls.front().type & MB_TYPEMASK, MB_YESNO);
        EXPECT_EQ(handler.count, answer == IDYES ? 1 : 0);
    }
}

#include <QPushButton>

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

TEST(BrowsingDataTest, TheOtherPagesButtonClearsOnlyAfterTheUserSaysYes)
{
    EXPECT_FALSE(ClearBrowsingDataWithConfirmation()); // nothing installed: nothing asked
    TempProfile profile;
    CountingHandler handler;
    QWidget parent;
    COtherSettingsPage page;
    ASSERT_TRUE(page.Create(IDD_SETTINGS_OTHER, &parent));
    parent.show();
    page.show();
    auto *button = Ctl<QPushButton>(&page, IDC_BTN_CLEAR_BROWSING_DATA);
    for (const int answer : {IDNO, IDYES}) {
        MessageBoxRecorder boxes(answer);
        Click(button);
        ASSERT_EQ(boxes.calls().size(), 1u);
        EXPECT_EQ(boxes.calls().front().type & MB_TYPEMASK, MB_YESNO);
        EXPECT_EQ(handler.count, answer == IDYES ? 1 : 0);
    }
}

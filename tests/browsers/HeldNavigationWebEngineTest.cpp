#include <QWebEnginePage>
#include <QWidget>

#include "browsers/webengine/WebEngineBrowserControl.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

// Navigations held while the program's window first appears, on the real
// Qt WebEngine control against a loopback server.

namespace
{
class HeldNavigationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.listen());
        m_window.resize(320, 240);
        m_window.show();
        CWebEngineBrowserControl::HoldNavigations();
    }
    void TearDown() override { CWebEngineBrowserControl::ReleaseNavigations(); }

    LoopbackHttpServer m_server;
    QWidget m_window;
    MessageBoxRecorder m_boxes;
};
} // namespace

TEST_F(HeldNavigationTest, HeldPagesWaitBusyWithTheirLatestAddressAndLoadItOnRelease)
{
    CWebEngineBrowserControl first(&m_window);
    CWebEngineBrowserControl second(&m_window);
    first.Navigate(m_server.url(QStringLiteral("/old")));
    first.Navigate(m_server.url(QStringLiteral("/new")));
    second.Navigate(m_server.url(QStringLiteral("/second")));

    // Nothing is asked of the engine or the network while held.
    EXPECT_EQ(first.Page(), nullptr);
    EXPECT_TRUE(first.Busy());
    EXPECT_EQ(first.LocationURL(), m_server.url(QStringLiteral("/new")));
    EXPECT_FALSE(WaitUntil([&] { return m_server.requestCount() > 0; }, 300));

    CWebEngineBrowserControl::ReleaseNavigations();
    ASSERT_TRUE(WaitUntil([&] { return !first.Busy() && !second.Busy(); }, 30000));
    EXPECT_EQ(m_server.requests(), QStringList({QStringLiteral("/new"), QStringLiteral("/second")}));
    ASSERT_NE(first.Page(), nullptr);
    EXPECT_EQ(first.LocationURL(), m_server.url(QStringLiteral("/new")));

    // Once released, navigations go straight to the engine.
    first.Navigate(m_server.url(QStringLiteral("/after")));
    EXPECT_TRUE(WaitUntil([&] { return m_server.requestCount() == 3; }, 30000));
}

TEST_F(HeldNavigationTest, BlankingOrStoppingDropsAHeldNavigation)
{
    CWebEngineBrowserControl blanked(&m_window);
    CWebEngineBrowserControl stopped(&m_window);
    blanked.Navigate(m_server.url(QStringLiteral("/blanked")));
    blanked.Navigate(QStringLiteral("about:blank"));
    stopped.Navigate(m_server.url(QStringLiteral("/stopped")));
    stopped.Stop();
    EXPECT_FALSE(blanked.Busy());
    EXPECT_FALSE(stopped.Busy());
    EXPECT_EQ(stopped.LocationURL(), QStringLiteral("about:blank"));

    CWebEngineBrowserControl::ReleaseNavigations();
    EXPECT_FALSE(WaitUntil([&] { return m_server.requestCount() > 0; }, 500));
    EXPECT_EQ(blanked.Page(), nullptr);
    EXPECT_EQ(stopped.Page(), nullptr);
}

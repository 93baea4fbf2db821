#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include "frame/FramePlacement.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "tests/frame/FrameTestSupport.h"
#include "tests/support/TestSupport.h"

namespace
{
const QString kSettings = QStringLiteral("Settings");

int storedInt(const QString &name)
{
    return GetProfileInt(kSettings, name, -1);
}

QString storedPosition()
{
    return GetProfileString(kSettings, QStringLiteral("Position"));
}

class FramePlacementTest : public ::testing::Test
{
protected:
    // Every frame below is the first of a new run.
    void SetUp() override { DestroyAppSettings(); }
    void TearDown() override { DestroyAppSettings(); }

    static void keepPositions(const QString &position)
    {
        WriteProfileInt(kSettings, QStringLiteral("PreservedPos"), 1);
        WriteProfileString(kSettings, QStringLiteral("Position"), position);
        DestroyAppSettings();
    }

    TempProfile profile;
};
} // namespace

TEST_F(FramePlacementTest, WithoutKeptPositionsOpensAtDefaultRectangleAndWritesNothing)
{
    {
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), QRect(0, 0, 760, 640));
        EXPECT_FALSE(frame.isMaximized() || frame.isMinimized());
        EXPECT_EQ(frame.windowTitle(), QStringLiteral("Quaerio"));
        frame.showMaximized();
        frame.close();
    }
    // Only the view's own value is written.
    EXPECT_EQ(profile.dump(), QStringLiteral("Settings/Extended=0"));

    // Switched off after a maximised close: still opens maximised, over
    // the default rectangle.
    WriteProfileString(kSettings, QStringLiteral("Position"), QStringLiteral("0100 0100 0500 0500"));
    WriteProfileInt(kSettings, QStringLiteral("max"), 1);
    WriteProfileInt(kSettings, QStringLiteral("icon"), 0);
    DestroyAppSettings();
    const QString before = profile.dump();
    CMainFrame frame;
    StartFrame(frame);
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_EQ(frame.normalGeometry(), QRect(0, 0, 760, 640));
    frame.showNormal();
    frame.close();
    EXPECT_EQ(profile.dump(), before);
}

TEST_F(FramePlacementTest, MaximisedOrMinimisedFromMaximisedReopensMaximisedOverItsNormalRectangle)
{
    const QString position = QStringLiteral("-008 0010 0600 0500");
    const QRect normal(-8, 10, 608, 490);
    keepPositions(position);
    {
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), normal);
        frame.findChild<QToolBar *>()->hide();
        frame.statusBar()->hide();
        frame.showMaximized();
        QTRY_VERIFY(frame.isMaximized());
        frame.close();
    }
    EXPECT_EQ(storedPosition(), position);
    EXPECT_EQ(storedInt(QStringLiteral("max")), 1);
    EXPECT_EQ(storedInt(QStringLiteral("icon")), 0);

    DestroyAppSettings();
    {
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_TRUE(frame.isMaximized());
        EXPECT_EQ(frame.normalGeometry(), normal);
        EXPECT_TRUE(frame.findChild<QToolBar *>()->isHidden());
        EXPECT_TRUE(frame.statusBar()->isHidden());
        EXPECT_FALSE(frame.menuBar()->isHidden());
        frame.setWindowState(frame.windowState() | Qt::WindowMinimized);
        QTRY_VERIFY(frame.isMinimized());
        frame.close();
    }
    EXPECT_EQ(storedPosition(), position);
    EXPECT_EQ(storedInt(QStringLiteral("max")), 1);
    EXPECT_EQ(storedInt(QStringLiteral("icon")), 1);

    DestroyAppSettings();
    CMainFrame frame;
    StartFrame(frame);
    EXPECT_TRUE(frame.isMinimized());
    frame.setWindowState(frame.windowState() & ~Qt::WindowMinimized);
    EXPECT_TRUE(frame.isMaximized());
    frame.showNormal();
    QTRY_COMPARE(frame.geometry(), normal);
}

TEST_F(FramePlacementTest, UnusableOrInvisiblePositionGivesAWindowOnTheScreen)
{
    // The test platform has two screens side by side: 800 x 600 (primary)
    // and 1024 x 768 to its right.
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    const QRect fallback(0, 0, 760, 640);
    const struct
    {
        const char *position;
        QRect expected;
    } cases[] = {
        {"", fallback},
        {"abc", fallback},
        {"0123456789", fallback},
        {"99999999999999999999 99999999999999999999", fallback},
        {"-2147483649 0000 0700 0500", fallback},
        {"0500 0400 0100 0100", fallback},                              // inverted
        {"1000 0100 1500 0500", QRect(1000, 100, 500, 400)},           // on the second screen
        {"1824 0100 2024 0300", QRect(corner, QSize(200, 200))},       // touching the last edge only
        {"3000 2000 3500 2400", QRect(corner, QSize(500, 400))},       // its monitor is gone
        {"-3000 0000 -100 0900", QRect(corner, QSize(800, 600))},      // gone and too large
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.position);
        keepPositions(QString::fromLatin1(c.position));
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), c.expected);
        frame.close();
        EXPECT_EQ(storedPosition(), FormatFramePosition(c.expected));
    }
}

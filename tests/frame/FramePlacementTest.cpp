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

TEST_F(FramePlacementTest, FreshStartOpensNormalAtDefaultRectangleAndStoresNothing)
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
}

TEST_F(FramePlacementTest, MaximisedCloseIsRestoredMaximisedOverItsNormalRectangleWithItsBars)
{
    const QString position = QStringLiteral("-008 0010 0600 0500");
    keepPositions(position);
    {
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), QRect(-8, 10, 608, 490));
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
    CMainFrame next;
    StartFrame(next);
    EXPECT_TRUE(next.isMaximized());
    EXPECT_TRUE(next.findChild<QToolBar *>()->isHidden());
    EXPECT_TRUE(next.statusBar()->isHidden());
    EXPECT_FALSE(next.menuBar()->isHidden());
    next.showNormal();
    QTRY_COMPARE(next.geometry(), QRect(-8, 10, 608, 490));
    next.close();
    EXPECT_EQ(storedPosition(), position);
    EXPECT_EQ(storedInt(QStringLiteral("max")), 0);
}

TEST_F(FramePlacementTest, MinimisedFromMaximisedRestoresMaximised)
{
    keepPositions(QStringLiteral("0040 0030 0700 0560"));
    {
        CMainFrame frame;
        StartFrame(frame);
        frame.showMaximized();
        frame.setWindowState(frame.windowState() | Qt::WindowMinimized);
        QTRY_VERIFY(frame.isMinimized());
        frame.close();
    }
    EXPECT_EQ(storedInt(QStringLiteral("icon")), 1);
    EXPECT_EQ(storedInt(QStringLiteral("max")), 1);
    EXPECT_EQ(storedPosition(), QStringLiteral("0040 0030 0700 0560"));

    DestroyAppSettings();
    CMainFrame next;
    StartFrame(next);
    EXPECT_TRUE(next.isMinimized());
    next.setWindowState(next.windowState() & ~Qt::WindowMinimized);
    EXPECT_TRUE(next.isMaximized());
    EXPECT_EQ(next.normalGeometry(), QRect(40, 30, 660, 530));
}

TEST_F(FramePlacementTest, KeepingPositionsOffStillAppliesStoredStateButWritesNothing)
{
    WriteProfileInt(kSettings, QStringLiteral("PreservedPos"), 0);
    WriteProfileString(kSettings, QStringLiteral("Position"), QStringLiteral("0100 0100 0500 0500"));
    WriteProfileInt(kSettings, QStringLiteral("icon"), 0);
    WriteProfileInt(kSettings, QStringLiteral("max"), 1);
    const QString before = profile.dump();

    CMainFrame frame;
    StartFrame(frame);
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_EQ(frame.normalGeometry(), QRect(0, 0, 760, 640));
    frame.showNormal();
    frame.close();
    EXPECT_EQ(profile.dump(), before);
}

TEST_F(FramePlacementTest, UnusablePositionGivesDefaultWindowAndStoresAReadableOne)
{
    for (const QString &position : {QString(), QStringLiteral("abc"), QStringLiteral("0123456789"),
                                    QStringLiteral("99999999999999999999 99999999999999999999"),
                                    QStringLiteral("-2147483649 0000 0700 0500"), QStringLiteral("0500 0400 0100 0100"),
                                    QStringLiteral("\u0661\u0662\u0663\u0664 \u0000\u0000 xx")}) {
        SCOPED_TRACE(position.toStdString());
        keepPositions(position);
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), QRect(0, 0, 760, 640));
        frame.close();
        EXPECT_EQ(storedPosition(), QStringLiteral("0000 0000 0760 0640"));
    }
}

TEST_F(FramePlacementTest, PositionOnRemovedMonitorMovesOntoPrimaryScreen)
{
    // The test platform has two screens side by side: 800 x 600 (primary)
    // and 1024 x 768 to its right.
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    const struct
    {
        const char16_t *position;
        QRect expected;
    } cases[] = {
        {u"1000 0100 1500 0500", QRect(1000, 100, 500, 400)},          // on the second screen
        {u"-400 0100 0060 0500", QRect(-400, 100, 460, 400)},          // partly on the primary
        {u"1824 0100 2024 0300", QRect(corner, QSize(200, 200))},      // touching the last edge only
        {u"3000 2000 3500 2400", QRect(corner, QSize(500, 400))},      // monitor gone
        {u"-3000 0000 -100 0900", QRect(corner, QSize(800, 600))},     // gone and too large
    };
    for (const auto &c : cases) {
        const QString position = QString::fromUtf16(c.position);
        SCOPED_TRACE(position.toStdString());
        keepPositions(position);
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), c.expected);
        frame.close();
        EXPECT_EQ(storedPosition(), FormatFramePosition(c.expected));
    }
}

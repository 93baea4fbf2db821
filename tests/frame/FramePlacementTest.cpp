#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "frame/FramePlacement.h"
#include "platform/ProfileStore.h"
#include "preferences/AppSettings.h"
#include "tests/frame/FrameTestSupport.h"
#include "tests/support/TestSupport.h"

namespace
{
const QString kSettings = QStringLiteral("Settings");

class FramePlacementTest : public ::testing::Test
{
protected:
    // Every frame below is the first of a new run.
    void SetUp() override { DestroyAppSettings(); }
    void TearDown() override { DestroyAppSettings(); }

    void keepPositions(const QString &position)
    {
        WriteProfileInt(kSettings, QStringLiteral("PreservedPos"), 1);
        if (!position.isNull())
            WriteProfileString(kSettings, QStringLiteral("Position"), position);
    }

    static QString stored(const QString &name) { return GetProfileString(kSettings, name); }

    // The profile without the value the view stores when it goes.
    QString frameValues() const
    {
        QStringList lines = profile.dump().split(u'\n', Qt::SkipEmptyParts);
        lines.removeIf([](const QString &line) { return line.startsWith(u"Settings/Extended="); });
        return lines.join(u'\n');
    }

    TempProfile profile;
};

QRect primaryArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}
} // namespace

TEST_F(FramePlacementTest, FreshStartOpensNormalAtDefaultRectangleAndStoresNothing)
{
    {
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), QRect(0, 0, 760, 640));
        EXPECT_EQ(frame.windowState() & ~Qt::WindowActive, Qt::WindowNoState);
        EXPECT_EQ(frame.windowTitle(), QStringLiteral("Quaerio"));
        frame.showMaximized();
        frame.close();
    }
    EXPECT_EQ(frameValues(), QString());
}

TEST_F(FramePlacementTest, MaximisedCloseIsRestoredMaximisedOverItsNormalRectangle)
{
    keepPositions(QStringLiteral("-008 0010 0600 0500"));
    {
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), QRect(-8, 10, 608, 490));
        frame.showMaximized();
        QTRY_VERIFY(frame.isMaximized());
        frame.close();
    }
    EXPECT_EQ(stored(QStringLiteral("Position")), QStringLiteral("-008 0010 0600 0500"));
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("max"), -1), 1);
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("icon"), -1), 0);

    DestroyAppSettings();
    CMainFrame next;
    StartFrame(next);
    EXPECT_TRUE(next.isMaximized());
    EXPECT_EQ(next.normalGeometry(), QRect(-8, 10, 608, 490));
    next.showNormal();
    QTRY_COMPARE(next.geometry(), QRect(-8, 10, 608, 490));
    next.close();
    EXPECT_EQ(stored(QStringLiteral("Position")), QStringLiteral("-008 0010 0600 0500"));
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("max"), -1), 0);
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
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("icon"), -1), 1);
    EXPECT_EQ(GetProfileInt(kSettings, QStringLiteral("max"), -1), 1);
    EXPECT_EQ(stored(QStringLiteral("Position")), QStringLiteral("0040 0030 0700 0560"));

    DestroyAppSettings();
    CMainFrame next;
    StartFrame(next);
    EXPECT_TRUE(next.isMinimized());
    EXPECT_TRUE(next.isVisible());
    EXPECT_FALSE(next.isActiveWindow());
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

TEST_F(FramePlacementTest, GarbagePositionGivesUsableWindow)
{
    const QString garbage[] = {
        QString(),
        QStringLiteral("abc"),
        QStringLiteral("0123456789"),
        QStringLiteral("99999999999999999999 99999999999999999999"),
        QStringLiteral("-2147483649 0000 0700 0500"),
        QStringLiteral("0500 0400 0100 0100"),
        QStringLiteral("0100 0100 0100 0100"),
        QStringLiteral("\u0661\u0662\u0663\u0664 \u0000\u0000 xx"),
    };
    for (const QString &position : garbage) {
        SCOPED_TRACE(position.toStdString());
        WriteProfileInt(kSettings, QStringLiteral("PreservedPos"), 1);
        WriteProfileString(kSettings, QStringLiteral("Position"), position);
        DestroyAppSettings();
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), QRect(0, 0, 760, 640));
        frame.close();
        // What the close stores reads back as the same window.
        EXPECT_EQ(ParseFramePosition(GetProfileString(kSettings, QStringLiteral("Position"))), frame.geometry());
    }

    // Readable text with odd spacing and signs is taken as the numbers it holds.
    EXPECT_EQ(ParseFramePosition(QStringLiteral("  12 +034 0100x0200")), QRect(12, 34, 88, 166));
    EXPECT_EQ(ParseFramePosition(QStringLiteral("-999 -099 -001 0000")), QRect(-999, -99, 998, 99));
    EXPECT_EQ(FormatFramePosition(QRect(-999, -99, 998, 99)), QStringLiteral("-999 -099 -001 0000"));
}

TEST_F(FramePlacementTest, PositionOnRemovedMonitorMovesOntoPrimaryScreen)
{
    // The test platform has two screens side by side: 800 x 600 (primary)
    // and 1024 x 768 to its right.
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const QRect area = primaryArea();
    struct Case
    {
        const char16_t *position;
        QRect expected;
    } cases[] = {
        {u"1000 0100 1500 0500", QRect(1000, 100, 500, 400)},             // on the second screen
        {u"-400 0100 0060 0500", QRect(-400, 100, 460, 400)},             // partly on the primary
        {u"3000 2000 3500 2400", QRect(area.topLeft(), QSize(500, 400))}, // monitor gone
        {u"-3000 0000 -100 0900", QRect(area.topLeft(), QSize(800, 600))}, // gone and too large
    };
    for (const Case &c : cases) {
        const QString position = QString::fromUtf16(c.position);
        SCOPED_TRACE(position.toStdString());
        keepPositions(position);
        DestroyAppSettings();
        CMainFrame frame;
        StartFrame(frame);
        EXPECT_EQ(frame.geometry(), c.expected);
        frame.close();
        EXPECT_EQ(stored(QStringLiteral("Position")), FormatFramePosition(c.expected));
    }
}

TEST(FitOntoScreensTest, OnlyWhollyInvisibleRectanglesMove)
{
    const QRect left(0, 0, 1920, 1080);
    const QRect right(1920, 0, 1280, 1024);
    const QRect available(0, 0, 1920, 1040);
    const QRect onRight(2000, 100, 800, 600);

    EXPECT_EQ(FitOntoScreens(onRight, {left, right}, available), onRight);
    // The right monitor is gone.
    EXPECT_EQ(FitOntoScreens(onRight, {left}, available), QRect(0, 0, 800, 600));
    // Too large for the primary screen: it shrinks to what fits there.
    EXPECT_EQ(FitOntoScreens(QRect(-3000, -200, 2500, 1200), {left}, available), QRect(0, 0, 1920, 1040));
    // Touching the edge is not overlapping it.
    EXPECT_EQ(FitOntoScreens(QRect(1920, 0, 100, 100), {left}, QRect(0, 40, 1920, 1040)), QRect(0, 40, 100, 100));
    EXPECT_EQ(FitOntoScreens(QRect(1919, 0, 100, 100), {left}, available), QRect(1919, 0, 100, 100));
}

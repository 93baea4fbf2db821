#include <QTest>

#include <gtest/gtest.h>

#include "workspace/AnimateCtrl.h"

TEST(AnimateCtrlTest, PlaysStopsAndClosesLikeAnAnimationControl)
{
    QList<QImage> frames;
    for (int i = 0; i < 5; ++i) {
        frames.append(QImage(22, 22, QImage::Format_ARGB32));
        frames.last().fill(QColor::fromHsv(i * 20, 200, 200));
    }
    CAnimateCtrl animate;
    EXPECT_FALSE(animate.Play(0, -1, -1)); // nothing open
    ASSERT_TRUE(animate.Open(frames, 5));
    EXPECT_TRUE(animate.CurrentFrame() == 0 && !animate.IsPlaying());
    EXPECT_FALSE(animate.Play(3, 1, 1));
    EXPECT_FALSE(animate.Play(0, 5, 1));

    // Endless play goes round the whole clip and keeps going.
    ASSERT_TRUE(animate.Play(0, -1, -1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return animate.CurrentFrame() == 4; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return animate.CurrentFrame() == 0; }, 5000));
    EXPECT_TRUE(animate.IsPlaying());

    // Frame 0 to 0 with no repeat: the idle picture, stopped.
    ASSERT_TRUE(animate.Play(0, 0, 0));
    EXPECT_TRUE(animate.CurrentFrame() == 0 && !animate.IsPlaying());

    // A counted play ends on its last frame.
    ASSERT_TRUE(animate.Play(1, 3, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !animate.IsPlaying(); }, 5000));
    EXPECT_EQ(animate.CurrentFrame(), 3);

    animate.Play(0, -1, -1);
    animate.Stop();
    EXPECT_FALSE(animate.IsPlaying());
    animate.Close();
    EXPECT_FALSE(animate.IsOpen() || animate.Play(0, 0, 0));
}

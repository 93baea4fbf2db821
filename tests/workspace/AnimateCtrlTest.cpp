#include <QTest>

#include <gtest/gtest.h>

#include "workspace/AnimateCtrl.h"

namespace
{
QList<QImage> Frames(int count)
{
    QList<QImage> frames;
    for (int i = 0; i < count; ++i) {
        QImage image(22, 22, QImage::Format_ARGB32);
        image.fill(QColor::fromHsv(i * 20, 200, 200));
        frames.append(image);
    }
    return frames;
}
} // namespace

TEST(AnimateCtrlTest, PlaysStopsAndClosesLikeAnAnimationControl)
{
    CAnimateCtrl animate;
    EXPECT_FALSE(animate.Play(0, -1, -1)); // nothing open
    ASSERT_TRUE(animate.Open(Frames(5), 5));
    EXPECT_EQ(animate.CurrentFrame(), 0);
    EXPECT_FALSE(animate.IsPlaying());
    EXPECT_FALSE(animate.Play(3, 1, 1));
    EXPECT_FALSE(animate.Play(0, 5, 1));

    // Endless play goes round the whole clip and keeps going.
    ASSERT_TRUE(animate.Play(0, -1, -1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return animate.CurrentFrame() == 4; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return animate.CurrentFrame() == 0; }, 5000));
    EXPECT_TRUE(animate.IsPlaying());

    // Frame 0 to 0 with no repeat: the idle picture, stopped.
    ASSERT_TRUE(animate.Play(0, 0, 0));
    EXPECT_FALSE(animate.IsPlaying());
    EXPECT_EQ(animate.CurrentFrame(), 0);

    // A counted play ends on its last frame.
    ASSERT_TRUE(animate.Play(1, 3, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !animate.IsPlaying(); }, 5000));
    EXPECT_EQ(animate.CurrentFrame(), 3);

    animate.Play(0, -1, -1);
    animate.Stop();
    EXPECT_FALSE(animate.IsPlaying());

    animate.Close();
    EXPECT_FALSE(animate.IsOpen());
    EXPECT_FALSE(animate.Play(0, 0, 0));
}

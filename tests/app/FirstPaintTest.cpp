#include <QWidget>

#include <memory>

#include "app/FirstPaint.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

// The call made once the main window is first on screen.

TEST(FirstPaintTest, CallComesOnceAfterTheFirstPaintAndNotBefore)
{
    QWidget window;
    window.resize(200, 100);
    int calls = 0;
    bool paintedBeforeCall = false;
    CallAfterFirstPaint(&window, 60000, [&] {
        ++calls;
        paintedBeforeCall = !window.visibleRegion().isEmpty();
    });
    window.show();
    EXPECT_EQ(calls, 0); // never from within show()
    ASSERT_TRUE(WaitUntil([&] { return calls > 0; }, 10000));
    EXPECT_TRUE(paintedBeforeCall);

    window.update();
    window.hide();
    window.show();
    EXPECT_FALSE(WaitUntil([&] { return calls > 1; }, 300));
}

TEST(FirstPaintTest, AWindowNeverPaintedGetsTheCallAfterTheWaitAndAWindowGoneNever)
{
    QWidget hidden;
    int calls = 0;
    CallAfterFirstPaint(&hidden, 100, [&] { ++calls; });
    EXPECT_TRUE(WaitUntil([&] { return calls == 1; }, 10000));

    auto gone = std::make_unique<QWidget>();
    int goneCalls = 0;
    CallAfterFirstPaint(gone.get(), 50, [&] { ++goneCalls; });
    gone.reset();
    EXPECT_FALSE(WaitUntil([&] { return goneCalls > 0; }, 300));
}

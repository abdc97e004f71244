#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/FrameClock.h"
#include "core/PausableTimer.h"

TEST(PausableTimerTest, PausedTimeIsNotCountedAndTheTickCounterMayWrap) {
    FakeClock clock;
    clock.now = 0xFFFFFFF0u;
    PausableTimer timer;
    EXPECT_EQ(timer.read(), 0u);
    timer.start();
    clock.advance(0x20); // wraps past zero
    EXPECT_EQ(timer.read(), 0x20u);
    timer.pause();
    clock.advance(10000);
    timer.pause(); // only from running: changes nothing
    EXPECT_EQ(timer.read(), 0x20u);
    timer.resume();
    clock.advance(25);
    timer.resume(); // only from paused: changes nothing
    clock.advance(5);
    timer.stop();
    clock.advance(1000);
    EXPECT_EQ(timer.read(), 0x20u + 30u);
}

// Frames are charged at most 18 ms; the limiter sleeps out a short frame only while vsync is off, and
// the first frame with vsync switches it off for good.
TEST(FrameClockTest, ChargesAndLimiterSleeps) {
    struct Case {
        uint32_t deltaMs;
        uint8_t limiter;
        int swapInterval;
        uint32_t charged, slept;
        uint8_t limiterAfter;
    };
    for (const Case& c : {Case{100, 0, 1, 18, 0, 0}, Case{17, 0, 1, 17, 0, 0}, Case{0, 0, 1, 0, 0, 0},
                          Case{5, 1, 0, 16, 11, 1}, Case{30, 1, 0, 18, 0, 1}, Case{5, 1, 1, 5, 0, 0},
                          Case{5, 0, 0, 5, 0, 0}}) {
        uint8_t limiter = c.limiter;
        const FrameCharge charge = FrameClock::charge(c.deltaMs, limiter, c.swapInterval, 1000.0f / 60.0f);
        EXPECT_EQ(charge.chargedMs, c.charged) << c.deltaMs << " " << int(c.limiter) << " " << c.swapInterval;
        EXPECT_EQ(charge.sleepMs, c.slept) << c.deltaMs << " " << int(c.limiter) << " " << c.swapInterval;
        EXPECT_EQ(limiter, c.limiterAfter);
    }
}

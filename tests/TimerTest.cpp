#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/FrameClock.h"
#include "core/PausableTimer.h"

TEST(PausableTimerTest, PausedTimeIsNotCounted) {
    FakeClock clock;
    PausableTimer timer;
    EXPECT_EQ(timer.read(), 0u); // no state yet
    timer.start();
    clock.advance(100);
    EXPECT_EQ(timer.read(), 100u);
    clock.advance(50);
    timer.pause();
    clock.advance(10000);
    EXPECT_EQ(timer.read(), 150u);
    timer.pause(); // only from running: changes nothing
    timer.resume();
    clock.advance(25);
    EXPECT_EQ(timer.read(), 175u);
    timer.resume(); // only from paused: changes nothing
    clock.advance(5);
    timer.stop();
    clock.advance(1000);
    EXPECT_EQ(timer.read(), 180u);
}

TEST(PausableTimerTest, SurvivesTheTickCounterWrapping) {
    FakeClock clock;
    clock.now = 0xFFFFFFF0u;
    PausableTimer timer;
    timer.start();
    clock.now += 0x20; // wraps past zero
    EXPECT_EQ(timer.read(), 0x20u);
}

TEST(FrameClockTest, LongFramesAreChargedEighteen) {
    uint8_t limiter = 0;
    EXPECT_EQ(FrameClock::charge(100, limiter, 1, 16.67f).chargedMs, 18u);
    EXPECT_EQ(FrameClock::charge(17, limiter, 1, 16.67f).chargedMs, 17u);
    EXPECT_EQ(FrameClock::charge(0, limiter, 1, 16.67f).chargedMs, 0u);
}

TEST(FrameClockTest, LimiterSleepsOnlyWithoutVsyncAndSwitchesOffForGood) {
    uint8_t limiter = 1;
    FrameCharge charge = FrameClock::charge(5, limiter, 0, 1000.0f / 60.0f);
    EXPECT_EQ(charge.sleepMs, 11u);
    EXPECT_EQ(charge.chargedMs, 16u);
    EXPECT_EQ(limiter, 1);
    charge = FrameClock::charge(30, limiter, 0, 1000.0f / 60.0f);
    EXPECT_EQ(charge.sleepMs, 0u);
    EXPECT_EQ(charge.chargedMs, 18u);
    charge = FrameClock::charge(5, limiter, 1, 1000.0f / 60.0f);
    EXPECT_EQ(limiter, 0);
    EXPECT_EQ(charge.sleepMs, 0u);
    EXPECT_EQ(charge.chargedMs, 5u);
    // Once off it stays off, whatever the interval says later.
    charge = FrameClock::charge(5, limiter, 0, 1000.0f / 60.0f);
    EXPECT_EQ(charge.sleepMs, 0u);
}

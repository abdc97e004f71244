#include <array>
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

// Frames charge at most 18 ms; the limiter sleeps out short frames until vsync first shows.
TEST(FrameClockTest, ChargesAndLimiterSleeps) {
    // Frame time, limiter, swap interval -> charged, slept, limiter after.
    const uint32_t cases[][6] = {{100, 0, 1, 18, 0, 0}, {17, 0, 1, 17, 0, 0}, {0, 0, 1, 0, 0, 0},
                                 {5, 1, 0, 16, 11, 1},  {30, 1, 0, 18, 0, 1}, {5, 1, 1, 5, 0, 0},
                                 {5, 0, 0, 5, 0, 0}};
    for (const auto& c : cases) {
        uint8_t limiter = static_cast<uint8_t>(c[1]);
        const FrameCharge charge = FrameClock::charge(c[0], limiter, static_cast<int>(c[2]), 1000.0f / 60.0f);
        EXPECT_EQ((std::array<uint32_t, 3>{charge.chargedMs, charge.sleepMs, limiter}),
                  (std::array<uint32_t, 3>{c[3], c[4], c[5]}))
            << c[0] << " " << c[1] << " " << c[2];
    }
}

// Sixty frames in a row under 3/4 of the refresh period (60 Hz when unknown) hand pacing to the limiter.
TEST(FrameClockTest, AnUnkeptSwapIntervalHandsThePacingBackToTheLimiter) {
    uint8_t limiter = 0;
    auto run = [&limiter](std::initializer_list<std::pair<uint32_t, int>> frames, int refreshHz) {
        uint32_t fastRun = 0;
        int interval = 1;
        for (const auto& [ms, count] : frames)
            for (int i = 0; i < count; ++i)
                interval = FrameClock::keptSwapInterval(ms, 1, refreshHz, limiter, fastRun);
        return interval;
    };
    EXPECT_EQ(run({{12, 59}, {13, 1}, {5, 59}}, 0), 1) << "a slower frame ends the run";
    EXPECT_EQ(run({{6, 1}, {7, 1}, {6, 200}, {7, 200}}, 144) + limiter, 1) << "a 144 Hz swap that paces";
}

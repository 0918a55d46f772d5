#include "chart/tick_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace karvo {
namespace {

constexpr std::int64_t kMs = 1'000'000;

// A millisecond timer that fires `lateNs(i)` after each wait, with the tick's own work
// taking `workNs`. Returns the time at which tick `ticks` ran, starting from 0.
template <typename Late>
std::int64_t RunTimer(double interval, int ticks, Late lateNs, std::int64_t workNs,
                      std::vector<int>* waits = nullptr) {
    TickSchedule s;
    std::int64_t now = 0;
    int wait = s.Start(now, interval);
    std::int64_t fired = 0;
    for (int i = 0; i < ticks; ++i) {
        if (waits) waits->push_back(wait);
        now += wait * kMs + lateNs(i);
        fired = now;
        now += workNs;
        wait = s.Fired(now, interval);
    }
    return fired;
}

TEST(TickScheduleTest, TwelveAndAHalfMillisecondsAlternateAndAverageExactly) {
    std::vector<int> waits;
    const std::int64_t t = RunTimer(
        0.0125, 80, [](int) { return 0; }, 0, &waits);
    EXPECT_EQ(t, 1000 * kMs);  // the 80th tick at exactly one second
    ASSERT_GE(waits.size(), 4u);
    EXPECT_EQ(waits[0], 13);
    EXPECT_EQ(waits[1], 12);
    EXPECT_EQ(waits[2], 13);
    EXPECT_EQ(waits[3], 12);
}

TEST(TickScheduleTest, LateTicksAndSlowWorkDoNotDriftTheAverage) {
    // Fires 0 to 3.7 ms late and works 2 ms per tick: 8000 ticks still end at 100 s,
    // give or take the last tick's lateness and one millisecond of rounding.
    for (double interval : {0.0125, 0.1, 0.02}) {
        SCOPED_TRACE(interval);
        const int ticks = 8000;
        const std::int64_t t = RunTimer(
            interval, ticks, [](int i) { return (i * 7919 % 38) * 100'000; }, 2 * kMs);
        const std::int64_t ideal = static_cast<std::int64_t>(ticks * interval * 1e9 + 0.5);
        EXPECT_GE(t, ideal);
        EXPECT_LE(t - ideal, 4 * kMs + kMs);
    }
}

TEST(TickScheduleTest, IntervalChangeAppliesAfterTheWaitUnderWay) {
    TickSchedule s;
    EXPECT_EQ(s.Start(0, 1.0), 1000);
    // A new interval of 0.1 s chosen during the first wait: that wait stays; the next tick
    // is due 0.1 s after the first one.
    EXPECT_EQ(s.Fired(1000 * kMs, 0.1), 100);
    EXPECT_EQ(s.NextDueNs(), 1100 * kMs);
}

TEST(TickScheduleTest, AStallDropsTheMissedTicksInsteadOfABurst) {
    TickSchedule s;
    s.Start(0, 0.0125);
    // Ten seconds without ticks: the next one follows at once, then the normal pace.
    EXPECT_EQ(s.Fired(10'000 * kMs, 0.0125), 0);
    EXPECT_EQ(s.Fired(10'000 * kMs, 0.0125), 13);
    // A short delay is caught up.
    TickSchedule t;
    t.Start(0, 0.1);
    EXPECT_EQ(t.Fired(350 * kMs, 0.1), 0);  // tick 2 was due at 200 ms
    EXPECT_EQ(t.Fired(350 * kMs, 0.1), 0);  // tick 3 at 300 ms
    EXPECT_EQ(t.Fired(350 * kMs, 0.1), 50);
}

}  // namespace
}  // namespace karvo

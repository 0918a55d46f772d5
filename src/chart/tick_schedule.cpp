#include "chart/tick_schedule.h"

#include <cmath>
#include <limits>

namespace karvo {

std::int64_t TickSchedule::IntervalNs(double seconds) {
    // At least 1 ms between ticks; at most a day, far beyond any entry of the list.
    if (!(seconds >= 0.001)) return 1'000'000;
    if (seconds > 86400.0) seconds = 86400.0;
    return static_cast<std::int64_t>(std::llround(seconds * 1e9));
}

int TickSchedule::WaitMs(std::int64_t dueNs, std::int64_t nowNs) {
    const std::int64_t ahead = dueNs - nowNs;
    if (ahead <= 0) return 0;
    const std::int64_t ms = (ahead + 999'999) / 1'000'000;  // round up: never fire early
    return ms > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                : static_cast<int>(ms);
}

int TickSchedule::Start(std::int64_t nowNs, double intervalSeconds) {
    nextDueNs_ = nowNs + IntervalNs(intervalSeconds);
    return WaitMs(nextDueNs_, nowNs);
}

int TickSchedule::Fired(std::int64_t nowNs, double intervalSeconds) {
    nextDueNs_ += IntervalNs(intervalSeconds);
    // After a long stall (a suspended machine, a blocked thread) start afresh from now
    // rather than firing a burst of missed ticks.
    if (nowNs - nextDueNs_ > kMaxLagNs) nextDueNs_ = nowNs;
    return WaitMs(nextDueNs_, nowNs);
}

}  // namespace karvo

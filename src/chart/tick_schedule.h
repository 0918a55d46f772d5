// The chart timer's arithmetic: fractional-second intervals on a millisecond timer.
//
// Ticks are due at fixed times, each one interval after the last due time (not after the
// moment the last tick actually ran), and each wait is rounded to whole milliseconds from
// the present moment to the next due time. A 12.5 ms interval therefore waits 13, 12, 13,
// 12 ... ms and keeps 80 ticks a second on average, however late each single tick runs.
#pragma once

#include <cstdint>

namespace karvo {

class TickSchedule {
  public:
    // A tick this far behind its due time drops the missed ticks instead of catching up.
    static constexpr std::int64_t kMaxLagNs = 1'000'000'000;

    // Starts the schedule at `nowNs` (monotonic nanoseconds); returns the first wait in ms.
    int Start(std::int64_t nowNs, double intervalSeconds);
    // A tick has run; `nowNs` is the time after its work. The next tick is due one interval
    // (the interval now in force) after the one that ran. Returns the wait in ms (>= 0).
    int Fired(std::int64_t nowNs, double intervalSeconds);

    std::int64_t NextDueNs() const { return nextDueNs_; }

    static std::int64_t IntervalNs(double seconds);
    static int WaitMs(std::int64_t dueNs, std::int64_t nowNs);

  private:
    std::int64_t nextDueNs_ = 0;
};

}  // namespace karvo

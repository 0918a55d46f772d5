// A device flooding measurement replies at 8000 a second, the rate limit of a high-speed
// USB HID endpoint: every reply reaches the dispatcher once and in order, while the UI
// thread's 50 ms readout tick and 200 ms watchdog go on between them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/shared_state.h"
#include "fault/fault_backend.h"
#include "hid/hid_controller.h"
#include "hid/task_queue_executor.h"
#include "readout/readout_refresh.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(Flood, EveryReplyArrivesOnceAndInOrderWhileTheUiLoopTicks) {
    const long seconds = test::EnvCount("KARVO_FAULT_FLOOD_SECONDS", 2);
    const long perSecond = test::EnvCount("KARVO_FAULT_FLOOD_RATE", 8000);
    const std::uint64_t total = static_cast<std::uint64_t>(seconds * perSecond);
    auto executor = std::make_shared<TaskQueueExecutor>();
    test::StreamBackend backend(executor, total, std::chrono::microseconds(1000000 / perSecond),
                                test::MeasurementReport);
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link(view, strings);
    ReadoutRefresh refresh;
    SharedDisplayState shared;
    shared.UnitSuffix = " N";

    // Each reply is checked as the dispatcher leaves it: the next sequence number, intact.
    std::uint64_t handled = 0, outOfOrder = 0;
    HidController controller(backend, link);
    controller.JvHidDeviceController1DeviceChange();
    ASSERT_TRUE(link.State().Connected);

    std::uint64_t ticks = 0;
    long long maxGapUs = 0;
    auto lastTick = Clock::now();
    auto nextTick = lastTick + 50ms;
    int tickCount = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(seconds) + 10s;
    while (handled < total && Clock::now() < deadline) {
        // The UI loop: reports as they come, the timers when due.
        while (Clock::now() < nextTick) {
            if (!executor->RunOne(std::chrono::duration_cast<std::chrono::milliseconds>(
                    nextTick - Clock::now()))) {
                continue;
            }
            if (link.State().MeasurementStatusPending) {
                link.State().MeasurementStatusPending = false;
                const auto& m = link.State().Measurement;
                if (m.Spare != static_cast<float>(handled) ||
                    m.AdcRaw != static_cast<std::int16_t>(handled & 0x7FFF)) {
                    ++outOfOrder;
                    handled = static_cast<std::uint64_t>(m.Spare);
                }
                ++handled;
            }
        }
        const auto now = Clock::now();
        maxGapUs = std::max<long long>(
            maxGapUs, std::chrono::duration_cast<std::chrono::microseconds>(now - lastTick).count());
        lastTick = now;
        nextTick += 50ms;
        ++ticks;
        refresh.Tick(link.State(), shared, link.Locale());
        if (++tickCount % 4 == 0) link.TimerTimeoutTimer();
        ASSERT_TRUE(link.State().Connected) << "the watchdog fired during the flood";
    }
    controller.ReleaseAll();

    RecordProperty("reports", static_cast<int>(total));
    RecordProperty("ticks", static_cast<int>(ticks));
    RecordProperty("max_tick_gap_us", static_cast<int>(maxGapUs));
    RecordProperty("max_reader_lag_us", static_cast<int>(backend.MaxLagUs()));
    std::printf("flood: %llu sent, %llu handled, %llu out of order, %llu ticks, max tick gap "
                "%lld us, max reader lag %lld us\n",
                static_cast<unsigned long long>(backend.Read()),
                static_cast<unsigned long long>(handled),
                static_cast<unsigned long long>(outOfOrder),
                static_cast<unsigned long long>(ticks), maxGapUs,
                static_cast<long long>(backend.MaxLagUs()));
    EXPECT_EQ(handled, total);
    EXPECT_EQ(outOfOrder, 0u);
    // The loop ticked all along: at least one tick for every second of flood.
    EXPECT_GE(ticks, static_cast<std::uint64_t>(seconds));
    EXPECT_GT(refresh.RefreshTick(), 0);
}

}  // namespace
}  // namespace karvo

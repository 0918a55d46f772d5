// An amplifier that stops answering in the middle of a stream: the watchdog of the 200 ms
// timer gives up on the twelfth tick without a reply, and a replug brings the link back.
#include <gtest/gtest.h>

#include <chrono>

#include "fault/fault_backend.h"
#include "hid/hid_controller.h"
#include "hid/task_queue_executor.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;

TEST(SilentDevice, WatchdogDropsTheLinkOnTheTwelfthSilentTickAndAReplugRestoresIt) {
    auto executor = std::make_shared<TaskQueueExecutor>();
    auto bench = std::make_shared<SimulatorBench>();
    test::SilenceableBackend backend(bench, executor);
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link(view, strings);
    HidController controller(backend, link);
    auto streaming = [&] {
        link.State().MeasurementStatusPending = false;
        return executor->RunUntil([&] { return link.State().MeasurementStatusPending; }, 5s);
    };

    controller.JvHidDeviceController1DeviceChange();
    ASSERT_TRUE(streaming());
    // Streaming keeps the watchdog at bay, tick after tick.
    for (int tick = 0; tick < 20; ++tick) {
        ASSERT_TRUE(streaming());
        link.TimerTimeoutTimer();
        ASSERT_TRUE(link.State().Connected) << tick;
        ASSERT_LE(link.State().WatchdogCount, 1);
    }

    backend.Silent() = true;
    executor->RunFor(150ms);  // what was on its way is lost too
    link.State().WatchdogCount = 0;
    // Ticks on the settings page do not count.
    view.page = kSettingsPage;
    for (int tick = 0; tick < 30; ++tick) link.TimerTimeoutTimer();
    EXPECT_TRUE(link.State().Connected);
    EXPECT_EQ(link.State().WatchdogCount, 0);
    view.page = 0;

    for (int tick = 1; tick <= 11; ++tick) {
        executor->RunFor(20ms);
        link.TimerTimeoutTimer();
        ASSERT_TRUE(link.State().Connected) << "tick " << tick;
        ASSERT_EQ(link.State().WatchdogCount, tick);
    }
    executor->RunFor(20ms);
    link.TimerTimeoutTimer();
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(link.State().WatchdogCount, 0);
    EXPECT_EQ(view.connectionText, "Brak połączenia");
    EXPECT_EQ(view.connectionColour, colour::LightRed);

    // Dropped, the link sends nothing, and more silent ticks change nothing.
    const auto writesBefore = bench->Streaming();
    for (int tick = 0; tick < 20; ++tick) link.TimerTimeoutTimer();
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(bench->Streaming(), writesBefore);

    // The amplifier answers again once it is plugged in anew.
    backend.Silent() = false;
    bench->SetPlugged(false);
    ASSERT_TRUE(controller.CheckForChanges());
    bench->SetPlugged(true);
    ASSERT_TRUE(controller.CheckForChanges());
    ASSERT_TRUE(link.State().Connected);
    ASSERT_TRUE(executor->RunUntil(
        [&] { return view.connectionText == "Połączono z : KARVO ver.1.04 (SYMULATOR)"; }, 5s));
    ASSERT_TRUE(streaming());
    link.TimerTimeoutTimer();
    EXPECT_TRUE(link.State().Connected);
}

}  // namespace
}  // namespace karvo

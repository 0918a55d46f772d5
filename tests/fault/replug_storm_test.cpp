// Unplugging and replugging the simulated amplifier in random phases of the conversation:
// while it identifies, while it streams, on the settings page, and from inside a message
// box opened by a reply (a nested loop, the reporting device's own handler still running).
// Every cycle ends bound to the newest plug-in, and the last one converses to the end.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "fault/fault_backend.h"
#include "hid/hid_controller.h"
#include "hid/task_queue_executor.h"
#include "sim/simulated_backend.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;

const std::string kIdentified = "Połączono z : KARVO ver.1.04 (SYMULATOR)";

class ReplugStorm : public ::testing::Test {
  protected:
    ReplugStorm() : backend(bench, executor), link(view, strings), controller(backend, link) {}

    bool RunUntil(const std::function<bool()>& done) { return executor->RunUntil(done, 5s); }
    bool Streaming() {
        link.State().MeasurementStatusPending = false;
        return RunUntil([&] { return link.State().MeasurementStatusPending; });
    }
    void Unplug() {
        bench->SetPlugged(false);
        ASSERT_TRUE(controller.CheckForChanges());
        ASSERT_FALSE(link.State().Connected);
        ASSERT_TRUE(controller.ListBox1().empty());
        ASSERT_EQ(link.BoundDevice(), nullptr);
        ASSERT_EQ(view.connectionText, "Brak połączenia");
    }
    void Replug() {
        bench->SetPlugged(true);
        ASSERT_TRUE(controller.CheckForChanges());
        ASSERT_TRUE(link.State().Connected);
        ASSERT_EQ(controller.ListBox1().size(), 1u);
        ASSERT_EQ(controller.ListBox1()[0].Device->Info().Path,
                  "sim:karvo/" + std::to_string(bench->Generation()));
        ASSERT_EQ(link.BoundDevice(), controller.ListBox1()[0].Device.get());
    }

    std::shared_ptr<TaskQueueExecutor> executor = std::make_shared<TaskQueueExecutor>();
    std::shared_ptr<SimulatorBench> bench = std::make_shared<SimulatorBench>();
    SimulatedBackend backend;
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link;
    HidController controller;
};

TEST_F(ReplugStorm, RandomPhasesEndBoundToTheNewestPlugIn) {
    const long cycles = test::EnvCount("KARVO_FAULT_REPLUGS", 1000);
    const unsigned seed = static_cast<unsigned>(test::EnvCount("KARVO_FAULT_SEED", 20261211));
    RecordProperty("cycles", static_cast<int>(cycles));
    RecordProperty("seed", static_cast<int>(seed));
    std::mt19937 random(seed);
    bench->SetAppliedForce(100.0);

    // The write the box phase uses: the amplifier's own settings, confirmed with a box.
    controller.JvHidDeviceController1DeviceChange();
    ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls == 1; }));
    const TDeviceSettingsRecord settings = link.State().Settings;
    const auto write = WriteSettingsFrame(settings);

    int phases[4] = {};
    int boxesOpened = 0;
    for (long cycle = 0; cycle < cycles; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle) + " seed " + std::to_string(seed));
        const int phase = static_cast<int>(random() % 4);
        ++phases[phase];
        switch (phase) {
            case 0:  // identifying: the identification may or may not have come yet
                executor->RunFor(std::chrono::milliseconds(random() % 4));
                break;
            case 1:  // streaming
                ASSERT_TRUE(Streaming());
                break;
            case 2: {  // on the settings page: the stream pauses after one settings read
                const int shown = view.showSettingsCalls;
                ASSERT_TRUE(Streaming());
                view.page = kSettingsPage;
                ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls > shown; }));
                executor->RunFor(std::chrono::milliseconds(random() % 3));
                break;
            }
            case 3: {  // a box open: unplug, replug and unplug again inside its loop
                ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls > 0 && link.State().Connected; }));
                ASSERT_TRUE(Streaming());
                bool boxed = false;
                const unsigned inside = random() % 3;
                view.onBox = [&] {
                    if (boxed) return;
                    boxed = true;
                    executor->RunFor(std::chrono::milliseconds(random() % 2));
                    Unplug();
                    if (inside > 0) {
                        Replug();
                        executor->RunFor(std::chrono::milliseconds(random() % 3));
                    }
                };
                link.SendReport(write.data(), write.size());
                const bool opened = RunUntil([&] { return boxed; });
                view.onBox = nullptr;
                ASSERT_TRUE(opened);
                boxesOpened += boxed;
                break;
            }
        }
        if (!controller.ListBox1().empty()) Unplug();
        if (::testing::Test::HasFatalFailure()) return;
        executor->RunFor(std::chrono::milliseconds(random() % 2));
        ASSERT_FALSE(link.State().Connected);  // nothing from an old handle reconnects it
        view.page = random() % 2 ? kSettingsPage : 0;
        Replug();
        if (::testing::Test::HasFatalFailure()) return;
        view.page = 0;
    }

    // The last plug-in converses to the end: identification, settings, a live stream.
    link.PageControl1Change();
    ASSERT_TRUE(RunUntil([&] { return view.connectionText == kIdentified; }));
    ASSERT_TRUE(Streaming());
    ASSERT_TRUE(Streaming());
    EXPECT_TRUE(link.State().Connected);
    EXPECT_EQ(link.State().Settings, bench->Settings());
    EXPECT_EQ(link.State().WatchdogCount, 0);
    EXPECT_GT(link.State().Measurement.LoadN, 0.0f);
    std::printf("replug storm: %ld cycles (identifying %d, streaming %d, settings page %d, "
                "box open %d), seed %u\n",
                cycles, phases[0], phases[1], phases[2], boxesOpened, seed);
}

}  // namespace
}  // namespace karvo

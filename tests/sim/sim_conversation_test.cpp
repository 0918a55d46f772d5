// The whole conversation with the simulated amplifier, through its reader thread and the
// hand-over: plug, identify, settings, stream, settings page pause, write, factory
// restore, unplug, replug.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>

#include "hid/hid_controller.h"
#include "hid/task_queue_executor.h"
#include "sim/simulated_backend.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;

class SimConversation : public ::testing::Test {
  protected:
    SimConversation() : backend(bench, executor), link(view, strings), controller(backend, link) {
        backend.SetChangeListener([this] { ++changes; });
    }
    bool RunUntil(const std::function<bool()>& done) { return executor->RunUntil(done, 5s); }
    // Waits for the next measurement reply and returns its record.
    const TMeasurementRecord& NextMeasurement() {
        link.State().MeasurementStatusPending = false;
        EXPECT_TRUE(RunUntil([&] { return link.State().MeasurementStatusPending; }));
        return link.State().Measurement;
    }
    bool Boxed(const std::string& text) const {
        for (const auto& e : view.events) {
            if (e.find("box:") == 0 && e.find(text) != std::string::npos) return true;
        }
        return false;
    }

    std::shared_ptr<TaskQueueExecutor> executor = std::make_shared<TaskQueueExecutor>();
    std::shared_ptr<SimulatorBench> bench = std::make_shared<SimulatorBench>();
    SimulatedBackend backend;
    std::atomic<int> changes{0};
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link;
    HidController controller;
};

TEST_F(SimConversation, PlugIdentifySettingsStreamWriteRestoreUnplugReplug) {
    const std::string identified = "Połączono z : KARVO ver.1.04 (SYMULATOR)";
    const auto factory = AmplifierModel::FactorySettings();
    bench->SetAppliedForce(250.0);

    // Plug: the first device change binds the simulated amplifier.
    controller.JvHidDeviceController1DeviceChange();
    ASSERT_TRUE(link.State().Connected);
    EXPECT_EQ(view.connectionText, "Połączony");
    EXPECT_EQ(controller.ListBox1().at(0).DisplayName, "KARVO");

    // Identify, then settings.
    ASSERT_TRUE(RunUntil([&] { return view.connectionText == identified; }));
    ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls == 1; }));
    EXPECT_EQ(link.State().Settings, factory);
    EXPECT_EQ(view.statusLine, "Parametry urządzenia odczytane");

    // Stream: the factory constant (2.0) differs from the sensor's (1.9876).
    const double expected = 250.0 * AmplifierModel::kSensorConstant / factory.TSense;
    for (int i = 0; i < 3; ++i) {
        const auto& m = NextMeasurement();
        EXPECT_NEAR(m.LoadN, expected, 1e-3);
        EXPECT_NEAR(m.Value, expected, 1e-3);
    }
    EXPECT_EQ(link.State().WatchdogCount, 0);

    // Settings page: one settings read, and the stream pauses until the page is left.
    view.page = kSettingsPage;
    ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls == 2; }));
    EXPECT_FALSE(bench->Streaming());
    link.State().MeasurementStatusPending = false;
    executor->RunFor(300ms);
    EXPECT_FALSE(link.State().MeasurementStatusPending);
    view.page = 0;
    link.PageControl1Change();
    NextMeasurement();

    // Write: the sensor's own constant, in kilograms.
    TDeviceSettingsRecord s = link.State().Settings;
    s.TSense = static_cast<float>(AmplifierModel::kSensorConstant);
    s.TUnits = 3;
    const auto frame = WriteSettingsFrame(s);
    link.SendReport(frame.data(), frame.size());
    ASSERT_TRUE(RunUntil([&] { return view.statusLine == "Parametry urządzenia zapisane"; }));
    EXPECT_TRUE(Boxed("Ustawienia zapisane w urządzeniu"));
    EXPECT_EQ(bench->Settings(), s);
    EXPECT_NEAR(NextMeasurement().Value, 250.0 / 9.8105, 1e-3);

    // A write out of range is refused and changes nothing.
    TDeviceSettingsRecord wrong = s;
    wrong.ModbusAddress = 0;
    const auto wrongFrame = WriteSettingsFrame(wrong);
    link.SendReport(wrongFrame.data(), wrongFrame.size());
    ASSERT_TRUE(RunUntil([&] { return view.statusLine == "Błędne parametry"; }));
    EXPECT_EQ(bench->Settings(), s);

    // Factory restore, and the page reloaded with it.
    const int shown = view.showSettingsCalls;
    link.SendCommand(CmdRestoreFactory);
    ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls > shown; }));
    EXPECT_TRUE(Boxed("Ustawienia fabryczne przywrócone"));
    EXPECT_EQ(link.State().Settings, factory);
    NextMeasurement();

    // Unplug: the backend reports the change; discovery finds nothing.
    bench->SetPlugged(false);
    EXPECT_EQ(changes.load(), 1);
    EXPECT_TRUE(controller.CheckForChanges());
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(view.connectionText, "Brak połączenia");
    executor->RunFor(200ms);  // nothing arrives from the old handle

    // Replug: bound again, the conversation starts over; the settings were kept.
    bench->SetPlugged(true);
    EXPECT_EQ(changes.load(), 2);
    EXPECT_TRUE(controller.CheckForChanges());
    ASSERT_TRUE(link.State().Connected);
    ASSERT_TRUE(RunUntil([&] { return view.connectionText == identified; }));
    ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls == shown + 2; }));
    EXPECT_EQ(link.State().Settings, factory);
    EXPECT_NEAR(NextMeasurement().LoadN, expected, 1e-3);
}

TEST_F(SimConversation, OldHandleIsDeadAfterAReplug) {
    controller.JvHidDeviceController1DeviceChange();
    ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls == 1; }));
    bench->SetPlugged(false);
    bench->SetPlugged(true);
    // Without a device change the old handle reads nothing and writes fail.
    auto* old = controller.ListBox1().at(0).Device.get();
    const std::uint8_t report[65] = {1, CmdReadInfo};
    EXPECT_FALSE(old->WriteReport(report, sizeof report));
    EXPECT_TRUE(controller.CheckForChanges());  // the new plug-in has a path of its own
    ASSERT_TRUE(RunUntil([&] { return view.showSettingsCalls == 2; }));
}

}  // namespace
}  // namespace karvo

// Replies of unknown codes and replies too short for the record their code announces,
// mixed into a measurement stream through the reader thread: none of them changes the
// link's state, writes to the window or sends a command, and the stream around them
// arrives whole and in order.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <set>

#include "fault/fault_backend.h"
#include "hid/hid_controller.h"
#include "hid/task_queue_executor.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;

// Report `i` of the stream: even ones are measurement replies numbered i / 2, odd ones
// malformed, drawn from `seed` and `i`.
test::GeneratedReport MixedReport(std::uint64_t i, unsigned seed) {
    if (i % 2 == 0) return test::MeasurementReport(static_cast<std::uint32_t>(i / 2));
    std::mt19937 random(seed ^ static_cast<unsigned>(i * 2654435761u));
    static const std::set<int> known = {CmdReadInfo,       CmdReadSettings, CmdReadMeasurement,
                                        CmdWriteSettings,  CmdRestoreFactory, CmdTare,
                                        CmdResetMinMax};
    // Longest payload (after the report ID and code) each short kind may have.
    static const std::pair<int, std::size_t> shortKinds[] = {
        {CmdReadInfo, TDeviceInfoRecord::kSize - 1},
        {CmdReadSettings, TDeviceSettingsRecord::kSize - 1},
        {CmdReadMeasurement, TMeasurementRecord::kSize - 1},
        {CmdWriteSettings, 0},
    };
    test::GeneratedReport r;
    switch (random() % 3) {
        case 0: {  // an unknown code, any length up to the whole report
            int code;
            do code = static_cast<int>(random() % 256);
            while (known.count(code) != 0);
            r.resize(2 + random() % 64);
            r[1] = static_cast<std::uint8_t>(code);
            break;
        }
        case 1: {  // a known code, short of its record
            const auto& kind = shortKinds[random() % 4];
            r.resize(2 + random() % (kind.second + 1));
            r[1] = static_cast<std::uint8_t>(kind.first);
            break;
        }
        default:  // the report ID alone
            r.resize(1);
            break;
    }
    for (std::size_t k = 2; k < r.size(); ++k) r[k] = static_cast<std::uint8_t>(random());
    r[0] = 0;
    return r;
}

TEST(MalformedReplies, MixedIntoAStreamChangeNothing) {
    const long replies = test::EnvCount("KARVO_FAULT_MALFORMED", 20000);
    const unsigned seed = 4242;
    const std::uint64_t total = static_cast<std::uint64_t>(replies) * 2;
    auto executor = std::make_shared<TaskQueueExecutor>();
    test::StreamBackend backend(executor, total, std::chrono::microseconds(0),
                                [seed](std::uint64_t i) { return MixedReport(i, seed); });
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link(view, strings);
    HidController controller(backend, link);
    controller.JvHidDeviceController1DeviceChange();
    ASSERT_TRUE(link.State().Connected);

    const TDeviceInfoRecord info = link.State().Info;
    const TDeviceSettingsRecord settings = link.State().Settings;
    const std::string connection = view.connectionText;
    const std::size_t events = view.events.size();
    const int shown = view.showSettingsCalls;
    std::int64_t last = -1;
    std::uint64_t measurements = 0, disorder = 0;
    const auto deadline = std::chrono::steady_clock::now() + 25s;
    while (backend.Read() < total || executor->RunPending() > 0) {
        if (std::chrono::steady_clock::now() > deadline) break;
        if (!executor->RunOne(50ms)) continue;
        auto& s = link.State();
        if (s.MeasurementStatusPending) {
            s.MeasurementStatusPending = false;
            ++measurements;
            if (s.Measurement.Spare != static_cast<float>(last + 1)) ++disorder;
            last = static_cast<std::int64_t>(s.Measurement.Spare);
        }
        // Whatever just ran left all else as it was.
        ASSERT_EQ(s.Info.DeviceName, info.DeviceName);
        ASSERT_EQ(s.Info.FirmwareVersion, info.FirmwareVersion);
        ASSERT_EQ(s.Settings, settings);
        ASSERT_TRUE(s.Connected);
        ASSERT_EQ(s.WatchdogCount, 0);
        ASSERT_EQ(s.Measurement.Spare, static_cast<float>(last));
        ASSERT_EQ(view.events.size(), events);
        ASSERT_EQ(view.showSettingsCalls, shown);
        ASSERT_EQ(view.connectionText, connection);
    }
    controller.ReleaseAll();
    EXPECT_EQ(measurements, static_cast<std::uint64_t>(replies));
    EXPECT_EQ(disorder, 0u);
    RecordProperty("malformed", static_cast<int>(replies));
}

}  // namespace
}  // namespace karvo

#include "hid/hid_controller.h"

#include <gtest/gtest.h>

#include <cstring>

#include "hid/scripted_backend.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using test::ScriptedBackend;
using test::ScriptedDevice;

// Remembers every connection display in order: "text|colour".
class DisplayLog : public test::FakeLinkView {
  public:
    std::vector<std::string> displays;
    void SetConnectionText(const std::string& t) override {
        FakeLinkView::SetConnectionText(t);
        displays.push_back(t);
    }
    void SetConnectionColour(std::uint32_t c) override {
        FakeLinkView::SetConnectionColour(c);
        displays.back() += "|" + std::to_string(c);
    }
};

const std::string kConnected = "Połączony|" + std::to_string(colour::LightGreen);
const std::string kNoConnection = "Brak połączenia|" + std::to_string(colour::LightRed);
const std::string kDisconnected = "Rozłączony|" + std::to_string(colour::LightGrey);

// Input reports as read: report ID, reply code, record, zero fill to 65 bytes.
std::vector<std::uint8_t> Report(std::uint8_t code, const std::uint8_t* payload, std::size_t n) {
    std::vector<std::uint8_t> r(65, 0);
    r[0] = 1;
    r[1] = code;
    if (n > 0) std::memcpy(r.data() + 2, payload, n);
    return r;
}
std::vector<std::uint8_t> InfoReport(const char* detail) {
    TDeviceInfoRecord info;
    info.FirmwareVersion = 1.04f;
    std::memcpy(info.DeviceName.data(), "KARVO", 5);
    std::strncpy(info.DeviceDetail.data(), detail, 12);
    std::uint8_t b[TDeviceInfoRecord::kSize];
    info.Encode(b);
    return Report(CmdReadInfo, b, sizeof b);
}
std::vector<std::uint8_t> SettingsReport() {
    TDeviceSettingsRecord s;
    s.TRange = 500;
    std::uint8_t b[TDeviceSettingsRecord::kSize];
    s.Encode(b);
    return Report(CmdReadSettings, b, sizeof b);
}
std::vector<std::uint8_t> MeasurementReport(float value) {
    TMeasurementRecord m;
    m.Value = value;
    std::uint8_t b[TMeasurementRecord::kSize];
    m.Encode(b);
    return Report(CmdReadMeasurement, b, sizeof b);
}

class HidControllerTest : public ::testing::Test {
  protected:
    HidControllerTest() : link(view, strings), controller(backend, link) {}

    ScriptedDevice* Latest() { return backend.checkedOut.back(); }
    std::vector<std::string> Names() const {
        std::vector<std::string> n;
        for (const auto& e : controller.ListBox1()) n.push_back(e.DisplayName);
        return n;
    }

    DisplayLog view;
    StringTable strings;
    ScriptedBackend backend;
    DeviceLink link;
    HidController controller;
};

TEST(HidControllerNames, ProductStringOrVendorAndProductId) {
    struct Case {
        std::string product;
        std::uint16_t vid, pid;
        std::string name;
    } cases[] = {
        {"", 0x1234, 0x00AB, "Device VID=1234 PID=00AB"},
        {"", 0x0000, 0x0000, "Device VID=0000 PID=0000"},
        {"", 0xFFFF, 0xabcd, "Device VID=FFFF PID=ABCD"},
        {"USB Keyboard", 0x1234, 0x00AB, "USB Keyboard"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HidController::DisplayName({c.product, c.vid, c.pid, "p"}), c.name);
    }
}

TEST_F(HidControllerTest, NoDeviceShowsNoConnection) {
    controller.JvHidDeviceController1DeviceChange();
    EXPECT_TRUE(controller.ListBox1().empty());
    EXPECT_EQ(view.displays, std::vector<std::string>{kNoConnection});
    EXPECT_FALSE(link.State().Connected);
}

TEST_F(HidControllerTest, FailingEnumerationListsNothing) {
    backend.Add("KARVO", "a");
    backend.throwOnEnumerate = true;
    controller.JvHidDeviceController1DeviceChange();
    EXPECT_TRUE(controller.ListBox1().empty());
    EXPECT_EQ(view.displays, std::vector<std::string>{kNoConnection});
}

TEST_F(HidControllerTest, NamesThatOnlyResembleTheAmplifierAreListedNotOpenedNotBound) {
    backend.Add("karvo", "a");
    backend.Add("KARVO ", "b");
    backend.Add(" KARVO", "c");
    backend.Add("", "d", 0x1234, 0x00AB);
    controller.JvHidDeviceController1DeviceChange();

    EXPECT_EQ(Names(),
              (std::vector<std::string>{"karvo", "KARVO ", " KARVO", "Device VID=1234 PID=00AB"}));
    for (const auto& e : controller.ListBox1()) EXPECT_EQ(e.Device, nullptr);
    EXPECT_TRUE(backend.checkedOut.empty());
    // One "Rozłączony" per listed device, and it stays.
    EXPECT_EQ(view.displays, std::vector<std::string>(4, kDisconnected));
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(link.BoundDevice(), nullptr);
}

TEST_F(HidControllerTest, BindsTheAmplifierAmongOtherDevices) {
    backend.Add("Mouse", "m");
    backend.Add("KARVO", "k");
    backend.Add("Keyboard", "kb");
    controller.JvHidDeviceController1DeviceChange();

    EXPECT_EQ(Names(), (std::vector<std::string>{"Mouse", "KARVO", "Keyboard"}));
    ASSERT_EQ(backend.checkedOut.size(), 1u);
    ScriptedDevice* karvo = Latest();
    EXPECT_EQ(controller.ListBox1()[1].Device.get(), karvo);
    EXPECT_EQ(link.BoundDevice(), karvo);
    EXPECT_TRUE(link.State().Connected);
    EXPECT_TRUE(karvo->handler);
    EXPECT_EQ(view.displays,
              (std::vector<std::string>{kDisconnected, kDisconnected, kDisconnected, kConnected}));
    // ShowConnected asked for the identification: 01 00 and zeros, 65 bytes.
    ASSERT_EQ(karvo->writes.size(), 1u);
    std::vector<std::uint8_t> expected(65, 0);
    expected[0] = 1;
    EXPECT_EQ(karvo->writes[0], expected);
}

TEST_F(HidControllerTest, ReportsReachTheDispatcherFromByteOne) {
    backend.Add("KARVO", "k");
    controller.JvHidDeviceController1DeviceChange();
    ScriptedDevice* karvo = Latest();

    auto report = InfoReport("D7");
    report[0] = 0x55;  // the report ID is not looked at
    karvo->Deliver(report);
    EXPECT_EQ(view.connectionText, "Połączono z : KARVO ver.1.04 (D7)");
    EXPECT_EQ(karvo->Codes(), (std::vector<int>{CmdReadInfo, CmdReadSettings}));

    // Empty reads and a lone report ID byte change nothing.
    const std::size_t writes = karvo->writes.size();
    karvo->Deliver({});
    karvo->Deliver({0x01});
    EXPECT_EQ(karvo->writes.size(), writes);
    EXPECT_EQ(view.connectionText, "Połączono z : KARVO ver.1.04 (D7)");
}

TEST_F(HidControllerTest, AmplifierThatDoesNotOpenShowsNoConnectionWithTheReason) {
    backend.present.push_back({HidDeviceInfo{"KARVO", 0x1209, 1, "k"}, false, "Permission denied"});
    controller.JvHidDeviceController1DeviceChange();

    ASSERT_EQ(controller.ListBox1().size(), 1u);
    ScriptedDevice* karvo = Latest();
    EXPECT_EQ(controller.ListBox1()[0].Device.get(), karvo);  // listed and checked out
    EXPECT_FALSE(karvo->handler);
    EXPECT_TRUE(karvo->writes.empty());
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(view.displays, (std::vector<std::string>{kDisconnected, kNoConnection}));
    EXPECT_EQ(view.toolTip, "Permission denied");

    // Once it opens, the reason goes.
    backend.present[0].opens = true;
    controller.JvHidDeviceController1DeviceChange();
    EXPECT_TRUE(link.State().Connected);
    EXPECT_EQ(view.toolTip, "");
}

TEST_F(HidControllerTest, AmplifierThatCannotBeCheckedOutKeepsItsEntryWithoutObject) {
    backend.present.push_back({HidDeviceInfo{"KARVO", 0x1209, 1, "k"}, true, "", true});
    controller.JvHidDeviceController1DeviceChange();
    ASSERT_EQ(controller.ListBox1().size(), 1u);
    EXPECT_EQ(controller.ListBox1()[0].Device, nullptr);
    EXPECT_EQ(link.BoundDevice(), nullptr);
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(view.displays.back(), kNoConnection);
    controller.JvHidDeviceController1DeviceChange();  // releasing the empty entry is harmless
}

TEST_F(HidControllerTest, TwoAmplifiersBothBoundOnlyTheLaterOneHeard) {
    backend.Add("KARVO", "first");
    backend.Add("KARVO", "second");
    controller.JvHidDeviceController1DeviceChange();

    ASSERT_EQ(backend.checkedOut.size(), 2u);
    ScriptedDevice* first = backend.checkedOut[0];
    ScriptedDevice* second = backend.checkedOut[1];
    EXPECT_TRUE(first->handler);
    EXPECT_TRUE(second->handler);
    EXPECT_EQ(first->Codes(), std::vector<int>{CmdReadInfo});
    EXPECT_EQ(second->Codes(), std::vector<int>{CmdReadInfo});
    EXPECT_EQ(link.BoundDevice(), second);
    EXPECT_EQ(view.displays,
              (std::vector<std::string>{kDisconnected, kDisconnected, kConnected, kConnected}));

    first->Deliver(InfoReport("FIRST"));
    EXPECT_EQ(view.connectionText, "Połączony");
    EXPECT_EQ(first->Codes(), std::vector<int>{CmdReadInfo});
    second->Deliver(InfoReport("SECOND"));
    EXPECT_EQ(view.connectionText, "Połączono z : KARVO ver.1.04 (SECOND)");
    EXPECT_EQ(second->Codes(), (std::vector<int>{CmdReadInfo, CmdReadSettings}));
    EXPECT_EQ(first->Codes(), std::vector<int>{CmdReadInfo});
}

TEST_F(HidControllerTest, LaterAmplifierThatDoesNotOpenSilencesTheEarlierOne) {
    backend.Add("KARVO", "first");
    backend.present.push_back({HidDeviceInfo{"KARVO", 0x1209, 1, "second"}, false, "busy"});
    controller.JvHidDeviceController1DeviceChange();
    ScriptedDevice* first = backend.checkedOut[0];
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(view.displays.back(), kNoConnection);
    first->Deliver(InfoReport("FIRST"));
    EXPECT_EQ(view.connectionText, "Brak połączenia");
}

TEST_F(HidControllerTest, UnrelatedDeviceArrivingDuringStreamingRebindsAndReloadsSettings) {
    backend.Add("KARVO", "k");
    controller.JvHidDeviceController1DeviceChange();
    ScriptedDevice* old = Latest();
    old->Deliver(InfoReport("D7"));
    old->Deliver(SettingsReport());
    old->Deliver(MeasurementReport(3.0f));
    EXPECT_EQ(view.showSettingsCalls, 1);
    EXPECT_EQ(old->Codes(), (std::vector<int>{CmdReadInfo, CmdReadSettings, CmdStartMeasurements}));

    backend.log->events.clear();
    view.displays.clear();
    backend.Add("Mouse", "m");
    EXPECT_TRUE(controller.CheckForChanges());

    // The check found the new set; the old object went before the list was built anew.
    EXPECT_EQ(backend.log->events,
              (std::vector<std::string>{"enumerate", "release:k", "enumerate", "checkout:k"}));
    EXPECT_EQ(view.displays, (std::vector<std::string>{kDisconnected, kDisconnected, kConnected}));
    ScriptedDevice* fresh = Latest();
    EXPECT_EQ(fresh->Codes(), std::vector<int>{CmdReadInfo});
    fresh->Deliver(InfoReport("D7"));
    fresh->Deliver(SettingsReport());
    EXPECT_EQ(view.showSettingsCalls, 2);
    EXPECT_EQ(fresh->Codes(),
              (std::vector<int>{CmdReadInfo, CmdReadSettings, CmdStartMeasurements}));
}

TEST_F(HidControllerTest, LastDeviceLeavingClearsConnectedAtOnce) {
    backend.Add("KARVO", "k");
    controller.JvHidDeviceController1DeviceChange();
    ASSERT_TRUE(link.State().Connected);

    backend.present.clear();
    EXPECT_TRUE(controller.CheckForChanges());
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(link.BoundDevice(), nullptr);
    EXPECT_EQ(view.displays.back(), kNoConnection);
    EXPECT_TRUE(controller.ListBox1().empty());
    link.SendCommand(CmdTare);  // nothing to send to, and no crash
}

TEST_F(HidControllerTest, DiscoveryRunsOnlyWhenTheSetOfDevicesChanged) {
    backend.Add("KARVO", "k");
    backend.Add("Mouse", "m");
    EXPECT_TRUE(controller.CheckForChanges());  // the first check always discovers
    ScriptedDevice* bound = Latest();

    std::swap(backend.present[0], backend.present[1]);  // same set, other order
    EXPECT_FALSE(controller.CheckForChanges());
    EXPECT_EQ(Latest(), bound);
    EXPECT_EQ(link.BoundDevice(), bound);

    backend.log->events.clear();
    backend.present[1].info.Path = "k2";  // the amplifier came back elsewhere
    EXPECT_TRUE(controller.CheckForChanges());
    EXPECT_EQ(backend.log->events,
              (std::vector<std::string>{"enumerate", "release:k", "enumerate", "checkout:k2"}));
    EXPECT_EQ(link.BoundDevice(), Latest());
}

TEST_F(HidControllerTest, ReleaseAllUnbindsAndReleasesEveryDevice) {
    backend.Add("KARVO", "a");
    backend.Add("KARVO", "b");
    controller.JvHidDeviceController1DeviceChange();
    backend.log->events.clear();
    controller.ReleaseAll();
    EXPECT_EQ(backend.log->events, (std::vector<std::string>{"release:a", "release:b"}));
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(link.BoundDevice(), nullptr);
}

}  // namespace
}  // namespace karvo

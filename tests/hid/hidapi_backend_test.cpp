// What of the hidapi backend runs on a machine without an amplifier: enumeration, open
// failures and where report descriptors come from.
#include "hid/hidapi_backend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "hid/hid_controller.h"
#include "hid/hidraw_descriptor.h"
#include "hid/report_descriptor.h"
#include "hid/task_queue_executor.h"
#include "support/fake_link_view.h"
#include "support/hex.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;

bool HidrawNodesPresent() {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/dev", ec)) {
        if (e.path().filename().string().rfind("hidraw", 0) == 0) return true;
    }
    return false;
}

TEST(HidapiBackend, EnumeratesWhatIsPresent) {
    auto backend = MakeHidapiBackend(std::make_shared<TaskQueueExecutor>());
    const auto devices = backend->Enumerate();
    for (const auto& d : devices) EXPECT_FALSE(d.Path.empty());
    if (!HidrawNodesPresent()) {
        EXPECT_TRUE(devices.empty());
        test::FakeLinkView view;
        StringTable strings;
        DeviceLink link(view, strings);
        HidController controller(*backend, link);
        controller.JvHidDeviceController1DeviceChange();
        EXPECT_EQ(view.connectionText, "Brak połączenia");
        EXPECT_FALSE(link.State().Connected);
    }
}

TEST(HidapiBackend, DeviceThatDoesNotOpenCarriesTheReason) {
    auto backend = MakeHidapiBackend(std::make_shared<TaskQueueExecutor>());
    auto device = backend->CheckOut({"KARVO", 0x1209, 0x4B41, "/dev/hidraw-karvo-missing"});
    ASSERT_NE(device, nullptr);
    EXPECT_FALSE(device->OpenedReadWrite());
    EXPECT_NE(device->OpenFailure().find("No such file"), std::string::npos)
        << device->OpenFailure();
    EXPECT_EQ(device->OutputReportLength(), 65);
    EXPECT_EQ(device->InputReportLength(), 65);
    const std::uint8_t report[65] = {1};
    EXPECT_FALSE(device->WriteReport(report, sizeof report));
    device->SetInputReportHandler([](const std::uint8_t*, std::size_t) {});  // starts nothing
    device->SetInputReportHandler({});
}

// The hidapi backend listing an amplifier that is not really there.
class PhantomAmplifier : public HidBackend {
  public:
    std::unique_ptr<HidBackend> real = MakeHidapiBackend(std::make_shared<TaskQueueExecutor>());
    std::vector<HidDeviceInfo> Enumerate() override {
        return {{"KARVO", 0x1209, 0x4B41, "/dev/hidraw-karvo-missing"}};
    }
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override {
        return real->CheckOut(info);
    }
};

TEST(HidapiBackend, AmplifierThatDoesNotOpenShowsNoConnectionWithTheSystemsReason) {
    PhantomAmplifier backend;
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link(view, strings);
    HidController controller(backend, link);
    controller.JvHidDeviceController1DeviceChange();
    EXPECT_EQ(view.connectionText, "Brak połączenia");
    EXPECT_EQ(view.connectionColour, colour::LightRed);
    EXPECT_NE(view.toolTip.find("No such file"), std::string::npos) << view.toolTip;
    EXPECT_FALSE(link.State().Connected);
}

class HidrawDescriptorFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        root =
            fs::temp_directory_path() /
            ("karvo-hidraw-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "dev");
        fs::create_directories(root / "sys/class/hidraw/hidraw7/device");
    }
    void TearDown() override { fs::remove_all(root); }
    static void Write(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
        std::ofstream f(p, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    fs::path root;
};

TEST_F(HidrawDescriptorFiles, FallsBackToSysfsWhenTheIoctlsFail) {
    const auto descriptor = test::Hex("06 00 FF 09 01 A1 01 85 01 75 08 95 40 81 02 91 02 C0");
    Write(root / "sys/class/hidraw/hidraw7/device/report_descriptor", descriptor);
    Write(root / "dev/hidraw7", {});  // a plain file: the ioctls fail on it
    const auto read =
        ReadHidrawReportDescriptor((root / "dev/hidraw7").string(), (root / "sys").string());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, descriptor);
    const auto layout = UsableReportLayout(read);
    EXPECT_EQ(layout.OutputReportByteLength, 65);
    EXPECT_EQ(layout.InputReportByteLength, 65);
}

TEST_F(HidrawDescriptorFiles, NothingWhenNeitherSourceReads) {
    EXPECT_FALSE(
        ReadHidrawReportDescriptor((root / "dev/hidraw3").string(), (root / "sys").string()));
    Write(root / "sys/class/hidraw/hidraw7/device/report_descriptor", {});
    EXPECT_FALSE(
        ReadHidrawReportDescriptor((root / "dev/hidraw7").string(), (root / "sys").string()));
}

}  // namespace
}  // namespace karvo

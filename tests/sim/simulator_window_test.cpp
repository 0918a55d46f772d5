// `--simulate`: the simulated backend under the HID service, driven from the Symulator
// window.
#include "sim/simulator_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <chrono>
#include <thread>

#include "hid/hid_service.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(SimulatorWindow, DrivesTheSimulatedAmplifierUnderTheService) {
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link(view, strings);
    Simulation sim = MakeSimulation(nullptr);
    std::unique_ptr<SimulatorWindow> window(sim.window);
    HidService service(link, std::move(sim.backend));
    EXPECT_EQ(window->windowTitle(), "Symulator");
    EXPECT_FALSE(service.MonitorsHotplug());

    const std::string identified = "Połączono z : KARVO ver.1.04 (SYMULATOR)";
    ASSERT_TRUE(WaitUntil([&] { return view.connectionText == identified; }));
    ASSERT_TRUE(WaitUntil([&] { return link.State().MeasurementStatusPending; }));

    auto* force = window->findChild<QDoubleSpinBox*>("Spin_AppliedForce");
    ASSERT_NE(force, nullptr);
    force->setValue(500.0);
    const double load = 500.0 * AmplifierModel::kSensorConstant / 2.0;
    EXPECT_TRUE(WaitUntil([&] { return std::abs(link.State().Measurement.LoadN - load) < 1e-2; }));

    struct Flag {
        const char* name;
        std::uint8_t bit;
    } flags[] = {{"Check_TareInput", TMeasurementRecord::kTareInput},
                 {"Check_SensorError", TMeasurementRecord::kSensorError},
                 {"Check_ConverterError", TMeasurementRecord::kConverterError}};
    for (const auto& f : flags) {
        SCOPED_TRACE(f.name);
        auto* box = window->findChild<QCheckBox*>(f.name);
        ASSERT_NE(box, nullptr);
        box->setChecked(true);
        EXPECT_TRUE(WaitUntil([&] { return link.State().Measurement.StatusFlags == f.bit; }));
        box->setChecked(false);
        EXPECT_TRUE(WaitUntil([&] { return link.State().Measurement.StatusFlags == 0; }));
    }

    auto* plug = window->findChild<QPushButton*>("Btn_Plug");
    ASSERT_NE(plug, nullptr);
    EXPECT_EQ(plug->text(), "Odłącz");
    plug->click();
    EXPECT_EQ(plug->text(), "Podłącz");
    EXPECT_TRUE(WaitUntil([&] { return view.connectionText == "Brak połączenia"; }));
    EXPECT_FALSE(link.State().Connected);
    plug->click();
    EXPECT_EQ(plug->text(), "Odłącz");
    EXPECT_TRUE(WaitUntil([&] { return view.connectionText == identified; }));
    EXPECT_TRUE(link.State().Connected);
}

}  // namespace
}  // namespace karvo

// karvo-virtual-amplifier: the simulated amplifier's firmware model presented to the
// kernel's HID core through /dev/uhid, so the configurator finds and drives it through
// hidraw like a real amplifier.
//
// The device: product string "KARVO", vendor ID 0x1209, product ID 0x0001 (the pid.codes
// test ID; the virtual amplifier is no product of its own), bus USB, and a report
// descriptor of one vendor-defined report, ID 1, of 64 bytes input and 64 bytes output
// (65 bytes on the wire with the ID). Each output report is one command for the model;
// each reply and each measurement of the stream is one input report. Output reports of
// another length or report ID are not taken as commands: they are logged and ignored, as
// the firmware takes only whole reports. GET_REPORT (input report 1) is answered with
// the last input report; SET_REPORT of output report 1 is one command.
//
// With --mute the device takes the commands and answers none, as another device of the
// same IDs (a boot loader, a second interface) would.
//
// Unplugging: SIGUSR1 removes the device (as pulling the cable does), SIGUSR2 creates it
// again; --unplug-after and --replug-after do the same on a clock. The model is switched
// on afresh with each plug-in and keeps its settings, as the amplifier does.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sim/amplifier_model.h"
#include "uhid/uhid_device.h"

namespace karvo::uhid {

constexpr std::uint16_t kVirtualVendorId = 0x1209;
constexpr std::uint16_t kVirtualProductId = 0x0001;

// The report descriptor: usage page 0xFF00, report ID 1, 64 bytes in, 64 bytes out.
std::vector<std::uint8_t> AmplifierReportDescriptor();

struct VirtualAmplifierOptions {
    std::string name = "KARVO";
    std::uint16_t vendorId = kVirtualVendorId;
    std::uint16_t productId = kVirtualProductId;
    std::uint16_t bus = 0x03;                              // BUS_USB
    double force = 250.0;                                  // N on the simulated sensor
    std::optional<std::chrono::milliseconds> unplugAfter;  // after each plug-in
    std::optional<std::chrono::milliseconds> replugAfter;  // after each unplug
    std::optional<int> cycles;  // plug-ins after which the program ends (with unplugAfter)
    bool trace = false;         // log every report
    bool mute = false;          // never reply: another device that shares the IDs
};

// Flags set from signal handlers.
struct VirtualAmplifierSignals {
    std::atomic<bool> stop{false};
    std::atomic<bool> unplug{false};
    std::atomic<bool> plugIn{false};
};

class VirtualAmplifier {
  public:
    VirtualAmplifier(VirtualAmplifierOptions options, VirtualAmplifierSignals& signals,
                     std::ostream& log);
    // Runs until stopped. 0, or 1 when /dev/uhid cannot be used.
    int Run();

  private:
    using Clock = std::chrono::steady_clock;
    AmplifierModel::Time Now() const { return Clock::now() - start_; }
    bool PlugIn();
    void Unplug();
    void HandleEvent();
    void Command(const std::uint8_t* data, std::size_t size, const char* via);
    void SendDue();
    int PollTimeoutMs() const;

    VirtualAmplifierOptions options_;
    VirtualAmplifierSignals& signals_;
    std::ostream& log_;
    AmplifierModel model_;
    UhidDevice device_;
    Clock::time_point start_ = Clock::now();
    std::optional<Clock::time_point> unplugAt_;
    std::optional<Clock::time_point> plugInAt_;
    int plugIns_ = 0;
    bool opened_ = false;
    AmplifierModel::Report lastInput_{};
};

}  // namespace karvo::uhid

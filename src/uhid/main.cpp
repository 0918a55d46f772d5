// karvo-virtual-amplifier: a virtual KARVO amplifier on /dev/uhid (see virtual_amplifier.h).
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#include "uhid/virtual_amplifier.h"

namespace {

karvo::uhid::VirtualAmplifierSignals g_signals;

extern "C" void OnStop(int) { g_signals.stop.store(true); }
extern "C" void OnUnplug(int) { g_signals.unplug.store(true); }
extern "C" void OnPlugIn(int) { g_signals.plugIn.store(true); }

const char* const kUsage = R"(Usage: karvo-virtual-amplifier [OPTIONS]
A virtual KARVO amplifier on /dev/uhid (needs root, or write access to /dev/uhid).
  --name TEXT          product string (default KARVO)
  --vid HEX, --pid HEX vendor and product ID (default 1209 and 0001)
  --bus usb|bluetooth  bus the device claims (default usb)
  --force N            force on the simulated sensor in N (default 250)
  --unplug-after S     remove the device S seconds after each plug-in
  --replug-after S     create it again S seconds after each unplug
  --cycles N           end after the N-th unplug (with --unplug-after)
  --mute               take the commands and answer none (a device that only shares the IDs)
  --trace              log every command and reply
Signals: SIGUSR1 unplugs, SIGUSR2 plugs in again, SIGINT/SIGTERM end.
)";

bool ParseSeconds(const std::string& text, std::chrono::milliseconds& out) {
    char* end = nullptr;
    const double s = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != 0 || !(s >= 0) || s > 1e6) return false;
    out = std::chrono::milliseconds(static_cast<long long>(s * 1000.0));
    return true;
}

bool ParseHex16(const std::string& text, std::uint16_t& out) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (end == text.c_str() || *end != 0 || v > 0xFFFF) return false;
    out = static_cast<std::uint16_t>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    karvo::uhid::VirtualAmplifierOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        std::string v;
        std::chrono::milliseconds ms{};
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--trace") {
            o.trace = true;
        } else if (arg == "--mute") {
            o.mute = true;
        } else if (arg == "--name") {
            ok = value(o.name) && !o.name.empty() && o.name.size() < 128;
        } else if (arg == "--vid") {
            ok = value(v) && ParseHex16(v, o.vendorId);
        } else if (arg == "--pid") {
            ok = value(v) && ParseHex16(v, o.productId);
        } else if (arg == "--bus") {
            ok = value(v) && (v == "usb" || v == "bluetooth");
            o.bus = v == "bluetooth" ? 0x05 : 0x03;
        } else if (arg == "--force") {
            char* end = nullptr;
            ok = value(v);
            if (ok) o.force = std::strtod(v.c_str(), &end);
            ok = ok && end != v.c_str() && *end == 0;
        } else if (arg == "--unplug-after" || arg == "--replug-after") {
            ok = value(v) && ParseSeconds(v, ms);
            (arg == "--unplug-after" ? o.unplugAfter : o.replugAfter) = ms;
        } else if (arg == "--cycles") {
            ok = value(v) && std::atoi(v.c_str()) > 0;
            if (ok) o.cycles = std::atoi(v.c_str());
        } else {
            ok = false;
        }
        if (!ok) {
            std::cerr << "karvo-virtual-amplifier: bad argument " << arg << "\n" << kUsage;
            return 2;
        }
    }
    struct sigaction sa {};
    sa.sa_handler = OnStop;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sa.sa_handler = OnUnplug;
    sigaction(SIGUSR1, &sa, nullptr);
    sa.sa_handler = OnPlugIn;
    sigaction(SIGUSR2, &sa, nullptr);
    karvo::uhid::VirtualAmplifier amplifier(o, g_signals, std::cerr);
    return amplifier.Run();
}

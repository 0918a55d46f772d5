#include "uhid/virtual_amplifier.h"

#include <linux/uhid.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace karvo::uhid {
namespace {

constexpr std::uint8_t kReportId = 1;
constexpr std::size_t kReportLength = AmplifierModel::kReportLength;  // 65 with the ID
constexpr int kIdlePollMs = 50;  // how soon a signal's flag is seen

std::string Hex(const std::uint8_t* data, std::size_t size) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        out += byte;
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> AmplifierReportDescriptor() {
    // clang-format off
    return {
        0x06, 0x00, 0xFF,  // Usage Page (Vendor Defined 0xFF00)
        0x09, 0x01,        // Usage (1)
        0xA1, 0x01,        // Collection (Application)
        0x85, kReportId,   //   Report ID (1)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x95, 0x40,        //   Report Count (64)
        0x09, 0x01,        //   Usage (1)
        0x81, 0x02,        //   Input (Data, Variable, Absolute)
        0x09, 0x01,        //   Usage (1)
        0x91, 0x02,        //   Output (Data, Variable, Absolute)
        0xC0,              // End Collection
    };
    // clang-format on
}

VirtualAmplifier::VirtualAmplifier(VirtualAmplifierOptions options,
                                   VirtualAmplifierSignals& signals, std::ostream& log)
    : options_(std::move(options)), signals_(signals), log_(log) {
    model_.SetAppliedForce(options_.force);
    lastInput_[0] = kReportId;
}

int VirtualAmplifier::Run() {
    if (!PlugIn()) return 1;
    while (!signals_.stop.load()) {
        const auto now = Clock::now();
        if (signals_.unplug.exchange(false) || (unplugAt_ && now >= *unplugAt_)) {
            Unplug();
            if (options_.cycles && plugIns_ >= *options_.cycles) break;
        }
        if (signals_.plugIn.exchange(false) || (plugInAt_ && now >= *plugInAt_)) {
            if (!device_.Created() && !PlugIn()) return 1;
        }
        if (device_.Created()) SendDue();

        pollfd p{device_.Fd(), POLLIN, 0};
        const int ready = ::poll(&p, device_.Created() ? 1 : 0, PollTimeoutMs());
        if (ready > 0 && (p.revents & POLLIN)) HandleEvent();
        if (ready > 0 && (p.revents & (POLLERR | POLLHUP))) {
            log_ << "karvo-virtual-amplifier: /dev/uhid closed by the kernel\n" << std::flush;
            Unplug();
        }
    }
    Unplug();
    return 0;
}

bool VirtualAmplifier::PlugIn() {
    UhidIdentity identity;
    identity.Name = options_.name;
    identity.Bus = options_.bus;
    identity.VendorId = options_.vendorId;
    identity.ProductId = options_.productId;
    identity.Version = 0x0104;
    identity.Descriptor = AmplifierReportDescriptor();
    std::string error;
    if (!device_.Create(identity, error)) {
        log_ << "karvo-virtual-amplifier: " << error << "\n" << std::flush;
        return false;
    }
    model_.PowerUp();
    ++plugIns_;
    opened_ = false;
    plugInAt_.reset();
    if (options_.unplugAfter) unplugAt_ = Clock::now() + *options_.unplugAfter;
    char ids[32];
    std::snprintf(ids, sizeof ids, "%04X:%04X", options_.vendorId, options_.productId);
    log_ << "karvo-virtual-amplifier: plugged in \"" << options_.name << "\" " << ids << "\n"
         << std::flush;
    return true;
}

void VirtualAmplifier::Unplug() {
    if (!device_.Created()) return;
    device_.Destroy();
    opened_ = false;
    unplugAt_.reset();
    if (options_.replugAfter) plugInAt_ = Clock::now() + *options_.replugAfter;
    log_ << "karvo-virtual-amplifier: unplugged\n" << std::flush;
}

void VirtualAmplifier::HandleEvent() {
    uhid_event ev;
    if (!device_.ReadEvent(ev)) return;
    switch (ev.type) {
        case UHID_START:
        case UHID_STOP:
            break;
        case UHID_OPEN:
            opened_ = true;
            if (options_.trace) log_ << "karvo-virtual-amplifier: opened\n" << std::flush;
            break;
        case UHID_CLOSE:
            opened_ = false;
            if (options_.trace) log_ << "karvo-virtual-amplifier: closed\n" << std::flush;
            break;
        case UHID_OUTPUT:
            if (ev.u.output.rtype == UHID_OUTPUT_REPORT) {
                Command(ev.u.output.data, std::min<std::size_t>(ev.u.output.size, UHID_DATA_MAX),
                        "output");
            }
            break;
        case UHID_GET_REPORT: {
            const auto& r = ev.u.get_report;
            if (r.rtype == UHID_INPUT_REPORT && r.rnum == kReportId) {
                device_.ReplyGetReport(r.id, 0, lastInput_.data(), lastInput_.size());
            } else {
                device_.ReplyGetReport(r.id, EIO, nullptr, 0);
            }
            break;
        }
        case UHID_SET_REPORT: {
            const auto& r = ev.u.set_report;
            const std::size_t size = std::min<std::size_t>(r.size, UHID_DATA_MAX);
            if (r.rtype == UHID_OUTPUT_REPORT && r.rnum == kReportId) {
                Command(r.data, size, "set-report");
                device_.ReplySetReport(r.id, 0);
            } else {
                device_.ReplySetReport(r.id, EIO);
            }
            break;
        }
        default:
            break;
    }
}

void VirtualAmplifier::Command(const std::uint8_t* data, std::size_t size, const char* via) {
    if (size != kReportLength || data[0] != kReportId) {
        log_ << "karvo-virtual-amplifier: ignored " << via << " report of " << size
             << " bytes, report ID " << (size > 0 ? int{data[0]} : -1) << " (expected "
             << kReportLength << " bytes, ID " << int{kReportId} << ")\n"
             << std::flush;
        return;
    }
    if (options_.trace) {
        log_ << "karvo-virtual-amplifier: " << via << " " << Hex(data, size) << "\n" << std::flush;
    }
    if (!options_.mute) model_.Receive(data, size, Now());
}

void VirtualAmplifier::SendDue() {
    const auto now = Now();
    while (auto report = model_.NextReport(now)) {
        lastInput_ = *report;
        if (options_.trace && (*report)[1] != 2) {  // measurements are too many to log
            log_ << "karvo-virtual-amplifier: input " << Hex(report->data(), report->size()) << "\n"
                 << std::flush;
        }
        if (!device_.SendInput(report->data(), report->size())) {
            log_ << "karvo-virtual-amplifier: input report refused: " << std::strerror(errno)
                 << "\n"
                 << std::flush;
            return;
        }
    }
}

int VirtualAmplifier::PollTimeoutMs() const {
    int timeout = kIdlePollMs;
    if (device_.Created()) {
        const auto now = Now();
        if (const auto due = model_.NextReportTime(now)) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(*due - now);
            timeout = std::clamp<int>(static_cast<int>(ms.count()) + 1, 0, kIdlePollMs);
        }
    }
    return timeout;
}

}  // namespace karvo::uhid

// A stream of input reports through the report dispatcher, each followed by a readout tick
// (and, when the stream asks, the watchdog and a page change).
//
// Input: one set-up byte, then records of [control][length][length bytes]:
//   set-up:  bits 0-2 decimals (-1..4, taken modulo 6), bit 3 comma locale, bits 4-6 output
//            report length of the bound device (0, 1, 2, 8, 63, 64, 65, 300), bit 7 English.
//   control: bits 0-2 active page (modulo 5), bit 3 watchdog tick, bit 4 page change,
//            bits 5-7 a special float (none, NaN, -NaN, +inf, -inf, max, -max, denormal)
//            written into every float field of the report's record that the report holds.
//   length:  modulo 65 (0..64 bytes: report byte 1 on, as the dispatcher gets it).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "app/string_table.h"
#include "protocol/commands.h"
#include "protocol/device_link.h"
#include "protocol/records.h"
#include "readout/readout_refresh.h"

namespace {

using namespace karvo;

class SinkDevice : public OutputDevice {
  public:
    explicit SinkDevice(int length) : length_(length) {}
    int OutputReportLength() const override { return length_; }
    bool WriteReport(const std::uint8_t* data, std::size_t n) override {
        if (n > 0 && data == nullptr) std::abort();
        for (std::size_t i = 0; i < n; ++i) checksum ^= data[i];  // every byte must be readable
        ++writes;
        return true;
    }
    int writes = 0;
    std::uint8_t checksum = 0;

  private:
    int length_;
};

class SilentView : public LinkView {
  public:
    void SetConnectionText(const std::string& t) override { text = t; }
    void SetConnectionColour(std::uint32_t) override {}
    void SetStatusLine(const std::string& t) override { status = t; }
    void ShowSettings(const TDeviceSettingsRecord&) override {}
    void UpdateUnitLabels() override {}
    int MessageBox(const std::string&, const std::string&, int) override { return mb::ResultOk; }
    int ActivePageIndex() const override { return page; }
    int page = 0;
    std::string text, status;
};

// Offsets of the float fields of each record, counted from report byte 1 (the code).
const std::vector<std::size_t>& FloatOffsets(std::uint8_t code) {
    static const std::vector<std::size_t> info{1};
    static const std::vector<std::size_t> settings{1, 9, 19, 23, 27, 31};
    static const std::vector<std::size_t> measurement{3, 7, 11, 15, 19, 23, 28, 32};
    static const std::vector<std::size_t> none;
    switch (code) {
        case CmdReadInfo:
            return info;
        case CmdReadSettings:
            return settings;
        case CmdReadMeasurement:
            return measurement;
        default:
            return none;
    }
}

float Special(int which) {
    switch (which) {
        case 1:
            return std::numeric_limits<float>::quiet_NaN();
        case 2:
            return -std::numeric_limits<float>::quiet_NaN();
        case 3:
            return std::numeric_limits<float>::infinity();
        case 4:
            return -std::numeric_limits<float>::infinity();
        case 5:
            return std::numeric_limits<float>::max();
        case 6:
            return std::numeric_limits<float>::lowest();
        default:
            return std::numeric_limits<float>::denorm_min();
    }
}

void CheckFrame(const ReadoutFrame& f) {
    const auto within = [](const std::optional<int>& v, int hi) {
        if (v && (*v < 0 || *v > hi)) std::abort();
    };
    within(f.gauge100, readout::kGauge100Max);
    within(f.gauge150, readout::kGauge150Max);
    within(f.gauge200, readout::kGauge200Max);
    within(f.analogGauge, readout::kAnalogGaugeMax);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const int kLengths[] = {0, 1, 2, 8, 63, 64, 65, 300};
    const std::uint8_t setup = data[0];

    SilentView view;
    StringTable strings;
    if (setup & 0x80) strings.SetLanguage(StringTable::kEnglish);
    NumberLocale locale;
    if (setup & 0x08) locale = NumberLocale{",", "\xC2\xA0"};
    DeviceLink link(view, strings, locale);
    SinkDevice device(kLengths[(setup >> 4) & 7]);
    link.Bind(&device);
    link.State().Connected = true;

    SharedDisplayState shared;
    shared.Decimals = (setup & 7) % 6 - 1;
    shared.UnitSuffix = " kg";
    shared.OutputUnitSuffix = " mA";
    ReadoutRefresh refresh;

    std::size_t at = 1;
    while (at + 2 <= size) {
        const std::uint8_t control = data[at];
        std::size_t length = data[at + 1] % 65;
        at += 2;
        if (length > size - at) length = size - at;
        // A buffer of exactly `length` bytes, so that any read past it is caught.
        std::vector<std::uint8_t> bytes(data + at, data + at + length);
        at += length;

        const int special = control >> 5;
        if (special != 0 && !bytes.empty()) {
            const float v = Special(special);
            for (std::size_t off : FloatOffsets(bytes[0])) {
                if (off + 4 <= bytes.size()) StoreFloat(bytes.data() + off, v);
            }
        }

        view.page = (control & 7) % 5;
        link.ReportDispatcher(bytes.empty() ? nullptr : bytes.data(), bytes.size());
        if (control & 0x08) link.TimerTimeoutTimer();
        if (control & 0x10) link.PageControl1Change();
        CheckFrame(refresh.Tick(link.State(), shared, link.Locale()));
    }
    // The last state once more with NaN and the infinities everywhere.
    for (int special = 1; special <= 4; ++special) {
        TMeasurementRecord& m = link.State().Measurement;
        m.LoadN = m.Value = m.MinValue = m.MaxValue = m.AnalogOutput = m.SignalmV =
            Special(special);
        link.State().Connected = true;
        CheckFrame(refresh.Tick(link.State(), shared, link.Locale()));
    }
    link.Bind(nullptr);
    return 0;
}

// The link to the bound amplifier: its state, the report dispatcher, the link status
// displays, the watchdog and the page-change rule. Everything runs on the UI thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/string_table.h"
#include "protocol/commands.h"
#include "protocol/records.h"
#include "protocol/transport.h"
#include "readout/number_format.h"

namespace karvo {

// Windows colour values (0x00BBGGRR).
namespace colour {
constexpr std::uint32_t LightGreen = 8902831;
constexpr std::uint32_t LightRed = 6716669;
constexpr std::uint32_t LightGrey = 13882323;
constexpr std::uint32_t Green = 32768;
constexpr std::uint32_t Red = 255;
constexpr std::uint32_t YellowGreen = 65445;
constexpr std::uint32_t Window = 0xFFFFFFFF;  // the control's normal background
}  // namespace colour

// Message box flags and results (Windows values).
namespace mb {
constexpr int OkCancelQuestion = 33;
constexpr int OkWarning = 48;
constexpr int OkInformation = 64;
constexpr int ResultOk = 1;
constexpr int ResultCancel = 2;
}  // namespace mb

constexpr int kSettingsPage = 3;

// What the link needs of the main window.
class LinkView {
public:
    virtual ~LinkView() = default;
    virtual void SetConnectionText(const std::string& text) = 0;
    virtual void SetConnectionColour(std::uint32_t colour) = 0;
    // Why the amplifier could not be opened (empty: no reason to show).
    virtual void SetConnectionToolTip(const std::string& /*text*/) {}
    virtual void SetStatusLine(const std::string& text) = 0;
    virtual void ShowSettings(const TDeviceSettingsRecord& settings) = 0;
    virtual void UpdateUnitLabels() = 0;
    // A modal message box; returns mb::ResultOk or mb::ResultCancel.
    virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
    virtual int ActivePageIndex() const = 0;
};

struct LinkState {
    bool Connected = false;
    bool MeasurementStatusPending = false;
    std::int32_t WatchdogCount = 0;
    std::int32_t LastPageIndex = 0;
    TDeviceInfoRecord Info;
    TDeviceSettingsRecord Settings;
    TMeasurementRecord Measurement;
};

class DeviceLink {
public:
    DeviceLink(LinkView& view, const StringTable& strings, NumberLocale locale = {});

    LinkState& State() { return state_; }
    const LinkState& State() const { return state_; }
    Transport& Link() { return transport_; }
    const NumberLocale& Locale() const { return locale_; }

    void SendReport(const std::uint8_t* bytes, std::size_t count) {
        transport_.SendReport(bytes, count);
    }
    void SendCommand(std::uint8_t code) { transport_.SendCommand(code); }
    void Bind(OutputDevice* device) { transport_.Bind(device); }
    OutputDevice* BoundDevice() const { return transport_.BoundDevice(); }

    // The input-report handler: `data` is the report from byte 1 on, `size` its length.
    void ReportDispatcher(const std::uint8_t* data, std::size_t size);

    // Told of every reply the dispatcher accepted (a known code, long enough for its
    // record), after it was handled; `data` and `size` as the dispatcher got them.
    using ReplyObserver =
        std::function<void(std::uint8_t code, const std::uint8_t* data, std::size_t size)>;
    void SetReplyObserver(ReplyObserver observer) { replyObserver_ = std::move(observer); }

    void ShowConnected();
    void ShowNoConnection(const std::string& reason = {});
    void ShowDisconnected();

    // TimerTimeout, every 200 ms.
    void TimerTimeoutTimer();
    // The user switched pages.
    void PageControl1Change();
    // "Tara" and "Reset Min/Max".
    void BtnTaraClick() { SendCommand(CmdTare); }
    void Btn_ResetMinMaxClick() { SendCommand(CmdResetMinMax); }

    static std::string IdentificationText(const TDeviceInfoRecord& info,
                                          const NumberLocale& locale);

private:
    // The dispatcher's work; false when the reply was ignored.
    bool Dispatch(const std::uint8_t* data, std::size_t size);

    LinkView& view_;
    const StringTable& strings_;
    NumberLocale locale_;
    LinkState state_;
    Transport transport_;
    ReplyObserver replyObserver_;
};

}  // namespace karvo

#include "protocol/device_link.h"

namespace karvo {

DeviceLink::DeviceLink(LinkView& view, const StringTable& strings, NumberLocale locale)
    : view_(view), strings_(strings), locale_(std::move(locale)), transport_(state_.Connected) {}

std::string DeviceLink::IdentificationText(const TDeviceInfoRecord& info,
                                           const NumberLocale& locale) {
    return "Połączono z : " + info.Name() + " ver." +
           FormatFixed(info.FirmwareVersion, 3, 2, locale) + " (" + info.Detail() + ")";
}

void DeviceLink::ReportDispatcher(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) return;
    if (Dispatch(data, size) && replyObserver_) replyObserver_(data[0], data, size);
}

bool DeviceLink::Dispatch(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t code = data[0];
    // A reply shorter than the record it announces is ignored whole.
    switch (code) {
        case CmdReadInfo: {
            if (size < 1 + TDeviceInfoRecord::kSize) return false;
            state_.Info = TDeviceInfoRecord::Decode(data + 1);
            view_.SetConnectionText(IdentificationText(state_.Info, locale_));
            SendCommand(CmdReadSettings);
            return true;
        }
        case CmdReadSettings: {
            if (size < 1 + TDeviceSettingsRecord::kSize) return false;
            state_.Settings = TDeviceSettingsRecord::Decode(data + 1);
            view_.ShowSettings(state_.Settings);
            view_.SetStatusLine("Parametry urządzenia odczytane");
            if (view_.ActivePageIndex() != kSettingsPage) SendCommand(CmdStartMeasurements);
            return true;
        }
        case CmdReadMeasurement: {
            if (size < 1 + TMeasurementRecord::kSize) return false;
            const int page = view_.ActivePageIndex();
            if (page == kSettingsPage && state_.LastPageIndex != kSettingsPage) {
                SendCommand(CmdReadSettings);
            } else {
                state_.MeasurementStatusPending = true;
            }
            state_.LastPageIndex = page;
            state_.Measurement = TMeasurementRecord::Decode(data + 1);
            state_.WatchdogCount = 0;
            return true;
        }
        case CmdWriteSettings: {
            if (size < 2) return false;
            const bool ok = data[1] == 0;
            view_.SetStatusLine(ok ? "Parametry urządzenia zapisane" : "Błędne parametry");
            view_.UpdateUnitLabels();
            // A rejected write must not be confirmed as written.
            if (ok) {
                view_.MessageBox("Ustawienia zapisane w urządzeniu", " Info", mb::OkInformation);
            } else {
                view_.MessageBox("Błędne parametry", " Uwaga", mb::OkWarning);
            }
            return true;
        }
        case CmdRestoreFactory:
            view_.SetStatusLine("Parametry fabryczne przywrócone.");
            view_.MessageBox("Ustawienia fabryczne przywrócone", " Info", mb::OkInformation);
            SendCommand(CmdReadSettings);
            return true;
        case CmdTare:
            view_.SetStatusLine(strings_("IDS_49"));
            return true;
        case CmdResetMinMax:
            view_.SetStatusLine(strings_("IDS_50"));
            return true;
        default:
            return false;
    }
}

void DeviceLink::ShowConnected() {
    view_.SetConnectionText(strings_("IDS_44"));
    view_.SetConnectionColour(colour::LightGreen);
    view_.SetConnectionToolTip({});
    SendCommand(CmdReadInfo);
}

void DeviceLink::ShowNoConnection(const std::string& reason) {
    view_.SetConnectionText(strings_("IDS_45"));
    view_.SetConnectionColour(colour::LightRed);
    view_.SetConnectionToolTip(reason);
}

void DeviceLink::ShowDisconnected() {
    view_.SetConnectionText(strings_("IDS_46"));
    view_.SetConnectionColour(colour::LightGrey);
    view_.SetConnectionToolTip({});
}

void DeviceLink::TimerTimeoutTimer() {
    if (!state_.Connected) return;
    if (view_.ActivePageIndex() == kSettingsPage) return;
    const std::int32_t previous = state_.WatchdogCount;
    state_.WatchdogCount = previous + 1;
    if (previous > 10) {
        state_.WatchdogCount = 0;
        state_.Connected = false;
        ShowNoConnection();
    }
}

void DeviceLink::PageControl1Change() {
    if (view_.ActivePageIndex() != kSettingsPage) SendCommand(CmdStartMeasurements);
}

}  // namespace karvo

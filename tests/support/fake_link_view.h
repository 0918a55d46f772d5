// Test doubles around DeviceLink: a window that records what it was told and a device
// that records what was written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "protocol/device_link.h"
#include "protocol/transport.h"

namespace karvo::test {

class RecordingDevice : public OutputDevice {
public:
    explicit RecordingDevice(int length = 65) : length(length) {}
    int length;
    bool fail = false;
    bool throwOnWrite = false;
    std::vector<std::vector<std::uint8_t>> writes;

    int OutputReportLength() const override { return length; }
    bool WriteReport(const std::uint8_t* data, std::size_t n) override {
        if (throwOnWrite) throw std::runtime_error("device gone");
        writes.emplace_back(data, data + n);
        return !fail;
    }
    // The command codes written so far (report byte 1 of each).
    std::vector<int> Codes() const {
        std::vector<int> c;
        for (const auto& w : writes) c.push_back(w.size() > 1 ? w[1] : -1);
        return c;
    }
};

class FakeLinkView : public LinkView {
public:
    std::string connectionText;
    std::uint32_t connectionColour = 0;
    std::string toolTip;
    std::string statusLine = "...";
    int page = 0;
    int showSettingsCalls = 0;
    int unitLabelCalls = 0;
    std::vector<std::string> events;  // in order: "status:..", "box:..", "settings", "units"
    std::function<void()> onBox;      // runs inside a box, as a modal loop would

    void SetConnectionText(const std::string& t) override { connectionText = t; }
    void SetConnectionColour(std::uint32_t c) override { connectionColour = c; }
    void SetConnectionToolTip(const std::string& t) override { toolTip = t; }
    void SetStatusLine(const std::string& t) override {
        statusLine = t;
        events.push_back("status:" + t);
    }
    void ShowSettings(const TDeviceSettingsRecord&) override {
        ++showSettingsCalls;
        events.push_back("settings");
    }
    void UpdateUnitLabels() override {
        ++unitLabelCalls;
        events.push_back("units");
    }
    int MessageBox(const std::string& text, const std::string& caption, int flags) override {
        events.push_back("box:" + caption + "|" + text + "|" + std::to_string(flags));
        if (onBox) onBox();
        events.push_back("box closed");
        return mb::ResultOk;
    }
    int ActivePageIndex() const override { return page; }
};

}  // namespace karvo::test

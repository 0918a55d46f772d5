// A HID backend for discovery tests: the devices present are a list the test edits; every
// check-out, release and write is recorded, and reports are delivered by the test, on
// its own thread, as the hand-over would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hid/hid_backend.h"

namespace karvo::test {

struct ScriptedLog {
    std::vector<std::string> events;  // "enumerate", "checkout:<path>", "release:<path>"
};

class ScriptedDevice : public HidDevice {
  public:
    ScriptedDevice(HidDeviceInfo info, std::shared_ptr<ScriptedLog> log, bool open,
                   std::string failure)
        : info_(std::move(info)), log_(std::move(log)), open_(open), failure_(std::move(failure)) {}
    ~ScriptedDevice() override { log_->events.push_back("release:" + info_.Path); }

    const HidDeviceInfo& Info() const override { return info_; }
    bool OpenedReadWrite() const override { return open_; }
    std::string OpenFailure() const override { return failure_; }
    int OutputReportLength() const override { return 65; }
    int InputReportLength() const override { return 65; }
    bool WriteReport(const std::uint8_t* data, std::size_t length) override {
        writes.emplace_back(data, data + length);
        return true;
    }
    void SetInputReportHandler(ReportHandler h) override {
        handler = std::move(h);
        ++handlerChanges;
    }

    // One read of `report` (report ID byte first), handed to the handler.
    void Deliver(const std::vector<std::uint8_t>& report) {
        if (handler) handler(report.data(), report.size());
    }
    std::vector<int> Codes() const {
        std::vector<int> c;
        for (const auto& w : writes) c.push_back(w.size() > 1 ? w[1] : -1);
        return c;
    }

    ReportHandler handler;
    int handlerChanges = 0;
    std::vector<std::vector<std::uint8_t>> writes;

  private:
    HidDeviceInfo info_;
    std::shared_ptr<ScriptedLog> log_;
    bool open_;
    std::string failure_;
};

class ScriptedBackend : public HidBackend {
  public:
    struct Present {
        Present(HidDeviceInfo i, bool o = true, std::string f = {}, bool fails = false)
            : info(std::move(i)), opens(o), failure(std::move(f)), checkOutFails(fails) {}
        HidDeviceInfo info;
        bool opens = true;           // opens for reading and writing
        std::string failure;         // the reason when it does not
        bool checkOutFails = false;  // nothing to hand out at all
    };

    std::vector<Present> present;
    std::shared_ptr<ScriptedLog> log = std::make_shared<ScriptedLog>();
    bool throwOnEnumerate = false;
    std::vector<ScriptedDevice*> checkedOut;  // every device handed out, newest last

    void Add(std::string product, std::string path, std::uint16_t vid = 0x1209,
             std::uint16_t pid = 0x0001) {
        present.emplace_back(HidDeviceInfo{std::move(product), vid, pid, std::move(path)});
    }

    std::vector<HidDeviceInfo> Enumerate() override {
        log->events.push_back("enumerate");
        if (throwOnEnumerate) throw std::runtime_error("enumeration failed");
        std::vector<HidDeviceInfo> v;
        for (const auto& p : present) v.push_back(p.info);
        return v;
    }
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override {
        log->events.push_back("checkout:" + info.Path);
        for (const auto& p : present) {
            if (p.info != info) continue;
            if (p.checkOutFails) return nullptr;
            auto d = std::make_unique<ScriptedDevice>(info, log, p.opens, p.failure);
            checkedOut.push_back(d.get());
            return d;
        }
        return nullptr;
    }
};

}  // namespace karvo::test

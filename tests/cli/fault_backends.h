// Amplifiers that misbehave, for the command-line tool's tests: a simulated amplifier that
// stores something else than it is sent, one that stops answering, several amplifiers side by
// side, and an amplifier the system will not open.
#pragma once

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "hid/hid_backend.h"
#include "protocol/commands.h"
#include "protocol/records.h"
#include "sim/simulated_backend.h"

namespace karvo::test {

enum class Fault {
    None,
    StoresOther,  // a settings write arrives with TRange one higher
    GoesSilent,   // every output report after the first `answered` is dropped
};

class FaultyDevice : public HidDevice {
  public:
    FaultyDevice(std::unique_ptr<HidDevice> inner, Fault fault, int answered)
        : inner_(std::move(inner)), fault_(fault), answered_(answered) {}

    const HidDeviceInfo& Info() const override { return inner_->Info(); }
    bool OpenedReadWrite() const override { return inner_->OpenedReadWrite(); }
    std::string OpenFailure() const override { return inner_->OpenFailure(); }
    int InputReportLength() const override { return inner_->InputReportLength(); }
    int OutputReportLength() const override { return inner_->OutputReportLength(); }
    void SetInputReportHandler(ReportHandler h) override {
        inner_->SetInputReportHandler(std::move(h));
    }
    bool WriteReport(const std::uint8_t* data, std::size_t length) override {
        if (fault_ == Fault::GoesSilent && writes_++ >= answered_) return true;
        std::vector<std::uint8_t> report(data, data + length);
        if (fault_ == Fault::StoresOther && length > 2 + TDeviceSettingsRecord::kSize &&
            report[1] == CmdWriteSettings) {
            auto s = TDeviceSettingsRecord::Decode(report.data() + 2);
            s.TRange += 1;
            s.Encode(report.data() + 2);
        }
        return inner_->WriteReport(report.data(), report.size());
    }

  private:
    std::unique_ptr<HidDevice> inner_;
    Fault fault_;
    int answered_;
    int writes_ = 0;
};

// Several simulated amplifiers (or none), each under a path of its own, "amp1", "amp2", ...
class BenchBackend : public HidBackend {
  public:
    BenchBackend(std::vector<std::shared_ptr<SimulatorBench>> benches,
                 std::shared_ptr<UiExecutor> executor, Fault fault = Fault::None, int answered = 2)
        : fault_(fault), answered_(answered) {
        for (auto& b : benches) sims_.push_back(std::make_unique<SimulatedBackend>(b, executor));
    }

    std::vector<HidDeviceInfo> Enumerate() override {
        std::vector<HidDeviceInfo> out;
        for (std::size_t i = 0; i < sims_.size(); ++i) {
            for (auto d : sims_[i]->Enumerate()) {
                d.Path = "amp" + std::to_string(i + 1);
                out.push_back(d);
            }
        }
        return out;
    }
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override {
        for (std::size_t i = 0; i < sims_.size(); ++i) {
            if (info.Path != "amp" + std::to_string(i + 1)) continue;
            for (const auto& d : sims_[i]->Enumerate()) {
                return std::make_unique<FaultyDevice>(sims_[i]->CheckOut(d), fault_, answered_);
            }
        }
        return nullptr;
    }
    bool UsesSystemDevices() const override { return false; }
    void SetChangeListener(std::function<void()> listener) override {
        for (auto& s : sims_) s->SetChangeListener(listener);
    }

  private:
    std::vector<std::unique_ptr<SimulatedBackend>> sims_;
    Fault fault_;
    int answered_;
};

// One amplifier that the system refuses to open, with errno `error`'s reason.
class RefusingBackend : public HidBackend {
  public:
    explicit RefusingBackend(int error) : reason_(std::strerror(error)) {}

    std::vector<HidDeviceInfo> Enumerate() override {
        return {HidDeviceInfo{"KARVO", 0x1209, 0x4B41, "/dev/hidraw7"}};
    }
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override {
        return std::make_unique<Closed>(
            info, "Failed to open a device with path '" + info.Path + "': " + reason_);
    }

  private:
    class Closed : public HidDevice {
      public:
        Closed(HidDeviceInfo info, std::string reason)
            : info_(std::move(info)), reason_(std::move(reason)) {}
        const HidDeviceInfo& Info() const override { return info_; }
        bool OpenedReadWrite() const override { return false; }
        std::string OpenFailure() const override { return reason_; }
        int InputReportLength() const override { return 65; }
        int OutputReportLength() const override { return 65; }
        bool WriteReport(const std::uint8_t*, std::size_t) override { return false; }
        void SetInputReportHandler(ReportHandler) override {}

      private:
        HidDeviceInfo info_;
        std::string reason_;
    };
    std::string reason_;
};

}  // namespace karvo::test

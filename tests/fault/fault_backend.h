// Backends for fault injection: the simulated amplifier behind a switch that silences it,
// and a device that plays a generated stream of input reports at a set pace through the
// same reader thread and hand-over as a real device.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hid/hid_backend.h"
#include "hid/report_reader.h"
#include "hid/ui_executor.h"
#include "protocol/commands.h"
#include "protocol/records.h"
#include "sim/simulated_backend.h"

namespace karvo::test {

// A count for the test: the environment variable `name` when set to a positive number
// (long runs), `fallback` otherwise.
inline long EnvCount(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr) return fallback;
    const long value = std::strtol(text, nullptr, 10);
    return value > 0 ? value : fallback;
}

// The simulated amplifier; while `Silent()` is set its input reports are lost on the way,
// as with a device whose firmware stopped answering.
class SilenceableBackend : public HidBackend {
  public:
    SilenceableBackend(std::shared_ptr<SimulatorBench> bench, std::shared_ptr<UiExecutor> executor)
        : inner_(std::move(bench), std::move(executor)) {}

    std::atomic<bool>& Silent() { return *silent_; }

    std::vector<HidDeviceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override {
        return std::make_unique<Device>(inner_.CheckOut(info), silent_);
    }
    void SetChangeListener(std::function<void()> listener) override {
        inner_.SetChangeListener(std::move(listener));
    }
    bool UsesSystemDevices() const override { return false; }

  private:
    class Device : public HidDevice {
      public:
        Device(std::unique_ptr<HidDevice> inner, std::shared_ptr<std::atomic<bool>> silent)
            : inner_(std::move(inner)), silent_(std::move(silent)) {}
        const HidDeviceInfo& Info() const override { return inner_->Info(); }
        bool OpenedReadWrite() const override { return inner_->OpenedReadWrite(); }
        int InputReportLength() const override { return inner_->InputReportLength(); }
        int OutputReportLength() const override { return inner_->OutputReportLength(); }
        bool WriteReport(const std::uint8_t* data, std::size_t length) override {
            return inner_->WriteReport(data, length);
        }
        void SetInputReportHandler(ReportHandler handler) override {
            if (!handler) return inner_->SetInputReportHandler({});
            auto silent = silent_;
            inner_->SetInputReportHandler(
                [silent, handler](const std::uint8_t* report, std::size_t length) {
                    if (!*silent) handler(report, length);
                });
        }

      private:
        std::unique_ptr<HidDevice> inner_;
        std::shared_ptr<std::atomic<bool>> silent_;
    };

    SimulatedBackend inner_;
    std::shared_ptr<std::atomic<bool>> silent_ = std::make_shared<std::atomic<bool>>(false);
};

// One generated input report: the bytes as read (report ID first).
using GeneratedReport = std::vector<std::uint8_t>;

// A measurement reply whose record carries `sequence` in Spare (exact in a float up to
// 2^24) and in AdcRaw (low 15 bits).
inline GeneratedReport MeasurementReport(std::uint32_t sequence) {
    TMeasurementRecord m;
    m.Spare = static_cast<float>(sequence);
    m.AdcRaw = static_cast<std::int16_t>(sequence & 0x7FFF);
    m.LoadN = 1.5f;
    m.Value = 1.5f;
    GeneratedReport r(65, 0);
    r[0] = 0;
    r[1] = CmdReadMeasurement;
    m.Encode(r.data() + 2);
    return r;
}

// A device named "KARVO" that plays `count` reports from `generate`, report `i` due
// `interval * i` after the handler is set (all at once with a zero interval), then stays
// silent. Writes are accepted and ignored. The reader never falls behind by dropping: a
// late report is read late, and `MaxLagUs()` says by how much.
class StreamBackend : public HidBackend {
  public:
    StreamBackend(std::shared_ptr<UiExecutor> executor, std::uint64_t count,
                  std::chrono::microseconds interval,
                  std::function<GeneratedReport(std::uint64_t)> generate)
        : executor_(std::move(executor)),
          shared_(std::make_shared<Shared>()),
          count_(count),
          interval_(interval),
          generate_(std::move(generate)) {}

    // Reports read by the reader so far, and the largest delay of one behind its due time.
    std::uint64_t Read() const { return shared_->next; }
    std::int64_t MaxLagUs() const { return shared_->maxLagUs; }

    std::vector<HidDeviceInfo> Enumerate() override {
        return {HidDeviceInfo{"KARVO", 0x1209, 0x4B41, "stream:0"}};
    }
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override {
        return std::make_unique<Device>(*this, info);
    }
    bool UsesSystemDevices() const override { return false; }

  private:
    struct Shared {
        std::atomic<std::uint64_t> next{0};
        std::atomic<std::int64_t> maxLagUs{0};
    };

    class Device : public HidDevice {
      public:
        Device(StreamBackend& owner, HidDeviceInfo info) : owner_(owner), info_(std::move(info)) {}
        ~Device() override { reader_.reset(); }
        const HidDeviceInfo& Info() const override { return info_; }
        bool OpenedReadWrite() const override { return true; }
        int InputReportLength() const override { return 65; }
        int OutputReportLength() const override { return 65; }
        bool WriteReport(const std::uint8_t*, std::size_t) override { return true; }
        void SetInputReportHandler(ReportHandler handler) override {
            reader_.reset();
            if (!handler) return;
            const auto start = std::chrono::steady_clock::now();
            auto shared = owner_.shared_;
            const auto count = owner_.count_;
            const auto interval = owner_.interval_;
            auto generate = owner_.generate_;
            reader_ = std::make_unique<ReportReader>(
                owner_.executor_,
                [=](std::uint8_t* buffer, std::size_t capacity, int timeoutMs) -> int {
                    const std::uint64_t i = shared->next;
                    if (i >= count) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
                        return 0;
                    }
                    const auto due = start + interval * static_cast<std::int64_t>(i);
                    auto now = std::chrono::steady_clock::now();
                    if (now < due) {
                        if (due - now > std::chrono::milliseconds(timeoutMs)) {
                            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
                            return 0;
                        }
                        std::this_thread::sleep_until(due);
                        now = std::chrono::steady_clock::now();
                    }
                    const auto lag =
                        std::chrono::duration_cast<std::chrono::microseconds>(now - due).count();
                    if (lag > shared->maxLagUs) shared->maxLagUs = lag;
                    const GeneratedReport r = generate(i);
                    const std::size_t n = std::min(capacity, r.size());
                    std::copy(r.begin(), r.begin() + n, buffer);
                    shared->next = i + 1;
                    return static_cast<int>(n);
                },
                65, std::move(handler));
        }

      private:
        StreamBackend& owner_;
        HidDeviceInfo info_;
        std::unique_ptr<ReportReader> reader_;
    };

    std::shared_ptr<UiExecutor> executor_;
    std::shared_ptr<Shared> shared_;
    std::uint64_t count_;
    std::chrono::microseconds interval_;
    std::function<GeneratedReport(std::uint64_t)> generate_;
};

}  // namespace karvo::test

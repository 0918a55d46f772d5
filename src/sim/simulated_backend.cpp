#include "sim/simulated_backend.h"

#include <cerrno>
#include <cstring>

#include "hid/report_reader.h"

namespace karvo {
namespace {

constexpr const char* kPathPrefix = "sim:karvo/";

class SimulatedDevice : public HidDevice {
  public:
    SimulatedDevice(HidDeviceInfo info, std::shared_ptr<SimulatorBench> bench,
                    std::shared_ptr<UiExecutor> executor)
        : info_(std::move(info)), bench_(std::move(bench)), executor_(std::move(executor)) {
        const std::uint64_t generation = bench_->Generation();
        open_ = bench_->Plugged() && info_.Path == kPathPrefix + std::to_string(generation);
        generation_ = generation;
    }
    ~SimulatedDevice() override { reader_.reset(); }

    const HidDeviceInfo& Info() const override { return info_; }
    bool OpenedReadWrite() const override { return open_; }
    std::string OpenFailure() const override {
        return open_ ? std::string() : std::strerror(ENODEV);
    }
    int OutputReportLength() const override { return AmplifierModel::kReportLength; }
    int InputReportLength() const override { return AmplifierModel::kReportLength; }

    bool WriteReport(const std::uint8_t* data, std::size_t length) override {
        return open_ && bench_->Write(generation_, data, length);
    }

    void SetInputReportHandler(ReportHandler handler) override {
        reader_.reset();
        if (!handler || !open_) return;
        auto bench = bench_;
        const std::uint64_t generation = generation_;
        reader_ = std::make_unique<ReportReader>(
            executor_,
            [bench, generation](std::uint8_t* buffer, std::size_t capacity, int timeout) {
                return bench->Read(generation, buffer, capacity, timeout);
            },
            AmplifierModel::kReportLength, std::move(handler));
    }

  private:
    HidDeviceInfo info_;
    std::shared_ptr<SimulatorBench> bench_;
    std::shared_ptr<UiExecutor> executor_;
    std::uint64_t generation_ = 0;
    bool open_ = false;
    std::unique_ptr<ReportReader> reader_;
};

}  // namespace

SimulatedBackend::SimulatedBackend(std::shared_ptr<SimulatorBench> bench,
                                   std::shared_ptr<UiExecutor> executor)
    : bench_(std::move(bench)), executor_(std::move(executor)) {}

SimulatedBackend::~SimulatedBackend() { bench_->SetChangeListener({}); }

std::vector<HidDeviceInfo> SimulatedBackend::Enumerate() {
    if (!bench_->Plugged()) return {};
    return {HidDeviceInfo{"KARVO", kVendorId, kProductId,
                          kPathPrefix + std::to_string(bench_->Generation())}};
}

std::unique_ptr<HidDevice> SimulatedBackend::CheckOut(const HidDeviceInfo& info) {
    return std::make_unique<SimulatedDevice>(info, bench_, executor_);
}

void SimulatedBackend::SetChangeListener(std::function<void()> listener) {
    bench_->SetChangeListener(std::move(listener));
}

}  // namespace karvo

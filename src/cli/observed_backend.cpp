#include "cli/observed_backend.h"

namespace karvo::cli {
namespace {

class ObservedDevice : public HidDevice {
  public:
    ObservedDevice(std::unique_ptr<HidDevice> inner,
                   std::shared_ptr<ObservedBackend::ReportObserver> observer)
        : inner_(std::move(inner)), observer_(std::move(observer)) {}

    const HidDeviceInfo& Info() const override { return inner_->Info(); }
    bool OpenedReadWrite() const override { return inner_->OpenedReadWrite(); }
    std::string OpenFailure() const override { return inner_->OpenFailure(); }
    int InputReportLength() const override { return inner_->InputReportLength(); }
    int OutputReportLength() const override { return inner_->OutputReportLength(); }
    bool WriteReport(const std::uint8_t* data, std::size_t length) override {
        return inner_->WriteReport(data, length);
    }

    void SetInputReportHandler(ReportHandler handler) override {
        if (!handler) {
            inner_->SetInputReportHandler({});
            return;
        }
        auto observer = observer_;
        inner_->SetInputReportHandler([handler = std::move(handler), observer](
                                          const std::uint8_t* report, std::size_t length) {
            handler(report, length);
            if (*observer) (*observer)(report, length);
        });
    }

  private:
    std::unique_ptr<HidDevice> inner_;
    std::shared_ptr<ObservedBackend::ReportObserver> observer_;
};

}  // namespace

ObservedBackend::ObservedBackend(HidBackend& inner, std::optional<std::string> path,
                                 ReportObserver observer)
    : inner_(inner),
      path_(std::move(path)),
      observer_(std::make_shared<ReportObserver>(std::move(observer))) {}

std::vector<HidDeviceInfo> ObservedBackend::Enumerate() {
    std::vector<HidDeviceInfo> devices = inner_.Enumerate();
    if (!path_) return devices;
    std::vector<HidDeviceInfo> picked;
    for (auto& d : devices) {
        if (d.Path == *path_) picked.push_back(std::move(d));
    }
    return picked;
}

std::unique_ptr<HidDevice> ObservedBackend::CheckOut(const HidDeviceInfo& info) {
    auto device = inner_.CheckOut(info);
    if (!device) return nullptr;
    return std::make_unique<ObservedDevice>(std::move(device), observer_);
}

}  // namespace karvo::cli

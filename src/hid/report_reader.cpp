#include "hid/report_reader.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace karvo {

ReportReader::ReportReader(std::shared_ptr<UiExecutor> executor, ReadFunction read,
                           std::size_t capacity, HidDevice::ReportHandler handler,
                           ErrorFunction onReadError)
    : executor_(std::move(executor)),
      read_(std::move(read)),
      capacity_(capacity > 0 ? capacity : 1),
      handler_(std::move(handler)),
      onReadError_(std::move(onReadError)),
      shared_(std::make_shared<Shared>()) {
    thread_ = std::thread([this] { Run(); });
}

ReportReader::~ReportReader() { Stop(); }

void ReportReader::Stop() {
    shared_->cancelled = true;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->stopRequested = true;
    }
    shared_->wake.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void ReportReader::Run() {
    std::vector<std::uint8_t> buffer(capacity_);
    std::uint64_t sequence = 0;
    auto stopping = [this] {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        return shared_->stopRequested;
    };
    while (!stopping()) {
        int n = -1;
        try {
            n = read_(buffer.data(), buffer.size(), kReadTimeoutMs);
        } catch (...) {
            n = -1;
        }
        if (n < 0) {
            // Failed read (the device may be leaving): say so, pause, then try again.
            if (onReadError_ && !stopping()) {
                try {
                    onReadError_();
                } catch (...) {
                }
            }
            std::unique_lock<std::mutex> lock(shared_->mutex);
            shared_->wake.wait_for(lock, std::chrono::milliseconds(kErrorPauseMs),
                                   [this] { return shared_->stopRequested; });
            continue;
        }
        if (n == 0) continue;
        const std::size_t length = std::min(static_cast<std::size_t>(n), buffer.size());

        const std::uint64_t mine = ++sequence;
        auto report =
            std::make_shared<std::vector<std::uint8_t>>(buffer.begin(), buffer.begin() + length);
        std::shared_ptr<Shared> shared = shared_;
        HidDevice::ReportHandler handler = handler_;
        executor_->Post([shared, report, handler, mine] {
            if (!shared->cancelled && handler) handler(report->data(), report->size());
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                shared->handled = mine;
            }
            shared->wake.notify_all();
        });
        std::unique_lock<std::mutex> lock(shared_->mutex);
        shared_->wake.wait(
            lock, [this, mine] { return shared_->stopRequested || shared_->handled >= mine; });
    }
}

}  // namespace karvo

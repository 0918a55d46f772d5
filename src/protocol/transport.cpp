#include "protocol/transport.h"

#include <algorithm>
#include <cstring>

namespace karvo {

int Transport::ReportLength() const {
    try {
        const int n = bound_->OutputReportLength();
        return n > 0 ? n : kFallbackReportLength;
    } catch (...) {
        return kFallbackReportLength;
    }
}

void Transport::Bind(OutputDevice* device) {
    bound_ = device;
    if (bound_ == nullptr) return;
    const auto needed = static_cast<std::size_t>(ReportLength());
    if (needed > buffer_.size()) buffer_.assign(needed, 0);
}

void Transport::SendReport(const std::uint8_t* bytes, std::size_t count) {
    std::fill(buffer_.begin(), buffer_.end(), 0);
    if (!connected_ || bound_ == nullptr) return;
    const std::size_t length = std::min(static_cast<std::size_t>(ReportLength()), buffer_.size());
    buffer_[0] = 1;
    const std::size_t n = std::min(count, length - 1);
    if (n > 0) std::memcpy(buffer_.data() + 1, bytes, n);
    try {
        (void)bound_->WriteReport(buffer_.data(), length);
    } catch (...) {
        // A failed write is noticed through the missing reply or the watchdog.
    }
}

}  // namespace karvo

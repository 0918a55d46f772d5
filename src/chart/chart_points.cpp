#include "chart/chart_points.h"

namespace karvo {

std::size_t ChartPoints::LowerBound(double value) const {
    std::size_t lo = 0;
    std::size_t hi = size_;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (static_cast<double>((*this)[mid].x) < value) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo;
}

std::size_t ChartPoints::UpperBound(double value) const {
    std::size_t lo = 0;
    std::size_t hi = size_;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (!(value < static_cast<double>((*this)[mid].x))) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo;
}

}  // namespace karvo

#include "chart/display_points.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace karvo {

namespace {

bool Drawable(const ChartPoint& p) { return std::isfinite(p.y) && std::isfinite(p.x); }

bool SameWidth(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::fabs(b); }

}  // namespace

std::int64_t DisplayPoints::ColumnOf(double x) const {
    const double k = std::floor(x / width_);
    constexpr double kLimit = 4.0e18;
    return static_cast<std::int64_t>(std::clamp(k, -kLimit, kLimit));
}

void DisplayPoints::Add(const ChartPoints& points, std::size_t index, std::int64_t k) {
    const ChartPoint& p = points[index];
    if (columns_.empty() || columns_.back().k != k) {
        columns_.push_back(Column{k, index, index, index, index, index, 0});
    }
    Column& c = columns_.back();
    if (!Drawable(p)) return;
    if (c.count == 0) {
        c.first = c.low = c.high = index;
    } else {
        if (p.y < points[c.low].y) c.low = index;
        if (p.y > points[c.high].y) c.high = index;
    }
    c.last = index;
    ++c.count;
}

void DisplayPoints::Rebuild(const ChartPoints& points, std::int64_t k0) {
    columns_.clear();
    next_ = points.LowerBound(static_cast<double>(k0) * width_);
    // Points just below the boundary by rounding belong to the column before.
    while (next_ > 0 && ColumnOf(points[next_ - 1].x) >= k0) --next_;
    while (next_ < points.Size() && ColumnOf(points[next_].x) < k0) ++next_;
}

const std::vector<ChartPoint>& DisplayPoints::Update(const ChartPoints& points,
                                                     std::uint64_t generation, double x0, double x1,
                                                     int columns) {
    out_.clear();
    lastScanned_ = 0;
    if (columns <= 0 || !std::isfinite(x0) || !std::isfinite(x1) || !(x1 > x0)) {
        generation_ = ~std::uint64_t{0};
        return out_;
    }
    const double width = (x1 - x0) / columns;
    const bool sameGrid =
        generation == generation_ && SameWidth(width, width_) && next_ <= points.Size();
    if (!sameGrid) width_ = width;
    const std::int64_t k0 = ColumnOf(x0);
    const std::int64_t k1 = std::max(k0, static_cast<std::int64_t>(std::floor(x1 / width_)));

    // The kept columns serve while the range only moves on (scrolling, a growing line);
    // a range that moves back, or jumps past the points not yet looked at, starts afresh.
    const bool reuse = sameGrid && k0 >= firstColumn_ &&
                       (columns_.empty() || columns_.back().k <= k1) &&
                       (next_ >= points.Size() || ColumnOf(points[next_].x) >= k0);
    if (!reuse) Rebuild(points, k0);
    generation_ = generation;
    firstColumn_ = k0;
    while (!columns_.empty() && columns_.front().k < k0) columns_.pop_front();

    // The points not yet in a column, up to the end of the range.
    const std::size_t size = points.Size();
    while (next_ < size) {
        const std::int64_t k = ColumnOf(points[next_].x);
        if (k > k1) break;
        if (k >= k0) Add(points, next_, k);
        ++next_;
        ++lastScanned_;
    }

    // The point before the range, the columns, the point after.
    const std::size_t firstInRange = columns_.empty() ? next_ : columns_.front().begin;
    if (firstInRange > 0 && firstInRange <= size && Drawable(points[firstInRange - 1])) {
        out_.push_back(points[firstInRange - 1]);
    }
    for (const Column& c : columns_) {
        if (c.k > k1) break;
        if (c.count == 0) continue;
        std::size_t picks[4] = {c.first, c.low, c.high, c.last};
        std::sort(picks, picks + 4);
        for (int i = 0; i < 4; ++i) {
            if (i == 0 || picks[i] != picks[i - 1]) out_.push_back(points[picks[i]]);
        }
    }
    if (next_ < size && Drawable(points[next_])) out_.push_back(points[next_]);
    return out_;
}

}  // namespace karvo

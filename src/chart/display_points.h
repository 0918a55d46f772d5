// Which of the stored points the chart draws for the visible time range.
//
// The range is cut into columns one pixel wide, aligned to whole multiples of the column
// width so that they stay put while the window scrolls. Each column keeps its first, lowest,
// highest and last point, which draws the same line at that width as every point would.
// The nearest point outside each end is
// kept too, so the line runs to the edges. Points whose value is not a finite number are
// not drawn.
//
// The columns are kept from one update to the next: while the range keeps its width, an
// update only looks at the points added since the last one and the columns that scrolled
// in, so its cost does not grow with the number of points held or shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "chart/chart_points.h"

namespace karvo {

class DisplayPoints {
  public:
    // The points to draw for [x0, x1] on `columns` pixel columns, in x order. `generation`
    // changes whenever the points were cleared (the sampler's reset count).
    const std::vector<ChartPoint>& Update(const ChartPoints& points, std::uint64_t generation,
                                          double x0, double x1, int columns);

    // How many stored points the last Update looked at (for tests of the incremental path).
    std::size_t LastScanned() const { return lastScanned_; }

  private:
    struct Column {
        std::int64_t k;     // covers [k * width, (k + 1) * width)
        std::size_t begin;  // its first point, drawable or not
        std::size_t first, low, high, last;
        std::size_t count;  // drawable points in it
    };

    void Rebuild(const ChartPoints& points, std::int64_t k0);
    void Add(const ChartPoints& points, std::size_t index, std::int64_t k);
    std::int64_t ColumnOf(double x) const;

    std::deque<Column> columns_;
    std::vector<ChartPoint> out_;
    std::uint64_t generation_ = ~std::uint64_t{0};
    double width_ = 0.0;
    std::int64_t firstColumn_ = 0;  // the first column of the last update
    std::size_t next_ = 0;          // first point not yet put into a column
    std::size_t lastScanned_ = 0;
};

}  // namespace karvo

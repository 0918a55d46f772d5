#include "chart/chart_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "chart/display_points.h"

namespace karvo {
namespace {

ChartPoints Line(std::size_t n, double step, float (*value)(std::size_t)) {
    ChartPoints p;
    for (std::size_t i = 0; i < n; ++i) p.Add(static_cast<float>(i * step), value(i));
    return p;
}

TEST(ChartPointsTest, KeepsEveryPointAcrossChunksAndFindsByX) {
    const std::size_t n = 3 * ChartPoints::kChunkSize + 17;
    ChartPoints p = Line(n, 0.5, [](std::size_t i) { return static_cast<float>(i % 97); });
    ASSERT_EQ(p.Size(), n);
    for (std::size_t i : {std::size_t{0}, ChartPoints::kChunkSize - 1, ChartPoints::kChunkSize,
                          2 * ChartPoints::kChunkSize + 5, n - 1}) {
        EXPECT_FLOAT_EQ(p[i].x, static_cast<float>(i * 0.5)) << i;
        EXPECT_FLOAT_EQ(p[i].y, static_cast<float>(i % 97)) << i;
    }
    EXPECT_EQ(p.LowerBound(-1.0), 0u);
    EXPECT_EQ(p.LowerBound(100.0), 200u);
    EXPECT_EQ(p.UpperBound(100.0), 201u);
    EXPECT_EQ(p.LowerBound(100.25), 201u);
    EXPECT_EQ(p.UpperBound(1e9), n);

    p.Clear();
    EXPECT_TRUE(p.Empty());
    p.Add(1.0f, 2.0f);
    EXPECT_EQ(p.Size(), 1u);
    EXPECT_FLOAT_EQ(p.Back().y, 2.0f);
}

TEST(ChartPointsTest, EqualXValuesAreFoundAsARun) {
    ChartPoints p;
    for (float x : {0.0f, 1.0f, 1.0f, 1.0f, 2.0f}) p.Add(x, 0.0f);
    EXPECT_EQ(p.LowerBound(1.0), 1u);
    EXPECT_EQ(p.UpperBound(1.0), 4u);
}

TEST(DisplayPointsTest, SparsePointsAreAllDrawnWithOneNeighbourOutsideEachEnd) {
    ChartPoints p = Line(100, 0.1, [](std::size_t i) { return static_cast<float>(i); });
    DisplayPoints d;
    const std::vector<ChartPoint>& out = d.Update(p, 0, 2.05, 4.05, 600);
    ASSERT_EQ(out.size(), 22u);  // 2.1 ... 4.0 and one on each side
    EXPECT_FLOAT_EQ(out.front().x, p[20].x);
    EXPECT_FLOAT_EQ(out.back().x, p[41].x);
    EXPECT_EQ(d.Update(p, 0, 0.0, 100.0, 600).size(), 100u);
    EXPECT_TRUE(d.Update(ChartPoints{}, 1, 0.0, 1.0, 600).empty());
    EXPECT_TRUE(d.Update(p, 0, 1.0, 1.0, 600).empty());
}

TEST(DisplayPointsTest, DensePointsKeepEachColumnsExtremesInOrder) {
    // 200 000 points of a sawtooth with one spike over 0 ... 2000 s on 500 columns.
    ChartPoints p = Line(200000, 0.01, [](std::size_t i) {
        return static_cast<float>(i % 37) - 18.0f + (i == 123457 ? 1000.0f : 0.0f);
    });
    DisplayPoints d;
    const std::vector<ChartPoint>& out = d.Update(p, 0, 0.0, 2000.0, 500);
    EXPECT_LE(out.size(), 4u * 501u + 2u);
    EXPECT_GT(out.size(), 1000u);
    float lo = 1e9f, hi = -1e9f;
    for (std::size_t i = 1; i < out.size(); ++i) ASSERT_LE(out[i - 1].x, out[i].x);
    for (const ChartPoint& c : out) {
        lo = std::min(lo, c.y);
        hi = std::max(hi, c.y);
    }
    EXPECT_FLOAT_EQ(lo, -18.0f);
    EXPECT_FLOAT_EQ(hi, static_cast<float>(123457 % 37) - 18.0f + 1000.0f);  // the spike
    EXPECT_FLOAT_EQ(out.front().x, 0.0f);
    EXPECT_FLOAT_EQ(out.back().x, p.Back().x);
}

bool SameShown(const std::vector<ChartPoint>& a, const std::vector<ChartPoint>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
    }
    return true;
}

TEST(DisplayPointsTest, ScrollingUpdatesMatchAFreshPassAndLookOnlyAtNewPoints) {
    // 80 points a second in a 10 s window, refreshed every third point, the way the page
    // draws a running chart: each update equals one made from scratch on the same points.
    ChartPoints p;
    DisplayPoints kept;
    float x = 0.0f;
    std::size_t maxScanned = 0;
    for (int i = 0; i < 6000; ++i) {
        p.Add(x, std::sin(0.01f * static_cast<float>(i)) * 5.0f + static_cast<float>(i % 7));
        const double right = x;
        x = static_cast<float>(static_cast<double>(x) + 0.0125);
        if (i % 3 != 2) continue;
        const double x0 = right > 10.0 ? right - 10.0 : 0.0;
        const double x1 = right > 10.0 ? right : 10.0;
        const std::vector<ChartPoint> incremental = kept.Update(p, 0, x0, x1, 650);
        if (i > 30) maxScanned = std::max(maxScanned, kept.LastScanned());
        DisplayPoints fresh;
        ASSERT_TRUE(SameShown(incremental, fresh.Update(p, 0, x0, x1, 650))) << "point " << i;
    }
    EXPECT_LE(maxScanned, 3u);

    // Panned back, then a reset: still the same as from scratch.
    DisplayPoints fresh;
    EXPECT_TRUE(SameShown(kept.Update(p, 0, 20.0, 30.0, 650), fresh.Update(p, 0, 20.0, 30.0, 650)));
    ChartPoints after;
    after.Add(0.0f, 1.0f);
    after.Add(0.5f, 2.0f);
    EXPECT_EQ(kept.Update(after, 1, 0.0, 10.0, 650).size(), 2u);
}

TEST(DisplayPointsTest, ValuesThatAreNotNumbersAreNotDrawn) {
    ChartPoints p;
    p.Add(0.0f, 1.0f);
    p.Add(0.1f, std::numeric_limits<float>::quiet_NaN());
    p.Add(0.2f, std::numeric_limits<float>::infinity());
    p.Add(0.3f, 2.0f);
    DisplayPoints d;
    const std::vector<ChartPoint>& out = d.Update(p, 0, 0.0, 1.0, 600);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_FLOAT_EQ(out[1].y, 2.0f);
}

}  // namespace
}  // namespace karvo

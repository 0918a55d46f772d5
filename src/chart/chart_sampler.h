// The trend chart's sampler: Start/Pauza, Reset, the two lists and the sample step that
// appends one point per timer tick. It decides the points, the axis ranges and the status
// box; the chart page only draws what it holds.
#pragma once

#include <cstdint>
#include <string>

#include "app/string_table.h"
#include "chart/chart_points.h"

namespace karvo {

struct AxisRange {
    double min = 0.0;
    double max = 0.0;
};

inline bool operator==(const AxisRange& a, const AxisRange& b) {
    return a.min == b.min && a.max == b.max;
}
inline bool operator!=(const AxisRange& a, const AxisRange& b) { return !(a == b); }

struct ChartState {
    bool ChartRunning = false;
    float ChartTime = 0.0f;         // X of the next point, seconds
    std::uint32_t ChartWindow = 0;  // visible time window, seconds; 0 never scrolls
    float ChartMin = 0.0f;          // smallest value charted since the reset, never above 0
    float ChartMax = 0.0f;          // largest value charted since the reset, never below 0
};

class ChartSampler {
  public:
    // The timer's interval before any sampling entry has been applied.
    static constexpr double kInitialInterval = 0.02;
    // ChartStatus before the first Start/Pauza.
    static constexpr const char* kInitialStatus = "NIEAKTYWNY";

    explicit ChartSampler(const StringTable& strings);

    // "Start/Pauza": toggles ChartRunning, connected or not.
    void Btn_ChartStartClick();
    // "Reset": clears the points and the scales; ChartRunning stays as it is.
    void Btn_ChartResetClick();
    // A sampling entry chosen (or applied at start): the timer's interval; the points stay.
    // An index with no entry leaves the interval as it is.
    void ComboB_ChartSamplingChange(int index);
    // A time-window entry chosen (or applied at start): ChartWindow, then a reset.
    // An index with no entry leaves ChartWindow as it is but still resets.
    void Cb_ChartTimeWindowChange(int index);
    // The start-up sequence: the sampling list, then the time-window list.
    void ApplyLists(int samplingIndex, int timeWindowIndex);
    // One tick of the chart timer: the sample step.
    void ChartTimerTimer(bool connected, float value);

    const ChartState& State() const { return state_; }
    // The chart timer's interval in seconds.
    double Interval() const { return interval_; }

    // Whether Series5 is drawn (ChartSeries5); an inactive series does not widen the value
    // axis, but its points are still added.
    bool SeriesActive() const { return seriesActive_; }
    void SetSeriesActive(bool active) { seriesActive_ = active; }

    const ChartPoints& Points() const { return points_; }

    // The axis ranges the sampler last set, and how many times it set each; the chart
    // applies a range when its count moves, so a zoom or pan lasts until the sampler next
    // sets that axis.
    AxisRange BottomAxis() const { return bottom_; }
    AxisRange LeftAxis() const { return left_; }
    std::uint64_t BottomAxisSets() const { return bottomSets_; }
    std::uint64_t LeftAxisSets() const { return leftSets_; }
    // Counts the resets, so a view knows its drawn points are gone.
    std::uint64_t Resets() const { return resets_; }

    // ChartStatus: its text and Windows background colour (colour::Window until first set).
    const std::string& StatusText() const { return statusText_; }
    std::uint32_t StatusColour() const { return statusColour_; }

  private:
    void ShowStatus();
    void SetBottom(double min, double max);
    void SetLeft(double min, double max);

    const StringTable& strings_;
    ChartState state_;
    double interval_ = kInitialInterval;
    bool seriesActive_ = true;
    ChartPoints points_;
    AxisRange bottom_{0.0, 1.0};
    AxisRange left_{-1.0, 1.0};
    std::uint64_t bottomSets_ = 0;
    std::uint64_t leftSets_ = 0;
    std::uint64_t resets_ = 0;
    std::string statusText_ = kInitialStatus;
    std::uint32_t statusColour_;
};

}  // namespace karvo

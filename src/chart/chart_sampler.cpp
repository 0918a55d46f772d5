#include "chart/chart_sampler.h"

#include <cmath>

#include "chart/chart_lists.h"
#include "protocol/device_link.h"

namespace karvo {

ChartSampler::ChartSampler(const StringTable& strings)
    : strings_(strings), statusColour_(colour::Window) {}

void ChartSampler::ShowStatus() {
    // StatusIndicator(ChartStatus, IDS_101, ChartRunning, IDS_102), texts looked up now.
    if (state_.ChartRunning) {
        statusText_ = strings_("IDS_101");
        statusColour_ = colour::LightGreen;
    } else {
        statusText_ = strings_("IDS_102");
        statusColour_ = colour::LightRed;
    }
}

void ChartSampler::SetBottom(double min, double max) {
    bottom_ = {min, max};
    ++bottomSets_;
}

void ChartSampler::SetLeft(double min, double max) {
    left_ = {min, max};
    ++leftSets_;
}

void ChartSampler::Btn_ChartStartClick() {
    state_.ChartRunning = !state_.ChartRunning;
    ShowStatus();
}

void ChartSampler::Btn_ChartResetClick() {
    SetBottom(0.0, state_.ChartWindow == 0 ? 1.0 : static_cast<double>(state_.ChartWindow));
    state_.ChartMax = 0.0f;
    state_.ChartMin = 0.0f;
    SetLeft(-1.0, 1.0);
    state_.ChartTime = 0.0f;
    points_.Clear();
    ++resets_;
}

void ChartSampler::ComboB_ChartSamplingChange(int index) {
    if (const auto interval = SamplingInterval(index)) interval_ = *interval;
}

void ChartSampler::Cb_ChartTimeWindowChange(int index) {
    if (const auto window = TimeWindowSeconds(index)) state_.ChartWindow = *window;
    Btn_ChartResetClick();
}

void ChartSampler::ApplyLists(int samplingIndex, int timeWindowIndex) {
    ComboB_ChartSamplingChange(samplingIndex);
    Cb_ChartTimeWindowChange(timeWindowIndex);
}

void ChartSampler::ChartTimerTimer(bool connected, float value) {
    if (!state_.ChartRunning) return;
    if (!connected) {
        state_.ChartRunning = false;
        ShowStatus();
        return;
    }
    const float x = state_.ChartTime;
    points_.Add(x, value);
    if (state_.ChartWindow != 0 && static_cast<double>(x) > state_.ChartWindow) {
        SetBottom(static_cast<double>(x) - state_.ChartWindow, static_cast<double>(x));
    }
    state_.ChartTime = static_cast<float>(static_cast<double>(state_.ChartTime) + interval_);
    // A value that is not a finite number (a corrupt reading) is kept as a point but never
    // widens the value axis.
    if (seriesActive_ && std::isfinite(value)) {
        if (value < state_.ChartMin) state_.ChartMin = value;
        if (value > state_.ChartMax) state_.ChartMax = value;
    }
    SetLeft(static_cast<double>(state_.ChartMin) - 1.0, static_cast<double>(state_.ChartMax) + 1.0);
}

}  // namespace karvo

#include "chart/chart_sampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "chart/chart_lists.h"
#include "protocol/device_link.h"

namespace karvo {
namespace {

constexpr int kTenPerSecond = 1;
constexpr int kEightyPerSecond = 0;
constexpr int kTenSeconds = 1;
constexpr int kOneSecond = 0;

class ChartSamplerTest : public ::testing::Test {
  protected:
    StringTable strings;
    ChartSampler sampler{strings};

    void Run(int steps, float value, bool connected = true) {
        for (int i = 0; i < steps; ++i) sampler.ChartTimerTimer(connected, value);
    }
};

TEST_F(ChartSamplerTest, StartsIdleWithTheDesignedStatus) {
    EXPECT_FALSE(sampler.State().ChartRunning);
    EXPECT_EQ(sampler.StatusText(), "NIEAKTYWNY");
    EXPECT_EQ(sampler.StatusColour(), colour::Window);
    EXPECT_DOUBLE_EQ(sampler.Interval(), 0.02);
    Run(5, 3.0f);  // paused: the ticks add nothing
    EXPECT_TRUE(sampler.Points().Empty());
    EXPECT_EQ(sampler.LeftAxisSets(), 0u);
}

TEST_F(ChartSamplerTest, StartWhileNotConnectedPausesOnTheNextTick) {
    sampler.ApplyLists(2, kTenSeconds);
    sampler.Btn_ChartStartClick();
    EXPECT_TRUE(sampler.State().ChartRunning);
    EXPECT_EQ(sampler.StatusText(), "AKTYWNY");
    EXPECT_EQ(sampler.StatusColour(), colour::LightGreen);

    sampler.ChartTimerTimer(false, 4.0f);
    EXPECT_FALSE(sampler.State().ChartRunning);
    EXPECT_EQ(sampler.StatusText(), "NIEKATYWNY");
    EXPECT_EQ(sampler.StatusColour(), colour::LightRed);
    EXPECT_TRUE(sampler.Points().Empty());
    EXPECT_FLOAT_EQ(sampler.State().ChartTime, 0.0f);
}

TEST_F(ChartSamplerTest, StatusTextsFollowTheLanguageAtEachUse) {
    sampler.Btn_ChartStartClick();
    EXPECT_EQ(sampler.StatusText(), "AKTYWNY");
    strings.SetLanguage(StringTable::kEnglish);
    EXPECT_EQ(sampler.StatusText(), "AKTYWNY");  // the box keeps what it was given
    sampler.Btn_ChartStartClick();
    EXPECT_EQ(sampler.StatusText(), "INACTIVE");
    sampler.Btn_ChartStartClick();
    EXPECT_EQ(sampler.StatusText(), "ACTIVE");
}

TEST_F(ChartSamplerTest, LinkLostWhileRunningKeepsTheLineAndContinuesWithoutAGap) {
    sampler.ApplyLists(kTenPerSecond, kTenSeconds);
    sampler.Btn_ChartStartClick();
    Run(5, 2.0f);
    ASSERT_EQ(sampler.Points().Size(), 5u);

    sampler.ChartTimerTimer(false, 2.0f);
    EXPECT_FALSE(sampler.State().ChartRunning);
    EXPECT_EQ(sampler.StatusText(), "NIEKATYWNY");
    EXPECT_EQ(sampler.Points().Size(), 5u);

    sampler.Btn_ChartStartClick();
    Run(1, 3.0f);
    ASSERT_EQ(sampler.Points().Size(), 6u);
    EXPECT_NEAR(sampler.Points()[5].x - sampler.Points()[4].x, 0.1, 1e-5);
    EXPECT_NEAR(sampler.Points()[5].x, 0.5, 1e-5);
}

TEST_F(ChartSamplerTest, TenSecondWindowAtTenPerSecondScrollsJustAboveTen) {
    sampler.ApplyLists(kTenPerSecond, kTenSeconds);
    EXPECT_EQ(sampler.BottomAxis(), (AxisRange{0.0, 10.0}));
    sampler.Btn_ChartStartClick();

    std::size_t firstScrolled = 0;
    for (std::size_t i = 0; i < 120; ++i) {
        sampler.ChartTimerTimer(true, 1.0f);
        const double x = sampler.Points().Back().x;
        EXPECT_NEAR(x, 0.1 * static_cast<double>(i), 1e-4);
        if (x <= 10.0) {
            ASSERT_EQ(sampler.BottomAxis(), (AxisRange{0.0, 10.0})) << "point " << i;
        } else {
            if (firstScrolled == 0) firstScrolled = i;
            ASSERT_EQ(sampler.BottomAxis(), (AxisRange{x - 10.0, x})) << "point " << i;
        }
    }
    // The 101st point lies a hair above 10 (the float sum of a hundred 0.1 steps).
    EXPECT_EQ(firstScrolled, 100u);
}

struct AxisCase {
    const char* name;
    std::vector<float> values;
    bool active;
    AxisRange left;
};

TEST_F(ChartSamplerTest, ValueAxisIncludesZeroAndFollowsOnlyAnActiveSeries) {
    const AxisCase cases[] = {
        {"positive", {5.0f, 7.0f, 6.0f}, true, {-1.0, 8.0}},
        {"negative", {-5.0f, -7.0f, -6.0f}, true, {-8.0, 1.0}},
        {"both signs", {-2.5f, 4.0f}, true, {-3.5, 5.0}},
        {"inactive", {5.0f, -7.0f}, false, {-1.0, 1.0}},
    };
    for (const AxisCase& c : cases) {
        SCOPED_TRACE(c.name);
        ChartSampler s{strings};
        s.SetSeriesActive(c.active);
        s.ApplyLists(kTenPerSecond, kOneSecond);
        s.Btn_ChartStartClick();
        for (int round = 0; round < 10; ++round) {
            for (float v : c.values) s.ChartTimerTimer(true, v);
        }
        EXPECT_EQ(s.LeftAxis(), c.left);
        // Points are added and the time axis scrolls whether or not the series is drawn.
        EXPECT_EQ(s.Points().Size(), 10 * c.values.size());
        const double x = s.Points().Back().x;
        EXPECT_EQ(s.BottomAxis(), (AxisRange{x - 1.0, x}));
    }
}

TEST_F(ChartSamplerTest, ValuesThatAreNotNumbersNeverWidenTheValueAxis) {
    sampler.ApplyLists(kTenPerSecond, kTenSeconds);
    sampler.Btn_ChartStartClick();
    Run(1, 3.0f);
    Run(1, std::numeric_limits<float>::infinity());
    Run(1, -std::numeric_limits<float>::infinity());
    Run(1, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(sampler.Points().Size(), 4u);
    EXPECT_EQ(sampler.LeftAxis(), (AxisRange{-1.0, 4.0}));
}

TEST_F(ChartSamplerTest, TimeWindowChangeWhileRunningStartsAgainWithoutPausing) {
    sampler.ApplyLists(kTenPerSecond, kTenSeconds);
    sampler.Btn_ChartStartClick();
    Run(150, 9.0f);

    sampler.Cb_ChartTimeWindowChange(kOneSecond);
    EXPECT_TRUE(sampler.State().ChartRunning);
    EXPECT_EQ(sampler.StatusText(), "AKTYWNY");
    EXPECT_TRUE(sampler.Points().Empty());
    EXPECT_EQ(sampler.State().ChartWindow, 1u);
    EXPECT_FLOAT_EQ(sampler.State().ChartTime, 0.0f);
    EXPECT_EQ(sampler.BottomAxis(), (AxisRange{0.0, 1.0}));
    EXPECT_EQ(sampler.LeftAxis(), (AxisRange{-1.0, 1.0}));
    EXPECT_FLOAT_EQ(sampler.State().ChartMax, 0.0f);

    Run(1, 2.0f);
    EXPECT_FLOAT_EQ(sampler.Points()[0].x, 0.0f);
    EXPECT_EQ(sampler.LeftAxis(), (AxisRange{-1.0, 3.0}));
}

TEST_F(ChartSamplerTest, ResetKeepsTheRunningState) {
    for (bool running : {false, true}) {
        ChartSampler s{strings};
        s.ApplyLists(kTenPerSecond, kTenSeconds);
        if (running) s.Btn_ChartStartClick();
        s.ChartTimerTimer(true, 1.0f);
        const std::uint64_t resets = s.Resets();
        s.Btn_ChartResetClick();
        EXPECT_EQ(s.State().ChartRunning, running);
        EXPECT_TRUE(s.Points().Empty());
        EXPECT_EQ(s.Resets(), resets + 1);
    }
}

TEST_F(ChartSamplerTest, SamplingChangeKeepsThePointsAndChangesTheSpacing) {
    sampler.ApplyLists(kTenPerSecond, kTenSeconds);
    sampler.Btn_ChartStartClick();
    Run(3, 1.0f);
    const float time = sampler.State().ChartTime;
    const AxisRange bottom = sampler.BottomAxis();

    sampler.ComboB_ChartSamplingChange(kEightyPerSecond);
    EXPECT_EQ(sampler.Points().Size(), 3u);
    EXPECT_FLOAT_EQ(sampler.State().ChartTime, time);
    EXPECT_EQ(sampler.BottomAxis(), bottom);
    EXPECT_DOUBLE_EQ(sampler.Interval(), 0.0125);

    Run(2, 1.0f);
    ASSERT_EQ(sampler.Points().Size(), 5u);
    EXPECT_NEAR(sampler.Points()[3].x, 0.3, 1e-5);
    EXPECT_NEAR(sampler.Points()[4].x - sampler.Points()[3].x, 0.0125, 1e-5);
}

TEST_F(ChartSamplerTest, ListsWithoutSelectionKeepTheirValues) {
    // At start-up: interval 0.02 s, window 0: the time axis is 0 ... 1 and never scrolls.
    sampler.ApplyLists(-1, 7);
    EXPECT_DOUBLE_EQ(sampler.Interval(), 0.02);
    EXPECT_EQ(sampler.State().ChartWindow, 0u);
    EXPECT_EQ(sampler.BottomAxis(), (AxisRange{0.0, 1.0}));
    const std::uint64_t sets = sampler.BottomAxisSets();
    sampler.Btn_ChartStartClick();
    Run(200, 1.0f);  // up to X = 3.98
    EXPECT_GT(sampler.State().ChartTime, 3.9f);
    EXPECT_EQ(sampler.BottomAxisSets(), sets);
    EXPECT_EQ(sampler.BottomAxis(), (AxisRange{0.0, 1.0}));

    // After a selection, no selection keeps the last values; the window change still resets.
    sampler.ApplyLists(3, 2);
    sampler.ApplyLists(6, -1);
    EXPECT_DOUBLE_EQ(sampler.Interval(), 60.0);
    EXPECT_EQ(sampler.State().ChartWindow, 60u);
    EXPECT_TRUE(sampler.Points().Empty());
    EXPECT_EQ(sampler.BottomAxis(), (AxisRange{0.0, 60.0}));
}

TEST(ChartListsTest, EntriesAndTheirValues) {
    const double intervals[] = {0.0125, 0.1, 1.0, 60.0, 6.0, 360.0};  // "1/min." is 60 s
    for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(*SamplingInterval(i), intervals[i]) << i;
    const std::uint32_t windows[] = {1, 10, 60, 300, 600, 1800, 3600};  // "1 h." is 3600 s
    for (int i = 0; i < 7; ++i) EXPECT_EQ(*TimeWindowSeconds(i), windows[i]) << i;
    EXPECT_FALSE(SamplingInterval(6));
    EXPECT_FALSE(SamplingInterval(-1));
    EXPECT_FALSE(TimeWindowSeconds(7));
    EXPECT_STREQ(kSamplingEntries[3].text, "1/min.");
    EXPECT_STREQ(kTimeWindowEntries[6].text, "1 h.");
}

}  // namespace
}  // namespace karvo

// Cost of an added chart point on the chart page, drawing included, while the page holds
// 10^3, 10^5 and 10^6 points: each iteration adds 4096 points at 80/s and brings the drawn
// chart up to date every third point (the page's 40 ms refresh at 80 points a second),
// letting the shown page repaint each time. The second argument is the time window.
// The cost follows the number of drawn points (at most four per pixel column, so bounded by
// the chart's width), not the number held: with "10 sek." the window is always full and the
// three sizes cost the same; with "1 h." the line fills 0.3 %, 35 % and all of the window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <cstdint>

#include "app/dialogs.h"
#include "app/string_table.h"
#include "chart/chart_page.h"
#include "protocol/device_link.h"

namespace {

class NullView : public karvo::LinkView {
  public:
    void SetConnectionText(const std::string&) override {}
    void SetConnectionColour(std::uint32_t) override {}
    void SetStatusLine(const std::string&) override {}
    void ShowSettings(const karvo::TDeviceSettingsRecord&) override {}
    void UpdateUnitLabels() override {}
    int MessageBox(const std::string&, const std::string&, int) override { return 1; }
    int ActivePageIndex() const override { return 1; }
};

class NullDialogs : public karvo::Dialogs {
  public:
    int MessageBox(const std::string&, const std::string&, int) override { return 1; }
    std::optional<std::string> OpenFileName(const karvo::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const karvo::FileDialogRequest&) override {
        return std::nullopt;
    }
};

float Value(std::int64_t i) { return static_cast<float>((i * 7) % 1000) * 0.01f - 3.0f; }

void BM_PageAddPoint(benchmark::State& state) {
    const std::int64_t held = state.range(0);
    const int window = static_cast<int>(state.range(1));
    constexpr std::int64_t kBatch = 4096;
    NullView view;
    karvo::StringTable strings;
    karvo::DeviceLink link{view, strings};
    NullDialogs dialogs;
    karvo::ChartPage page{link, strings, dialogs};
    page.findChild<QTimer*>(QStringLiteral("ChartTimer"))->stop();  // ticks come from here
    page.resize(665, 380);
    page.show();
    QApplication::processEvents();
    page.SetSamplingIndex(0);  // 80/sek.
    page.SetTimeWindowIndex(window);
    page.ComboB_ChartSamplingChange();
    page.Cb_ChartTimeWindowChange();
    page.Btn_ChartStartClick();
    link.State().Connected = true;

    for (auto _ : state) {
        state.PauseTiming();
        page.Btn_ChartResetClick();
        for (std::int64_t i = 0; i < held; ++i) {
            link.State().Measurement.Value = Value(i);
            page.ChartTimerTimer();
        }
        page.RefreshChart();
        QApplication::processEvents();
        state.ResumeTiming();
        for (std::int64_t i = 0; i < kBatch; ++i) {
            link.State().Measurement.Value = Value(held + i);
            page.ChartTimerTimer();
            if (i % 3 == 2) {
                page.RefreshChart();
                QApplication::processEvents();
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.counters["per_point"] = benchmark::Counter(
        static_cast<double>(kBatch),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

// Windows: 1 = "10 sek.", 6 = "1 h.".
BENCHMARK(BM_PageAddPoint)
    ->ArgsProduct({{1000, 100000, 1000000}, {1, 6}})
    ->Iterations(10)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

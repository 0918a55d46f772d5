// The per-report and per-tick costs of the readout path:
//  - BM_DispatchMeasurement: ReportDispatcher on one measurement reply (target <= 1 us);
//  - BM_ReadoutTickCore: one DisplayData tick's decision, ReadoutRefresh::Tick;
//  - BM_ReadoutTickPage: one DisplayDataTimer of the shown measurement page, the widget
//    updates included; with /paint the repaint it causes as well (target <= 0.3 ms).
// The record is an ordinary one, one of float maxima, or one of denormals (argument 0/1/2).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>

#include "app/shared_state.h"
#include "app/string_table.h"
#include "protocol/commands.h"
#include "protocol/device_link.h"
#include "protocol/records.h"
#include "readout/readout_refresh.h"

#ifdef KARVO_BENCH_WIDGETS
#include <QApplication>

#include "readout/readout_page.h"
#endif

namespace {

class NullView : public karvo::LinkView {
  public:
    void SetConnectionText(const std::string&) override {}
    void SetConnectionColour(std::uint32_t) override {}
    void SetStatusLine(const std::string&) override {}
    void ShowSettings(const karvo::TDeviceSettingsRecord&) override {}
    void UpdateUnitLabels() override {}
    int MessageBox(const std::string&, const std::string&, int) override { return 1; }
    int ActivePageIndex() const override { return 0; }
};

// Record kinds: 0 ordinary, 1 float maxima, 2 denormals.
karvo::TMeasurementRecord Record(int kind, std::int64_t i) {
    karvo::TMeasurementRecord m;
    float v;
    switch (kind) {
        case 1:
            v = (i & 1) ? std::numeric_limits<float>::max() : -std::numeric_limits<float>::max();
            break;
        case 2:
            v = std::numeric_limits<float>::denorm_min() * static_cast<float>(1 + (i & 7));
            break;
        default:
            v = 123.456f + static_cast<float>(i % 100) * 0.01f;
            break;
    }
    m.AdcRaw = static_cast<std::int16_t>(kind == 1 ? 32767 : i % 30000);
    m.LoadN = m.Value = m.MinValue = m.MaxValue = m.Spare = v;
    m.AnalogOutput = kind == 0 ? 4.5f : v;
    m.SignalmV = m.CalibSignal = v;
    m.StatusFlags = static_cast<std::uint8_t>(i & 1);
    return m;
}

struct Rig {
    NullView view;
    karvo::StringTable strings;
    karvo::DeviceLink link{view, strings};
    karvo::SharedDisplayState shared;
    Rig() {
        link.State().Connected = true;  // nothing bound: commands go nowhere
        link.State().Settings = karvo::TDeviceSettingsRecord{};
        link.State().Settings.TRange = 1000;
        shared.UnitSuffix = " N";
        shared.OutputUnitSuffix = " V";
        shared.Decimals = 2;
    }
};

void BM_DispatchMeasurement(benchmark::State& state) {
    Rig rig;
    std::uint8_t reply[64] = {karvo::CmdReadMeasurement};
    Record(static_cast<int>(state.range(0)), 7).Encode(reply + 1);
    for (auto _ : state) {
        rig.link.ReportDispatcher(reply, sizeof reply);
        benchmark::DoNotOptimize(rig.link.State().Measurement);
    }
}
BENCHMARK(BM_DispatchMeasurement)->DenseRange(0, 2)->Unit(benchmark::kNanosecond);

void BM_ReadoutTickCore(benchmark::State& state) {
    Rig rig;
    karvo::ReadoutRefresh refresh;
    const int kind = static_cast<int>(state.range(0));
    std::int64_t i = 0;
    for (auto _ : state) {
        rig.link.State().Measurement = Record(kind, ++i);
        rig.link.State().MeasurementStatusPending = true;
        auto frame = refresh.Tick(rig.link.State(), rig.shared, rig.link.Locale());
        benchmark::DoNotOptimize(frame);
    }
}
BENCHMARK(BM_ReadoutTickCore)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

#ifdef KARVO_BENCH_WIDGETS
void BM_ReadoutTickPage(benchmark::State& state) {
    Rig rig;
    const int kind = static_cast<int>(state.range(0));
    const bool paint = state.range(1) != 0;
    QString status;
    karvo::ReadoutPage page(
        rig.link, rig.shared, [&](const std::string& s) { status = QString::fromStdString(s); },
        nullptr);
    page.resize(665, 420);
    page.show();
    QApplication::processEvents();
    std::int64_t i = 0;
    for (auto _ : state) {
        rig.link.State().Measurement = Record(kind, ++i);
        rig.link.State().MeasurementStatusPending = true;
        page.DisplayDataTimer();
        if (paint) QApplication::processEvents();
    }
}
BENCHMARK(BM_ReadoutTickPage)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"record", "paint"})
    ->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef KARVO_BENCH_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Cost of an added chart point while the sampler holds 10^3, 10^5 and 10^6 points.
//
// BM_AddPoint: the sampler already holds N points; the timed part adds one chunk's worth
//   (4096) more, so each batch pays exactly one chunk allocation: the steady cost per point.
// BM_FillFromEmpty: a new sampler filled to N points, all of it timed: the cost per point
//   including every allocation and the first touch of fresh memory on the way.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "app/string_table.h"
#include "chart/chart_points.h"
#include "chart/chart_sampler.h"

namespace {

using karvo::ChartSampler;

constexpr int kEightyPerSecond = 0;
constexpr int kOneHour = 6;

float Value(std::int64_t i) { return static_cast<float>((i * 7) % 1000) * 0.01f - 3.0f; }

void Prepare(ChartSampler& s) {
    s.ApplyLists(kEightyPerSecond, kOneHour);
    if (!s.State().ChartRunning) s.Btn_ChartStartClick();
}

void Fill(ChartSampler& s, std::int64_t n) {
    for (std::int64_t i = 0; i < n; ++i) s.ChartTimerTimer(true, Value(i));
}

void BM_AddPoint(benchmark::State& state) {
    const std::int64_t held = state.range(0);
    constexpr std::int64_t kBatch = karvo::ChartPoints::kChunkSize;
    karvo::StringTable strings;
    ChartSampler s{strings};
    for (auto _ : state) {
        state.PauseTiming();
        Prepare(s);  // the time-window change resets
        Fill(s, held);
        state.ResumeTiming();
        for (std::int64_t i = 0; i < kBatch; ++i) s.ChartTimerTimer(true, Value(held + i));
        benchmark::DoNotOptimize(s.Points().Back());
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.counters["per_point"] = benchmark::Counter(
        static_cast<double>(kBatch),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FillFromEmpty(benchmark::State& state) {
    const std::int64_t n = state.range(0);
    karvo::StringTable strings;
    for (auto _ : state) {
        ChartSampler s{strings};
        Prepare(s);
        Fill(s, n);
        benchmark::DoNotOptimize(s.Points().Back());
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["per_point"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_AddPoint)->Arg(1000)->Arg(100000)->Arg(1000000)->Iterations(300);
BENCHMARK(BM_FillFromEmpty)->Arg(1000)->Arg(100000)->Arg(1000000);

BENCHMARK_MAIN();

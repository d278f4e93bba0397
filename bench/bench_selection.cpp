// Speed of the selection at the main window's flows and inlets (jacket
// 7 m3/h at 80 °C, coil 1 m3/h at 20 °C; the capacity limit is 69.43 kW),
// at the window's default counts (10 x 10) and over the whole field range
// (150 x 150), each search beside the plain scan that it must equal:
//   reach     40 kW, listed by most arrangements
//   near      69 kW, near the capacity limit: many counts in series
//   beyond    80 kW, more than any exchanger transfers
//   edge      69.44 kW, a hair (0.01 %) above the capacity limit: every
//             arrangement near the limit must be shown not to reach it,
//             the duty ceiling's hardest case
//   pressure  40 kW with both drops limited to 1 Pa: nothing listed, the
//             fewest units that reach the duty still wanted for the sentence
#include "selection/select.h"

#include <benchmark/benchmark.h>

namespace {

enum Case { Reach, Near, Beyond, Edge, Pressure };

selection::Request request(int counts, Case c)
{
    selection::Request r; // the window's flows and inlets
    r.maxSeries = r.maxParallel = counts;
    r.dutyKW = c == Near ? 69 : c == Beyond ? 80 : c == Edge ? 69.44 : 40;
    if (c == Pressure) r.maxDpJacketKPa = r.maxDpCoilKPa = 0.001;
    return r;
}

void Selection(benchmark::State &state, selection::Result (*f)(const selection::Request &), int counts, Case c)
{
    const selection::Request r = request(counts, c);
    std::size_t entries = 0;
    for (auto _ : state) {
        const selection::Result res = f(r);
        entries = res.entries.size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = static_cast<double>(entries);
}

#define CASES(name, f)                                                                                         \
    BENCHMARK_CAPTURE(Selection, name##_reach_10x10, f, 10, Reach)->Unit(benchmark::kMillisecond);                   \
    BENCHMARK_CAPTURE(Selection, name##_near_10x10, f, 10, Near)->Unit(benchmark::kMillisecond);                     \
    BENCHMARK_CAPTURE(Selection, name##_beyond_10x10, f, 10, Beyond)->Unit(benchmark::kMillisecond);                 \
    BENCHMARK_CAPTURE(Selection, name##_edge_10x10, f, 10, Edge)->Unit(benchmark::kMillisecond);                     \
    BENCHMARK_CAPTURE(Selection, name##_pressure_10x10, f, 10, Pressure)->Unit(benchmark::kMillisecond);             \
    BENCHMARK_CAPTURE(Selection, name##_reach_150x150, f, 150, Reach)->Unit(benchmark::kMillisecond);                \
    BENCHMARK_CAPTURE(Selection, name##_near_150x150, f, 150, Near)->Unit(benchmark::kMillisecond);                  \
    BENCHMARK_CAPTURE(Selection, name##_beyond_150x150, f, 150, Beyond)->Unit(benchmark::kMillisecond);              \
    BENCHMARK_CAPTURE(Selection, name##_edge_150x150, f, 150, Edge)->Unit(benchmark::kMillisecond);                  \
    BENCHMARK_CAPTURE(Selection, name##_pressure_150x150, f, 150, Pressure)->Unit(benchmark::kMillisecond)

CASES(select, selection::select);
CASES(scan, selection::selectByScan);

} // namespace

BENCHMARK_MAIN();

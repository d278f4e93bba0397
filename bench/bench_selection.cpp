// Speed of the selection at the main window's flows and inlets (jacket
// 7 m3/h at 80 °C, coil 1 m3/h at 20 °C; the capacity limit is 69.43 kW),
// at the window's default counts (10 x 10) and over the whole field range
// (150 x 150), each search beside the plain scan that it must equal:
//   reach     40 kW, listed by most arrangements
//   near      69 kW, near the capacity limit: many counts in series
//   beyond    80 kW, more than any exchanger transfers
//   pressure  40 kW with both drops limited to 1 Pa: nothing listed, the
//             fewest units that reach the duty still wanted for the sentence
#include "selection/select.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

enum Case { Reach, Near, Beyond, Pressure };

selection::Request request(int counts, Case c)
{
    selection::Request r; // the window's flows and inlets
    r.maxSeries = r.maxParallel = counts;
    r.dutyKW = c == Near ? 69 : c == Beyond ? 80 : 40;
    if (c == Pressure) r.maxDpJacketKPa = r.maxDpCoilKPa = 0.001;
    return r;
}

template <selection::Result (*F)(const selection::Request &)> void run(benchmark::State &state)
{
    const selection::Request r = request(static_cast<int>(state.range(0)), static_cast<Case>(state.range(1)));
    std::size_t entries = 0;
    for (auto _ : state) {
        const selection::Result res = F(r);
        entries = res.entries.size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = static_cast<double>(entries);
}

void cases(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"counts", "case"});
    for (int counts : {10, 150})
        for (int c : {Reach, Near, Beyond, Pressure}) b->Args({counts, c});
    b->Unit(benchmark::kMillisecond);
}

void Select(benchmark::State &state) { run<selection::select>(state); }
void Scan(benchmark::State &state) { run<selection::selectByScan>(state); }
BENCHMARK(Select)->Apply(cases);
BENCHMARK(Scan)->Apply(cases);

} // namespace

BENCHMARK_MAIN();

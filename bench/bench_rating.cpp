// Speed of the rating at the main window's defaults: the iteration alone,
// and a whole calculation run with its twelve result texts.
#include "rating/model.h"
#include "tests/rating/fixture.h"

#include <benchmark/benchmark.h>

namespace {

rating::Model defaults()
{
    rating::Model m = defaultModel();
    m.Vk = 7.0 / 3600;
    m.Vs = 1.0 / 3600;
    return m;
}

void Kozelites(benchmark::State &state)
{
    rating::Model m = defaults();
    for (auto _ : state) {
        m.Kozelites();
        benchmark::DoNotOptimize(m.Q);
    }
}
BENCHMARK(Kozelites);

void Szamitas(benchmark::State &state)
{
    rating::Model m = defaults();
    for (auto _ : state) {
        m.Szamitas();
        benchmark::DoNotOptimize(m.LbHoatbocsT.data());
    }
}
BENCHMARK(Szamitas);

void FixedText(benchmark::State &state)
{
    double x = 46.370871711203625;
    for (auto _ : state) {
        auto s = rating::FixedText(x, 2, ".");
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(FixedText);

} // namespace

BENCHMARK_MAIN();

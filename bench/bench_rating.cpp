// Speed of the rating at the main window's defaults: the iteration alone,
// and a whole calculation run with its twelve result texts, each beside its
// floor: the iteration beside the extended-precision exponentials and
// logarithms it cannot do without, the run beside its iteration and
// pressure drops without the texts.
#include "rating/model.h"
#include "tests/rating/fixture.h"

#include <benchmark/benchmark.h>

#include <cmath>

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

// What the four passes of the default rating must compute in any case: per
// pass two exponentials (the effectivenesses) and a logarithm (the mean
// temperature difference), and once per rating the two velocity powers
// (a logarithm and an exponential each).
void KozelitesFloor(benchmark::State &state)
{
    volatile long double a = 0.42L, b = 1.7L, c = 2.9L;
    for (auto _ : state) {
        long double sum = 0;
        for (int pass = 0; pass < 4; ++pass) sum += expl(-a) + expl(-b) + logl(c);
        sum += expl(0.733L * logl(b)) + expl(0.733L * logl(c));
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(KozelitesFloor);

void Szamitas(benchmark::State &state)
{
    rating::Model m = defaults();
    for (auto _ : state) {
        m.Szamitas();
        benchmark::DoNotOptimize(m.LbHoatbocsT.data());
    }
}
BENCHMARK(Szamitas);

// The run without its texts: the iteration and both pressure drops.
void SzamitasFloor(benchmark::State &state)
{
    rating::Model m = defaults();
    for (auto _ : state) {
        m.Delta_pk_szamit();
        m.Delta_ps_szamit();
        m.Kozelites();
        benchmark::DoNotOptimize(m.Q);
    }
}
BENCHMARK(SzamitasFloor);

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

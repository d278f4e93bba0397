// Speed of projects: opening a file of 1000 cases from its bytes (parse,
// check, rate every case, compare the stored results) and saving it (rate
// every case, write the text), each beside the rating of the 1000 cases
// alone; and saving a project of one case, the autosave's work before the
// disk.
#include "project/project.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// 1000 cases spread over the types, counts, units, flows and inlets, a few
// of them not rated (no flow), with names and details as a user types them.
project::Project thousand()
{
    project::Project p;
    p.details.name = "Boiler house B, hot water";
    p.details.customer = "Thermo Kft.";
    p.details.notes = "Boiler water 80 \u00B0C, 7 m3/h.\nCoil side 1 m3/h from 20 \u00B0C.";
    std::uint32_t seed = 12345;
    auto next = [&](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < project::maxCases; ++i) {
        project::Case c;
        c.name = "alternative " + std::to_string(i + 1);
        rating::Case &in = c.inputs;
        in.Tipus = static_cast<int>(next(rating::TipusCount));
        in.Soros = 1 + static_cast<int>(next(4));
        in.Parh = 1 + static_cast<int>(next(3));
        in.CbMVkIndex = static_cast<int>(next(2));
        in.CbMVsIndex = static_cast<int>(next(2));
        in.MVk = (in.CbMVkIndex == 1 ? 0.5 : 10) + next(1000) / 100.0;
        in.MVs = i % 20 == 7 ? 0 : (in.CbMVsIndex == 1 ? 0.5 : 10) + next(500) / 100.0;
        in.tkb = 60 + next(3000) / 100.0;
        in.tsb = 5 + next(3000) / 100.0;
        p.cases.push_back(std::move(c));
    }
    return p;
}

void OpenThousand(benchmark::State &state)
{
    const std::string bytes = project::write(thousand()).value();
    for (auto _ : state) {
        const auto opened = project::open(bytes, "bench.ventrano");
        benchmark::DoNotOptimize(opened.ok());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(OpenThousand)->Unit(benchmark::kMillisecond);

void SaveThousand(benchmark::State &state)
{
    const project::Project p = thousand();
    for (auto _ : state) {
        const auto text = project::write(p);
        benchmark::DoNotOptimize(text.value().data());
    }
}
BENCHMARK(SaveThousand)->Unit(benchmark::kMillisecond);

void RateThousand(benchmark::State &state)
{
    const project::Project p = thousand();
    for (auto _ : state) {
        const auto outcomes = project::rate(p);
        benchmark::DoNotOptimize(outcomes.data());
    }
}
BENCHMARK(RateThousand)->Unit(benchmark::kMillisecond);

void SaveOne(benchmark::State &state)
{
    project::Project p = thousand();
    p.cases.resize(1);
    for (auto _ : state) {
        const auto text = project::write(p);
        benchmark::DoNotOptimize(text.value().data());
    }
}
BENCHMARK(SaveOne)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

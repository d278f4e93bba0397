// Speed of the design engine at the main window's installation (VT/R-0,
// one unit, jacket 7 m3/h at 80 °C, coil 1 m3/h at 20 °C):
//   Balance   the energy balance from three of the five, each way of
//             deriving: a duty and an outlet (one solve), two outlets from
//             a duty (two solves), a flow from two outlets
//   Reach     one input brought to a result's target, for several pairs;
//             "beyond" is a target out of reach (the range over the field
//             is searched instead)
//   floors    the balances of both sides alone (what any derivation of two
//             quantities evaluates at least), and the rating of every value
//             of a field's grid, which the search must equal
#include "design/balance.h"
#include "design/reach.h"
#include "rating/model.h"

#include <benchmark/benchmark.h>

namespace {

using namespace design;

Conditions conditions(std::optional<double> mvk, std::optional<double> mvs, std::optional<double> tkk,
                      std::optional<double> tsk, std::optional<double> duty)
{
    Conditions c;
    c.MVk = mvk, c.MVs = mvs, c.tkk = tkk, c.tsk = tsk, c.dutyKW = duty;
    return c;
}

void Balance(benchmark::State &state, Conditions c)
{
    for (auto _ : state) {
        BalanceResult r = balance(c);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK_CAPTURE(Balance, duty_and_coil_outlet, conditions(7.0, 1.0, 75.0, {}, {}));
BENCHMARK_CAPTURE(Balance, both_outlets, conditions(7.0, 1.0, {}, {}, 40.0));
BENCHMARK_CAPTURE(Balance, jacket_flow_and_duty, conditions({}, 1.0, 70.0, 55.0, {}));
BENCHMARK_CAPTURE(Balance, both_flows, conditions({}, {}, 70.0, 55.0, 40.0));

void Reach(benchmark::State &state, Input in, Output out, double target)
{
    const rating::Case c;
    for (auto _ : state) {
        const ReachResult r = reach(c, in, out, target);
        benchmark::DoNotOptimize(r.answer.index);
    }
}
BENCHMARK_CAPTURE(Reach, jacket_flow_duty_40, Input::JacketFlow, Output::Duty, 40.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Reach, coil_flow_coil_outlet_50, Input::CoilFlow, Output::CoilOutlet, 50.0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Reach, coil_flow_jacket_outlet_70, Input::CoilFlow, Output::JacketOutlet, 70.0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Reach, jacket_inlet_duty_30, Input::JacketInlet, Output::Duty, 30.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Reach, coil_inlet_jacket_outlet_70, Input::CoilInlet, Output::JacketOutlet, 70.0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Reach, fouling_duty_45, Input::Fouling, Output::Duty, 45.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Reach, jacket_flow_jacket_drop_50, Input::JacketFlow, Output::JacketDrop, 50.0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Reach, jacket_flow_duty_beyond_80, Input::JacketFlow, Output::Duty, 80.0)
    ->Unit(benchmark::kMicrosecond);

void SideBalances(benchmark::State &state)
{
    const double rhoK = rating::Suruseg(80), rhoS = rating::Suruseg(20);
    double tkk = 75, tsk = 55;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tkk);
        benchmark::DoNotOptimize(tsk);
        const double q = rating::sideDuty(80, tkk, 7.0 / 3600, rhoK) + rating::sideDuty(20, tsk, 1.0 / 3600, rhoS);
        benchmark::DoNotOptimize(q);
    }
}
BENCHMARK(SideBalances);

// Every value of the input's grid rated, as a test holds the search against.
void Scan(benchmark::State &state, Input in)
{
    const rating::Case c;
    rating::Model m;
    const Grid g = gridOf(in);
    for (auto _ : state) {
        double sum = 0;
        for (long n = g.first; n <= g.last; ++n) {
            rating::Case d = c;
            setInput(d, in, gridValue(in, n));
            const rating::Rating r = rating::rate(m, d);
            sum += r.ok() ? r.values.QLabel : 0;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK_CAPTURE(Scan, flow, Input::JacketFlow)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Scan, inlet, Input::JacketInlet)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Scan, fouling, Input::Fouling)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#include "charts/sweep.h"

namespace charts {

namespace {

double *sweptInlet(rating::Model &m, int chart) { return chart == JacketInlet ? &m.tkb : &m.tsb; }

} // namespace

double enteredValue(const rating::Model &m, int chart)
{
    switch (chart) {
    case JacketFlow: return m.MVk;
    case CoilFlow: return m.MVs;
    case JacketInlet: return m.tkb;
    default: return m.tsb;
    }
}

void flowSweep(rating::Model &m, int chart, int unitIndex, const SweepRange &range, SweepTable &table)
{
    const bool jacket = chart == JacketFlow;
    const int n = range.count();
    for (int k = 0; k < n; ++k) {
        const double x = range.at(k).toDouble();
        const long double xl = x;
        const double V = static_cast<double>(unitIndex == 1 ? xl / 3600 : xl * 6 / 360000);
        if (jacket) {
            m.Vk = V;
            m.Kozelites();
            m.Delta_pk_szamit();
        } else {
            m.Vs = V;
            m.Kozelites();
            m.Delta_ps_szamit();
        }
        table.append({x, static_cast<double>(static_cast<long double>(m.Q) / 1000), m.tkk, m.tsk,
                      jacket ? m.Delta_pk : m.Delta_ps});
    }
}

void temperatureSweep(rating::Model &m, int chart, const SweepRange &range, SweepTable &table)
{
    double &field = *sweptInlet(m, chart);
    const int n = range.count();
    for (int k = 0; k < n; ++k) {
        field = range.at(k).toDouble();
        m.Kozelites();
        table.append({field, static_cast<double>(static_cast<long double>(m.Q) / 1000), m.tkk, m.tsk, 0});
    }
    field = range.at(n).toDouble();
}

void sweepChart(rating::Model &m, int chart, int unitIndex, const Geometry &g, ChartResult &r)
{
    r = ChartResult();
    r.chart = chart;
    r.g = g;
    const Variant v = variantOf(chart);
    const Decimal entered = Decimal::fromDouble(enteredValue(m, chart));
    r.range = v == Variant::Flow ? SweepRange::flow(entered, g.nx) : SweepRange::temperature(entered, g.nx);
    if (v == Variant::Flow) {
        flowSweep(m, chart, unitIndex, r.range, r.table);
        r.axes = Axes::make(g, v, r.table, m.tkb, m.tsb);
        return;
    }
    // The axes are scaled on the state as the sweep leaves it, the swept
    // inlet after its last point; then it is put back.
    SweptInletRestore restore(m, chart);
    temperatureSweep(m, chart, r.range, r.table);
    r.axes = Axes::make(g, v, r.table, m.tkb, m.tsb);
}

SweptInletRestore::SweptInletRestore(rating::Model &m, int chart) : field_(sweptInlet(m, chart)), value_(*field_) {}

} // namespace charts

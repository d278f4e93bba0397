#include "charts/frame.h"

#include <algorithm>
#include <cmath>

namespace charts {

namespace {

const Decimal kHalf(5, -1);
const Decimal kOneAndHalf(15, -1);

// Truncates toward zero into the int range; curves that run far off the
// plot (a pressure drop many steps above the top) stay drawable.
int truncPixel(long double v)
{
    if (!(v > -1e6L)) return -1000000;
    if (!(v < 1e6L)) return 1000000;
    return static_cast<int>(std::trunc(v));
}

// Int(v / L) * L, the lower end of an axis on its grid.
Decimal floorToGrid(const Decimal &v, const Step &L)
{
    return Decimal(v.dividedByStep(L.decimal()).trunc()) * L.decimal();
}

} // namespace

Geometry Geometry::make(Variant v, int W, int H, int th)
{
    Geometry g;
    g.W = W;
    g.H = H;
    g.x1 = v == Variant::Flow ? W - 120 : W - 60;
    g.y1 = H - 120;
    if (th < 1) th = 1;
    // Trunc(span / th / 1.3) in integers: 10 * span / (13 * th) has no
    // rounding error at the boundaries.
    g.nx = std::min(10 * (g.x1 - g.x0) / (13 * th), 25);
    g.ny = std::min(10 * (g.y1 - g.y0) / (13 * th), 25);
    return g;
}

int SweepRange::count() const
{
    const Decimal last = xmax + Lx.decimal() * kHalf;
    int n = 0;
    while (n < SweepTable::Capacity && at(n) <= last) ++n;
    return n;
}

SweepRange SweepRange::flow(const Decimal &entered, int nx)
{
    SweepRange r;
    const Decimal lo = entered * kHalf, hi = entered * kOneAndHalf;
    r.Lx = LeptekStep(hi - lo, Decimal(nx));
    const Decimal L = r.Lx.decimal();
    const Decimal a = lo.dividedByStep(L) - Decimal(1), b = hi.dividedByStep(L) + Decimal(1);
    if (r.Lx.exponent >= 0) {
        r.xmin = Decimal(a.roundHalfEven()) * L;
        r.xmax = Decimal(b.roundHalfEven()) * L;
    } else {
        r.xmin = Decimal(a.trunc()) * L;
        r.xmax = Decimal(b.trunc()) * L;
    }
    // No flow of the sweep may be zero or negative.
    const Decimal least(1, -10);
    if (r.xmin < least) r.xmin = least;
    return r;
}

SweepRange SweepRange::temperature(const Decimal &entered, int nx)
{
    SweepRange r;
    const Decimal lo = std::max(entered * kHalf, Decimal(0));
    const Decimal hi = std::min(entered * kOneAndHalf, Decimal(150));
    r.Lx = LeptekStep(hi - lo, Decimal(nx));
    const Decimal L = r.Lx.decimal();
    r.xmin = Decimal((lo.dividedByStep(L) - Decimal(1)).roundHalfEven()) * L;
    r.xmax = Decimal((hi.dividedByStep(L) + Decimal(1)).roundHalfEven()) * L;
    return r;
}

int ValueAxis::y(double v, int y1) const
{
    const long double m = min.toDouble();
    return truncPixel(static_cast<long double>(y1) - (static_cast<long double>(v) - m) * k);
}

Axes Axes::make(const Geometry &g, Variant v, const SweepTable &table, double tkbSeed, double tsbSeed)
{
    Axes a;
    // Extremes over points 1..N; an empty table reads its first slot.
    double qlo = table.p[0].q, qhi = qlo, plo = table.p[0].dp, phi = plo;
    double tlo = std::max(tkbSeed, tsbSeed), thi = std::min(tkbSeed, tsbSeed);
    for (int i = 1; i <= table.N; ++i) {
        const Point &pt = table.at(i);
        qlo = std::min(qlo, pt.q);
        qhi = std::max(qhi, pt.q);
        plo = std::min(plo, pt.dp);
        phi = std::max(phi, pt.dp);
        tlo = std::min({tlo, pt.tkk, pt.tsk});
        thi = std::max({thi, pt.tkk, pt.tsk});
    }

    // Heat duty: at least two steps high; both ends on the grid, the upper
    // one always a step above the largest duty.
    Decimal qmin = Decimal::fromDouble(qlo), qmax = Decimal::fromDouble(qhi);
    const Step Lq = LeptekStep(qmax - qmin, Decimal(g.ny));
    const Decimal L = Lq.decimal();
    if (qmax - qmin < Decimal(2) * L) qmax = qmax + Decimal(2) * L;
    const std::int64_t kmin = qmin.dividedByStep(L).trunc();
    const std::int64_t kmax = qmax.dividedByStep(L).trunc() + 1;
    a.nq = static_cast<int>(std::clamp<std::int64_t>(kmax - kmin, 1, 1000000));
    a.q.L = Lq;
    a.q.min = Decimal(kmin) * L;
    a.qmax = Decimal(kmax) * L;
    a.q.k = static_cast<long double>(g.y1 - g.y0) / static_cast<long double>((a.qmax - a.q.min).toDouble());

    // Temperatures and pressure drops: one step per heat-duty interval.
    const Decimal nIntervals(a.nq - 1);
    a.t.L = LeptekStep(Decimal::fromDouble(thi) - Decimal::fromDouble(tlo), nIntervals);
    a.t.min = floorToGrid(Decimal::fromDouble(tlo), a.t.L);
    a.t.k = a.q.k * static_cast<long double>(Lq.value()) / static_cast<long double>(a.t.L.value());

    if (v == Variant::Flow) {
        a.p.L = LeptekStep(Decimal::fromDouble(phi) - Decimal::fromDouble(plo), nIntervals);
        a.p.min = floorToGrid(Decimal::fromDouble(plo), a.p.L);
        a.p.k = a.q.k * static_cast<long double>(Lq.value()) / static_cast<long double>(a.p.L.value());
    }
    return a;
}

int Axes::gridY(const Geometry &g, int j) const
{
    const long long num = static_cast<long long>(g.y1) * nq - static_cast<long long>(j) * (g.y1 - g.y0);
    return static_cast<int>(num / nq);
}

int pointX(const Geometry &g, int i, int n)
{
    if (n < 2) return g.x0;
    return (i - 1) * (g.x1 - g.x0) / (n - 1) + g.x0;
}

int markerX(const Geometry &g, double entered, const SweepRange &r)
{
    const long double lo = r.xmin.toDouble(), hi = r.xmax.toDouble();
    // A temperature range rounded to no width leaves nothing to divide by.
    if (hi == lo) return g.x0;
    return truncPixel((static_cast<long double>(entered) - lo) * (g.x1 - g.x0) / (hi - lo) + g.x0);
}

namespace {

// 1 and more, 0.1 to 1, 0.01 to 0.1, below 0.01.
int band(int exponent) { return exponent >= 0 ? 0 : exponent == -1 ? 1 : exponent == -2 ? 2 : 3; }

} // namespace

LabelFormat heatDutyFormat(const Step &Lq)
{
    static constexpr LabelFormat f[4] = {{9, 0}, {7, 1}, {6, 2}, {5, 3}};
    return f[band(Lq.exponent)];
}

LabelFormat temperatureFormat(const Step &Lt) { return {3, band(Lt.exponent)}; }

LabelFormat pressureFormat(const Step &Lp) { return {3, band(Lp.exponent + 2)}; }

LabelFormat xFormat(Variant v, const Step &Lx)
{
    const int b = band(Lx.exponent);
    if (v == Variant::Flow && b == 0) return {9, 0};
    return {3, b};
}

std::string xLabel(Variant v, const Step &Lx, double x)
{
    std::string s = xFormat(v, Lx).text(x);
    if (v == Variant::Temperature) {
        const auto first = s.find_first_not_of(' ');
        const auto last = s.find_last_not_of(' ');
        s = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
    }
    return s;
}

} // namespace charts

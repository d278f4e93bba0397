#include "design/balance.h"

#include "rating/fields.h"
#include "rating/model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace design {

namespace {

using LD = long double;
using K = BalanceRefusal::Kind;

// Doubles in the order of their values as unsigned integers, so that a
// bisection between two of them ends on neighbours after at most 64 steps.
using U = std::uint64_t;
constexpr U signBit = U{1} << 63;
U keyOf(double x)
{
    const U bits = std::bit_cast<U>(x);
    return bits & signBit ? ~bits : bits | signBit;
}
double fromKey(U k) { return std::bit_cast<double>(k & signBit ? k & ~signBit : ~k); }

// A derived flow in the unit of its unit list, before rounding.
double flowInUnit(LD m3s, int unitIndex) { return static_cast<double>(unitIndex == 1 ? m3s * 3600 : m3s * 60000); }

struct Side_ {
    double tin;
    double tother;
    int unit;
    std::optional<double> flow, outlet;
};

BalanceResult refuse(K kind, Side side = Side::Jacket, double value = 0, double limit = 0)
{
    BalanceResult r;
    r.why.kind = kind;
    r.why.side = side;
    r.why.value = value;
    r.why.limit = limit;
    return r;
}

BalanceResult badValue(Quantity what, double value)
{
    BalanceResult r = refuse(K::BadValue, Side::Jacket, value);
    r.why.what = what;
    return r;
}

bool inField(double t) { return t >= rating::MinInlet && t <= rating::MaxInlet; }

} // namespace

namespace {

std::optional<double> outletFor(double tin, double tother, double V, double rho, LD dutyW)
{
    auto duty = [&](double t) -> LD { return rating::sideDuty(tin, t, V, rho); };
    if (!(dutyW > 0)) return dutyW == 0 ? std::optional<double>(tin) : std::nullopt;
    const int dir = tother > tin ? 1 : -1;
    // The temperature change s: the duty over the side's capacity rate at
    // the mean it gives. The steps shrink by a constant factor (c_p changes
    // by a few parts in a thousand over the whole range), so after three of
    // them Aitken's extrapolation is a few digits from the end, and the
    // steps after it settle.
    const LD rate = V * static_cast<LD>(rho);
    auto step = [&](LD s) { return dutyW / (rate * rating::Fajho(static_cast<double>(tin + dir * s / 2))); };
    const LD s1 = step(0), s2 = step(s1), s3 = step(s2);
    const LD d2 = s3 - s2, d1 = s2 - s1;
    LD s = d2 != d1 ? s3 - d2 * d2 / (d2 - d1) : s3;
    for (int i = 0; i < 16; ++i) {
        const LD next = step(s);
        const bool settled = fabsl(next - s) <= next * 1e-17L;
        s = next;
        if (settled) break;
    }
    // Within reach when the change stays clear of the other inlet; near or
    // beyond it the balance there decides.
    if (!(s < fabsl(static_cast<LD>(tother) - tin) * (1 - 1e-9L)) && !(dutyW <= duty(tother))) return std::nullopt;
    // h rises along the keys from the lower temperature to the higher one:
    // at most 0 at the lower end, at least 0 at the upper. The crossing is
    // a pair of neighbours a < b with h(a) <= 0 <= h(b): from the guess a
    // walk of a few neighbours finds it (the specific heat takes the mean
    // as a double, which the last places of the outlet hardly move, so the
    // balance is as good as linear there); a bisection over the whole
    // range where the walk runs long.
    auto h = [&](U k) { return dir * (duty(fromKey(k)) - dutyW); };
    const U lo = keyOf(std::min(tin, tother)), hi = keyOf(std::max(tin, tother));
    U a = std::clamp(keyOf(static_cast<double>(tin + dir * s)), lo, hi), b = a;
    LD ha = h(a), hb = ha;
    int steps = 0;
    if (ha <= 0) {
        while (hb < 0 && b < hi && steps++ < 16) a = b, ha = hb, hb = h(++b);
    } else {
        while (ha > 0 && a > lo && steps++ < 16) b = a, hb = ha, ha = h(--a);
    }
    if (!(ha <= 0 && hb >= 0 && b - a <= 1)) {
        a = lo, b = hi, ha = h(a), hb = h(b);
        while (b - a > 1) {
            const U mid = a + (b - a) / 2;
            const LD hm = h(mid);
            if (hm <= 0) a = mid, ha = hm;
            else b = mid, hb = hm;
        }
    }
    // The nearer of the two neighbours; on a tie the one nearer the inlet.
    if (a == b) return fromKey(a);
    if (-ha == hb) return fromKey(dir > 0 ? a : b);
    return fromKey(-ha < hb ? a : b);
}

} // namespace

std::optional<double> outletFor(double tin, double tother, double V, LD dutyW)
{
    return outletFor(tin, tother, V, rating::Suruseg(tin), dutyW);
}

BalanceResult balance(const Conditions &c)
{
    const int given = c.MVk.has_value() + c.MVs.has_value() + c.tkk.has_value() + c.tsk.has_value() +
                      c.dutyKW.has_value();
    if (given != 3) {
        BalanceResult r = refuse(K::NotThree);
        r.why.count = given;
        return r;
    }
    if (!inField(c.tkb)) return badValue(Quantity::JacketInlet, c.tkb);
    if (!inField(c.tsb)) return badValue(Quantity::CoilInlet, c.tsb);
    for (const auto &[v, what] : {std::pair{c.MVk, Quantity::JacketFlow}, std::pair{c.MVs, Quantity::CoilFlow}})
        if (v && !(*v > rating::MinFlow && *v <= rating::MaxFlow)) return badValue(what, *v);
    if (c.tkk && !inField(*c.tkk)) return badValue(Quantity::JacketOutlet, *c.tkk);
    if (c.tsk && !inField(*c.tsk)) return badValue(Quantity::CoilOutlet, *c.tsk);
    if (c.dutyKW && !(*c.dutyKW > 0 && std::isfinite(*c.dutyKW))) return badValue(Quantity::Duty, *c.dutyKW);
    if (c.tkb == c.tsb) return refuse(K::EqualInlets);
    if (c.dutyKW && c.MVk && c.tkk) return refuse(K::SideTwice, Side::Jacket);
    if (c.dutyKW && c.MVs && c.tsk) return refuse(K::SideTwice, Side::Coil);

    const Side_ sides[2] = {{c.tkb, c.tsb, c.CbMVkIndex, c.MVk, c.tkk}, {c.tsb, c.tkb, c.CbMVsIndex, c.MVs, c.tsk}};
    for (int i = 0; i < 2; ++i) {
        const Side_ &s = sides[i];
        if (!s.outlet) continue;
        const double t = *s.outlet;
        const bool hot = s.tin > s.tother;
        // The heat flows from the warmer side: its outlet is below its inlet
        // and not below the other inlet; the cooler side the other way round.
        if (hot ? !(t < s.tin) : !(t > s.tin)) return refuse(K::WrongSide, Side(i), t, s.tin);
        if (hot ? t < s.tother : t > s.tother) return refuse(K::Cross, Side(i), t, s.tother);
    }

    // The duty, W: given, or the balance of a side whose flow and outlet are given.
    LD dutyW;
    double rho[2] = {rating::Suruseg(c.tkb), rating::Suruseg(c.tsb)};
    std::optional<double> V[2];
    for (int i = 0; i < 2; ++i)
        if (sides[i].flow) V[i] = rating::volumeFlow(*sides[i].flow, sides[i].unit);
    Balance out;
    if (c.dutyKW) {
        dutyW = 1000.0L * *c.dutyKW;
        out.dutyKW = *c.dutyKW;
    } else {
        const int i = V[0] && sides[0].outlet ? 0 : 1;
        const double q = rating::sideDuty(sides[i].tin, *sides[i].outlet, *V[i], rho[i]);
        dutyW = q;
        out.dutyKW = static_cast<double>(static_cast<LD>(q) / 1000);
    }

    // Each side's open quantity from the duty.
    double outlet[2], flow[2];
    for (int i = 0; i < 2; ++i) {
        const Side_ &s = sides[i];
        if (s.outlet && s.flow) {
            outlet[i] = *s.outlet, flow[i] = *s.flow;
        } else if (s.flow) {
            const std::optional<double> t = outletFor(s.tin, s.tother, *V[i], rho[i], dutyW);
            if (!t) {
                const LD most = rating::sideDuty(s.tin, s.tother, *V[i], rho[i]);
                return refuse(K::DutyBeyond, Side(i), out.dutyKW, static_cast<double>(most / 1000));
            }
            outlet[i] = *t, flow[i] = *s.flow;
        } else {
            const double t = *s.outlet;
            const LD perFlow = fabsl(static_cast<LD>(s.tin) - t) * rho[i] *
                               rating::Fajho(static_cast<double>((static_cast<LD>(s.tin) + t) / 2));
            const double raw = flowInUnit(dutyW / perFlow, s.unit);
            const double rounded = rating::roundToPlaces(raw, rating::FieldDecimals);
            if (rounded > rating::MaxFlow) return refuse(K::FlowRange, Side(i), raw, rating::MaxFlow);
            if (!(rounded > rating::MinFlow)) return refuse(K::FlowRange, Side(i), raw, 0.01);
            outlet[i] = t, flow[i] = rounded;
        }
    }
    out.tkk = outlet[0], out.tsk = outlet[1];
    out.MVk = flow[0], out.MVs = flow[1];
    BalanceResult r;
    r.values = out;
    return r;
}

} // namespace design

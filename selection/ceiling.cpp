// Why the ceiling holds.
//
// Every pass of the iteration starts from two mean temperatures (at the
// first pass the start values, each outlet at the other side's inlet, so
// both means at the mean of the inlets; later the means of the outlets of
// the pass before) and computes, in this order, the film coefficients and
// K, the conductance KF = s F p K, the heat-capacity rates Wk, Ws, each
// side's effectiveness P from its NTU = KF / W and its ratio R = W / W of
// the other side, the new outlets, and a duty Q that is never more than the
// mean of the two energy balances (Q_szamit keeps the rate-equation duty
// only where it is the smaller). Whatever pass the stop rule ends on, the
// rating's duty is such a Q. So it is enough to bound the balances of one
// pass over everything its start can be:
//
// - Each outlet lies between the two inlets, so each side's mean lies
//   between its inlet and the mean of the inlets, the start included. On
//   such an interval the specific heat Fajho (a quartic whose only turning
//   point, a minimum, is near 41.22 °C) has its extremes at the ends or at
//   that minimum; the density is that of the inlet.
// - The film coefficients rise with the mean temperature (factor
//   1 + 0.01 t, positive above -100 °C) and K = 1 / (1/alpha_k + 1/alpha_s
//   + Rf) rises with both for the request's fouling Rf >= 0 (the ratings
//   and the bounds take the same one; a smaller Rf raises K, and with it
//   the bound), so K, KF, the rates and with them NTU and R lie between
//   their values at the corners.
// - P = (1 - e^-N) / (1 - R e^-N) with N = NTU (1 - R) rises with NTU and
//   falls with R, on either side of R = 1 (dP/dR has the sign of
//   ln E - (E - 1) <= 0 with E = e^-N, dP/dNTU that of (R - 1)^2 E), and is
//   NTU / (1 + NTU) at R = 1, which is what the model takes for equal rates.
//   Clamping N to 50 in magnitude only lowers NTU, and the clamped value is
//   at least P at N = +-50.
// - A balance is |inlet - outlet| V rho cp(new mean) = |dT| P V rho cp.
//
// The model's own rounding: it stores N and e^-N as doubles, so its P is
// the exact P of an NTU off by about 1.2e-16 / |1 - R| (and its extended
// arithmetic adds about 1e-19 / |1 - R|); |1 - R| is at least 2^-53 for
// two different doubles. The effectivenesses carry that, a relative margin
// of 1e-9 and absolute margins far above the rest of the rounding. None of
// this depends on how many passes the iteration makes, so the ceiling holds
// for the early stops that put the duty of one series count some watts
// above the next, as for the settled ones.
#include "selection/ceiling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace selection::detail {

namespace {

using LD = long double;

constexpr LD relMargin = 1e-9L;

// The lowest and highest specific heat on [a, b].
void cpRange(LD a, LD b, LD &lo, LD &hi)
{
    const LD ca = rating::Fajho(static_cast<double>(a)), cb = rating::Fajho(static_cast<double>(b));
    lo = std::min(ca, cb);
    hi = std::max(ca, cb);
    constexpr double turn = 41.22; // the minimum of Fajho, to 0.01 °C
    if (a <= turn + 0.01L && b >= turn - 0.01L) lo = std::min(lo, static_cast<LD>(rating::Fajho(turn)) - 1e-3L);
    lo *= 1 - 1e-12L;
    hi *= 1 + 1e-12L;
}

// (1 - e^-N) / (1 - R e^-N) for R != 1; beyond |N| = 60 its limit (1 for
// R < 1, 1/R for R > 1), which it differs from by less than e^-60.
LD effectivenessN(LD n, LD r)
{
    if (n > 60) return 1;
    if (n < -60) return 1 / r;
    const LD em1 = expm1l(-n); // e^-N - 1, without cancellation
    return em1 / (em1 * r - (1 - r));
}

LD effectiveness(LD ntu, LD r) { return effectivenessN(ntu * (1 - r), r); }

// The effectiveness where the model clamps N, at +50 or -50.
LD clampedEffectiveness(LD r, bool positive)
{
    static const LD em1Pos = expm1l(-50.0L), em1Neg = expm1l(50.0L);
    const LD em1 = positive ? em1Pos : em1Neg;
    return em1 / (em1 * r - (1 - r));
}

// How close a range of rate ratios comes to 1, never less than two
// different doubles can.
LD separation(LD rLo, LD rHi)
{
    const LD sep = rHi < 1 ? 1 - rHi : rLo > 1 ? rLo - 1 : 0;
    return std::max(sep, 1.1e-16L);
}

// Bounds of the model's effectiveness of a side whose NTU and R lie in the
// given ranges. Where R may come within 1e-6 of 1, the bounds are taken at
// 1 -+ 1e-6 instead, which only widens them.
LD upperEffectiveness(LD ntuHi, LD rLo, LD rHi)
{
    const LD sep = separation(rLo, rHi);
    const LD r = fabsl(rLo - 1) < 1e-6L ? 1 - 1e-6L : rLo;
    const LD ntu = ntuHi * (1 + 1.2e-16L) + 1.2e-16L / sep;
    return effectiveness(ntu, r) * (1 + relMargin + 1e-19L / sep) + 1e-12L + 1e-19L / sep;
}

LD lowerEffectiveness(LD ntuLo, LD rLo, LD rHi)
{
    const LD sep = separation(rLo, rHi);
    const LD r = fabsl(rHi - 1) < 1e-6L ? 1 + 1e-6L : rHi;
    const LD ntu = std::max<LD>(0, ntuLo * (1 - 1.2e-16L) - 1.2e-16L / sep);
    LD p = effectiveness(ntu, r);
    if (rLo < 1) p = std::min(p, clampedEffectiveness(rLo, true));
    if (rHi > 1) p = std::min(p, clampedEffectiveness(rHi, false));
    return std::max<LD>(0, p * (1 - relMargin - 1e-19L / sep) - 1e-12L - 1e-19L / sep);
}

} // namespace

DutyCeiling::DutyCeiling(const Request &r)
{
    const LD tkb = r.tkb, tsb = r.tsb;
    if (!(r.Rf >= 0 && std::isfinite(r.Rf))) return;
    rf_ = r.Rf;
    if (!std::isfinite(r.MVk) || !std::isfinite(r.MVs) || !std::isfinite(r.tkb) || !std::isfinite(r.tsb)) return;
    if (tkb == tsb || std::min(tkb, tsb) < -90 || std::max(tkb, tsb) > 150) return;
    rating::Model m;
    m.MVk = r.MVk, m.MVs = r.MVs, m.CbMVkIndex = r.CbMVkIndex, m.CbMVsIndex = r.CbMVsIndex;
    try {
        if (!m.Terfaram_szamit()) return;
    } catch (const rating::ArithmeticError &) {
        return;
    }
    const LD vk = m.Vk, vs = m.Vs;
    tkb_ = tkb, tsb_ = tsb;
    dT_ = fabsl(tkb - tsb);
    width_ = 1e-9L * (1 + fabsl(tkb) + fabsl(tsb));
    tSlack_ = 1e-12L * (1 + fabsl(tkb) + fabsl(tsb));
    mid_ = (tkb + tsb) / 2;
    full_ = {std::min(tkb, mid_) - width_, std::max(tkb, mid_) + width_, std::min(tsb, mid_) - width_,
             std::max(tsb, mid_) + width_};
    vrK_ = vk * rating::Suruseg(r.tkb);
    vrS_ = vs * rating::Suruseg(r.tsb);
    LD cpkLo, cpsLo;
    cpRange(full_.kLo, full_.kHi, cpkLo, cpkHi_);
    cpRange(full_.sLo, full_.sHi, cpsLo, cpsHi_);
    wkLo_ = vrK_ * cpkLo * (1 - 1e-12L), wsLo_ = vrS_ * cpsLo * (1 - 1e-12L);
    const LD wkHi = vrK_ * cpkHi_ * (1 + 1e-12L), wsHi = vrS_ * cpsHi_ * (1 + 1e-12L);
    rkLo_ = wkLo_ / wsHi, rsLo_ = wsLo_ / wkHi;
    for (int t = 0; t < rating::TipusCount; ++t) {
        velocityPowerK_[static_cast<std::size_t>(t)] = expl(0.733L * logl(vk / rating::Adat(rating::cAk, t)));
        velocityPowerS_[static_cast<std::size_t>(t)] = expl(0.733L * logl(vs / rating::Adat(rating::cAs, t)));
    }
    usable_ = std::isfinite(vrK_ * cpkHi_) && std::isfinite(vrS_ * cpsHi_) && wkLo_ > 0 && wsLo_ > 0;
}

void DutyCeiling::arrange(int tipus, int parh)
{
    if (!usable_) return;
    using rating::Adat;
    // (V / (p A))^0.733 as (V / A)^0.733 p^-0.733: a few units of the last
    // place away from the model's power, far inside the margins.
    static const auto parallelPower = [] {
        std::array<LD, MaxCount + 1> table{};
        for (int p = 1; p <= MaxCount; ++p) table[static_cast<std::size_t>(p)] = expl(-0.733L * logl(p));
        return table;
    }();
    const LD pp = parh >= 1 && parh <= MaxCount ? parallelPower[static_cast<std::size_t>(parh)]
                                                : expl(-0.733L * logl(parh));
    calfa_ = Adat(rating::cCalfa, tipus);
    fp_ = Adat(rating::cF, tipus) * static_cast<LD>(parh);
    powK_ = velocityPowerK_[static_cast<std::size_t>(tipus)] * pp;
    powS_ = velocityPowerS_[static_cast<std::size_t>(tipus)] * pp;
    const LD alfaK = powK_ * ((0.01L * full_.kHi + 1) * calfa_) * (1 + 1e-12L);
    const LD alfaS = powS_ * ((0.01L * full_.sHi + 1) * calfa_) * (1 + 1e-12L);
    kfPerSeries_ = fp_ / (1 / alfaK + 1 / alfaS + rf_) * (1 + 1e-12L);
}

long double DutyCeiling::bound(int soros) const
{
    if (!usable_) return std::numeric_limits<LD>::infinity();
    const LD kf = soros * kfPerSeries_;
    const LD pk = upperEffectiveness(kf / wkLo_, rkLo_, 1 / rsLo_);
    const LD ps = upperEffectiveness(kf / wsLo_, rsLo_, 1 / rkLo_);
    const LD qk = (dT_ * pk + tSlack_) * vrK_ * cpkHi_;
    const LD qs = (dT_ * ps + tSlack_) * vrS_ * cpsHi_;
    return (qk + qs) / 2 * (1 + relMargin) + 1e-9L;
}

// ---------------------------------------------------------------- over a range of counts
//
// The same argument, followed through the passes. A pass that starts from
// mean temperatures in a box B ends with new means in a box f(B), from the
// bounds of both effectivenesses; where the two rates keep apart (R at
// least 1e-6 from 1) the side with the larger rate is also held to R_w P_w
// of the other (the two exponents are each other's negatives, so
// (1 - e^-N) / (1 - R e^-N) gives P_st = R_w P_w, up to the rounding of the
// stored N and e^-N, some 4e-16 / |1 - R|). Every pass starts at the start
// values or at the outlets of a pass, so if B holds the start and every
// pass's start, hull(f(B), start) does too: from the box of the whole
// temperature range the boxes shrink. The rating's duty comes from its last
// pass, which starts from the outlets of the pass before (in f(B)), unless
// the iteration stopped after its first pass, which it only does below
// 1 W. Bounding that last pass's balances, with the balance of the side
// with the larger rate also written as |dT| P_w W_w cp(new mean) / cp(old
// mean) of that side, gives a ceiling a few watts above the duty where the
// side with the smaller rate comes near its inlet difference.

DutyCeiling::Pass DutyCeiling::pass(const Box &in, int s1, int s2) const
{
    LD cpkLo, cpkHi, cpsLo, cpsHi;
    cpRange(in.kLo, in.kHi, cpkLo, cpkHi);
    cpRange(in.sLo, in.sHi, cpsLo, cpsHi);
    const LD wkLo = vrK_ * cpkLo * (1 - 1e-12L), wkHi = vrK_ * cpkHi * (1 + 1e-12L);
    const LD wsLo = vrS_ * cpsLo * (1 - 1e-12L), wsHi = vrS_ * cpsHi * (1 + 1e-12L);
    auto alfa = [&](LD pow, LD t, LD margin) { return pow * ((0.01L * t + 1) * calfa_) * margin; };
    auto kOf = [this](LD ak, LD as) { return 1 / (1 / ak + 1 / as + rf_); };
    const LD kLo = kOf(alfa(powK_, in.kLo, 1 - 1e-12L), alfa(powS_, in.sLo, 1 - 1e-12L));
    const LD kHi = kOf(alfa(powK_, in.kHi, 1 + 1e-12L), alfa(powS_, in.sHi, 1 + 1e-12L));
    const LD kfLo = s1 * fp_ * kLo * (1 - 1e-12L), kfHi = s2 * fp_ * kHi * (1 + 1e-12L);
    const LD rkLo = wkLo / wsHi, rkHi = wkHi / wsLo;
    const LD rsLo = wsLo / wkHi, rsHi = wsHi / wkLo;
    Pass out;
    out.pk = {lowerEffectiveness(kfLo / wkHi, rkLo, rkHi), upperEffectiveness(kfHi / wkLo, rkLo, rkHi)};
    out.ps = {lowerEffectiveness(kfLo / wsHi, rsLo, rsHi), upperEffectiveness(kfHi / wsLo, rsLo, rsHi)};
    const LD sep = rkHi < 1 ? 1 - rkHi : rkLo > 1 ? rkLo - 1 : 0; // rk and rs are on the same sides of 1
    if (sep >= 1e-6L) {
        out.apart = true;
        out.jacketWeak = rkHi < 1;
        out.identity = 4e-16L / sep + 1e-12L;
        const Range &w = out.jacketWeak ? out.pk : out.ps;
        Range &st = out.jacketWeak ? out.ps : out.pk;
        const LD rwLo = out.jacketWeak ? rkLo : rsLo, rwHi = out.jacketWeak ? rkHi : rsHi;
        st.lo = std::max(st.lo, rwLo * w.lo * (1 - relMargin) - out.identity);
        st.hi = std::min(st.hi, rwHi * w.hi * (1 + relMargin) + out.identity);
    }
    // A side's new mean: its inlet moved by half its effectiveness times
    // the way to the other inlet.
    auto means = [&](LD from, LD to, const Range &p, LD &lo, LD &hi) {
        const LD a = from + (to - from) * p.lo / 2, b = from + (to - from) * p.hi / 2;
        lo = std::min(a, b) - width_;
        hi = std::max(a, b) + width_;
    };
    means(tkb_, tsb_, out.pk, out.out.kLo, out.out.kHi);
    means(tsb_, tkb_, out.ps, out.out.sLo, out.out.sHi);
    return out;
}

long double DutyCeiling::dutyBound(const Box &prev, int s1, int s2) const
{
    const Pass p = pass(prev, s1, s2);
    LD ncpkLo, ncpkHi, ncpsLo, ncpsHi;
    cpRange(p.out.kLo, p.out.kHi, ncpkLo, ncpkHi);
    cpRange(p.out.sLo, p.out.sHi, ncpsLo, ncpsHi);
    LD qk = (dT_ * p.pk.hi + tSlack_) * vrK_ * ncpkHi;
    LD qs = (dT_ * p.ps.hi + tSlack_) * vrS_ * ncpsHi;
    if (p.apart) {
        LD cpkLo, cpkHi, cpsLo, cpsHi;
        cpRange(prev.kLo, prev.kHi, cpkLo, cpkHi);
        cpRange(prev.sLo, prev.sHi, cpsLo, cpsHi);
        const bool jw = p.jacketWeak;
        const LD pwHi = jw ? p.pk.hi : p.ps.hi;
        const LD wwHi = (jw ? vrK_ * cpkHi : vrS_ * cpsHi) * (1 + 1e-12L);
        const LD vrSt = jw ? vrS_ : vrK_, cpStPrevLo = jw ? cpsLo : cpkLo, cpStNewHi = jw ? ncpsHi : ncpkHi;
        const LD viaW = dT_ * (pwHi * wwHi / cpStPrevLo + p.identity * vrSt) * cpStNewHi * (1 + relMargin) +
                        tSlack_ * vrSt * cpStNewHi;
        LD &qst = jw ? qs : qk;
        qst = std::min(qst, viaW);
    }
    return std::max<LD>(1, (qk + qs) / 2 * (1 + relMargin) + 1e-9L);
}

long double DutyCeiling::boundOver(int s1, int s2) const
{
    if (!usable_) return std::numeric_limits<LD>::infinity();
    const Box o = pass(full_, s1, s2).out;
    const LD lo = mid_ - width_, hi = mid_ + width_;
    const Box b = {std::max(full_.kLo, std::min(o.kLo, lo)), std::min(full_.kHi, std::max(o.kHi, hi)),
                   std::max(full_.sLo, std::min(o.sLo, lo)), std::min(full_.sHi, std::max(o.sHi, hi))};
    // Every pass ends in here; the last one starts from in here.
    return dutyBound(pass(b, s1, s2).out, s1, s2);
}

} // namespace selection::detail

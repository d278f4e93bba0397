// Why the ceiling holds.
//
// Every pass of the iteration takes the two mean temperatures of the
// outlets before it (at the first pass the start values, each outlet at the
// other side's inlet) and computes, in this order, the film coefficients and
// K, the conductance KF = s F p K, the heat-capacity rates Wk, Ws, each
// side's effectiveness P from its NTU = KF / W and its ratio R = W / W of
// the other side, the new outlets, and the duty Q, which is never more than
// the mean of the two energy balances (Q_szamit takes the rate-equation duty
// only where it is the smaller). Whatever pass the stop rule ends on, the
// rating's duty is such a Q. So it is enough to bound the balances of one
// pass over everything its inputs can be:
//
// - Each outlet lies between the two inlets (P is between 0 and 1, and
//   below 1/R on the side with the larger rate), so each side's mean
//   temperature lies between its inlet and the mean of the two inlets, the
//   start values included. On that interval J the specific heat Fajho
//   (a quartic whose only turning point, a minimum, is near 41.22 °C) has
//   its extremes at the ends or at that minimum.
// - The film coefficients rise with the mean temperature (factor
//   1 + 0.01 t, positive above -100 °C) and K rises with both, so K is at
//   most its value at the top of both intervals; KF is then at most
//   s F p K_hi.
// - P = (1 - e^-N) / (1 - R e^-N) with N = NTU (1 - R) rises with NTU and
//   falls with R, on either side of R = 1 (dP/dR has the sign of
//   ln E - (E - 1) <= 0 with E = e^-N, and dP/dNTU that of (R - 1)^2 E).
//   Clamping N to 50 in magnitude only lowers NTU. So a side's P is at most
//   P(KF_hi / W_lo, W_lo / W_other_hi).
// - A balance is |inlet - outlet| V rho cp(mean) = |dT| P V rho cp, with the
//   density at the inlet and cp at most cp_hi on J.
//
// Rounding: the model's effectiveness is accurate to about 1e-19 / |1 - R|
// and the rest to a few units of the last place of a double, so the rates
// must keep apart: the ceiling is only used when the two sides' rate
// intervals are separated by a factor 1 - 1e-6 (then the model never takes
// its balanced-rates branch either), and it carries a relative margin of
// 1e-9 and absolute margins far above the rounding. None of this depends on
// how many passes the iteration makes, so the ceiling holds for the early
// stops that make the duty jump by some watts from one series count to the
// next, as for the settled ones.
#include "selection/ceiling.h"

#include <algorithm>
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

// The effectiveness of a side with the given NTU and rate ratio R != 1.
LD effectiveness(LD ntu, LD r)
{
    const LD n = ntu * (1 - r);
    if (n > 60) return 1;      // at most 1 on the side with the smaller rate
    if (n < -60) return 1 / r; // at most 1/R on the other
    const LD em1 = expm1l(-n); // e^-N - 1, without cancellation
    return em1 / (em1 * r - (1 - r));
}

} // namespace

DutyCeiling::DutyCeiling(const Request &r)
{
    const LD tkb = r.tkb, tsb = r.tsb;
    if (!std::isfinite(r.MVk) || !std::isfinite(r.MVs) || !std::isfinite(r.tkb) || !std::isfinite(r.tsb)) return;
    if (tkb == tsb || std::min(tkb, tsb) < -90 || std::max(tkb, tsb) > 150) return;
    rating::Model m;
    m.MVk = r.MVk, m.MVs = r.MVs, m.CbMVkIndex = r.CbMVkIndex, m.CbMVsIndex = r.CbMVsIndex;
    try {
        if (!m.Terfaram_szamit()) return;
    } catch (const rating::ArithmeticError &) {
        return;
    }
    vk_ = m.Vk, vs_ = m.Vs;
    dT_ = fabsl(tkb - tsb);
    const LD width = 1e-9L * (1 + fabsl(tkb) + fabsl(tsb));
    tSlack_ = 1e-12L * (1 + fabsl(tkb) + fabsl(tsb));
    const LD mid = (tkb + tsb) / 2;
    const LD jkLo = std::min(tkb, mid) - width, jsLo = std::min(tsb, mid) - width;
    jkHi_ = std::max(tkb, mid) + width, jsHi_ = std::max(tsb, mid) + width;
    LD cpkLo, cpkHi, cpsLo, cpsHi;
    cpRange(jkLo, jkHi_, cpkLo, cpkHi);
    cpRange(jsLo, jsHi_, cpsLo, cpsHi);
    const LD rhoK = rating::Suruseg(r.tkb), rhoS = rating::Suruseg(r.tsb);
    wkLo_ = rhoK * vk_ * cpkLo * (1 - 1e-12L);
    wsLo_ = rhoS * vs_ * cpsLo * (1 - 1e-12L);
    const LD wkHi = rhoK * vk_ * cpkHi * (1 + 1e-12L), wsHi = rhoS * vs_ * cpsHi * (1 + 1e-12L);
    const LD apart = 1 - 1e-6L;
    if (!(wkHi < wsLo_ * apart || wsHi < wkLo_ * apart)) return;
    rkLo_ = wkLo_ / wsHi;
    rsLo_ = wsLo_ / wkHi;
    qkPerK_ = vk_ * rhoK * cpkHi * (1 + 1e-12L);
    qsPerK_ = vs_ * rhoS * cpsHi * (1 + 1e-12L);
    usable_ = std::isfinite(qkPerK_) && std::isfinite(qsPerK_) && wkLo_ > 0 && wsLo_ > 0;
}

void DutyCeiling::arrange(int tipus, int parh)
{
    if (!usable_) return;
    using rating::Adat;
    const LD p = parh;
    const LD calfa = Adat(rating::cCalfa, tipus);
    const LD wk = vk_ / (p * Adat(rating::cAk, tipus)), ws = vs_ / (p * Adat(rating::cAs, tipus));
    const LD alfaK = expl(0.733L * logl(wk)) * ((0.01L * jkHi_ + 1) * calfa);
    const LD alfaS = expl(0.733L * logl(ws)) * ((0.01L * jsHi_ + 1) * calfa);
    const LD k = 1 / (1 / alfaK + 1 / alfaS + rating::TipusAdat[30]);
    kfPerSeries_ = Adat(rating::cF, tipus) * p * k * (1 + 1e-12L);
}

long double DutyCeiling::bound(int soros) const
{
    if (!usable_) return std::numeric_limits<LD>::infinity();
    const LD kf = soros * kfPerSeries_;
    const LD pk = effectiveness(kf / wkLo_, rkLo_) * (1 + relMargin) + 1e-12L;
    const LD ps = effectiveness(kf / wsLo_, rsLo_) * (1 + relMargin) + 1e-12L;
    const LD qk = (dT_ * pk + tSlack_) * qkPerK_;
    const LD qs = (dT_ * ps + tSlack_) * qsPerK_;
    return (qk + qs) / 2 * (1 + relMargin) + 1e-9L;
}

} // namespace selection::detail

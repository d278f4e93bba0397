#include "rating/model.h"

#include <cmath>
#include <limits>

namespace rating {

// ---------------------------------------------------------------- errors

ArithmeticError::ArithmeticError(Kind k) : std::runtime_error(messageOf(k)), kind_(k) {}

const char *ArithmeticError::messageOf(Kind k) noexcept
{
    switch (k) {
    case Kind::DivisionByZero: return "Floating point division by zero";
    case Kind::InvalidOperation: return "Invalid floating point operation";
    case Kind::Overflow: return "Floating point overflow";
    }
    return "Invalid floating point operation";
}

namespace {

using LD = long double;
using Kind = ArithmeticError::Kind;

[[noreturn]] void fail(Kind k) { throw ArithmeticError(k); }

// Checked operations. Every fault is detected before it can turn into an
// infinity or a NaN, so the state never holds one.
LD chk(LD x)
{
    if (std::isnan(x)) fail(Kind::InvalidOperation);
    if (std::isinf(x)) fail(Kind::Overflow);
    return x;
}

LD dv(LD a, LD b)
{
    if (b == 0) fail(a == 0 || std::isnan(a) ? Kind::InvalidOperation : Kind::DivisionByZero);
    return chk(a / b);
}

LD ln(LD x)
{
    if (std::isnan(x) || x < 0) fail(Kind::InvalidOperation);
    if (x == 0) fail(Kind::DivisionByZero);
    return logl(x);
}

LD ex(LD x) { return chk(expl(chk(x))); }

// x^y as e^(y ln x).
LD pw(LD x, LD y) { return ex(y * ln(x)); }

// Storing an extended value into a double field; a value beyond the
// double range is an overflow, as on the x87 store.
double st(LD x)
{
    chk(x);
    if (fabsl(x) > static_cast<LD>(std::numeric_limits<double>::max())) fail(Kind::Overflow);
    return static_cast<double>(x);
}

// Horner form from the t^4 coefficient, extended intermediates.
double poly(LD c4, LD c3, LD c2, LD c1, LD c0, double t)
{
    LD r = c4 * t;
    r = (r + c3) * t;
    r = (r + c2) * t;
    r = (r + c1) * t;
    r = r + c0;
    return static_cast<double>(r);
}

} // namespace

// ---------------------------------------------------------------- water

double Fajho(double t)
{
    return poly(5.96012037642e-7L, -0.000244109158449L, 0.0447425451376L, -2.61091927471L,
                4219.69451957L, t);
}

double Suruseg(double t)
{
    return poly(-3.00457051974e-8L, 1.68876417942e-5L, -0.00554655212895L, -0.00317094659355L,
                1000.15483083L, t);
}

// ---------------------------------------------------------------- type table

const double TipusAdat[31] = {
    // Cpk, Pa per (m3/s)^2
    25920000000.0, 6834000000.0, 8398000000.0, 12290000000.0, 5767000000.0,
    // Cps, Pa per (m3/s)^1.681
    147600000000.0, 29510000000.0, 16350000000.0, 11350000000.0, 20980000000.0,
    // Ak, m2
    0.00146, 0.00146, 0.00146, 0.00157, 0.00275,
    // As, m2
    0.000114, 0.00024, 0.000366, 0.000515, 0.000515,
    // Calfa, W/(m2·°C) per (m/s)^0.733
    11075.0, 9940.0, 9304.0, 9157.0, 8362.0,
    // F, m2
    0.176, 0.351, 0.536, 0.73, 1.4,
    // Rf, m2·°C/W
    0.000055,
};

const char *const TipusNevek[TipusCount] = {"VT/R-0", "VT/R-1", "VT/R-2", "VT/R-3", "VR/T-4"};

// ---------------------------------------------------------------- flows and balances

double volumeFlow(double entered, int unitIndex)
{
    return unitIndex == 1 ? st(static_cast<LD>(entered) / 3600) : st(static_cast<LD>(entered) * 6 / 360000);
}

double sideDuty(double tin, double tout, double V, double rho)
{
    return st(fabsl(static_cast<LD>(tin) - tout) * V * rho * Fajho(st((static_cast<LD>(tin) + tout) / 2)));
}

// ---------------------------------------------------------------- relations

long double Model::velocityPower(PowerMemo &memo, double w)
{
    if (!memo.valid || memo.w != w) {
        memo.value = pw(w, 0.733L);
        memo.w = w;
        memo.valid = true;
    }
    return memo.value;
}

double Model::density(DensityMemo &memo, double t)
{
    if (!memo.valid || memo.t != t) {
        memo.value = Suruseg(t);
        memo.t = t;
        memo.valid = true;
    }
    return memo.value;
}

long double Model::flowPower(FlowPowerMemo &memo, long double q, long double exponent)
{
    if (!memo.valid || memo.q != q) {
        memo.value = pw(q, exponent);
        memo.q = q;
        memo.valid = true;
    }
    return memo.value;
}

void Model::Alfa_k_szamit()
{
    wk = st(dv(Vk, static_cast<LD>(Parh) * Adat(cAk, Tipus)));
    Alfa_k = st(velocityPower(powWk_, wk) * ((0.01L * tkm + 1) * Adat(cCalfa, Tipus)));
}

void Model::Alfa_s_szamit()
{
    ws = st(dv(Vs, static_cast<LD>(Parh) * Adat(cAs, Tipus)));
    Alfa_s = st(velocityPower(powWs_, ws) * ((0.01L * tsm + 1) * Adat(cCalfa, Tipus)));
}

void Model::K_szamit()
{
    K = st(dv(1, dv(1, Alfa_k) + dv(1, Alfa_s) + Rf));
}

void Model::Delta_tm_szamit()
{
    const LD a = fabsl(static_cast<LD>(tkb) - tsk); // jacket in, coil out
    const LD b = fabsl(static_cast<LD>(tkk) - tsb); // jacket out, coil in
    if (a >= b) {
        Delta_tmin = st(b);
        Delta_tmax = st(a);
    } else {
        Delta_tmin = st(a);
        Delta_tmax = st(b);
    }
    if (Delta_tmin > 0) {
        if (Delta_tmin == Delta_tmax && Soros != 0 && Parh != 0) {
            // Equal terminal differences: the logarithmic mean tends to the
            // difference itself.
            Delta_tm = Delta_tmax;
        } else {
            Delta_tm = st(dv(static_cast<LD>(Delta_tmax) - Delta_tmin,
                             ln(dv(Delta_tmax, Delta_tmin))));
        }
    } else {
        Delta_tm = st(dv(Delta_tmax, 2));
    }
}

void Model::Delta_pk_szamit()
{
    Delta_pk = st(flowPower(powQk_, dv(Vk, Parh), 2) * Adat(cCpk, Tipus) * Soros / 100000);
}

void Model::Delta_ps_szamit()
{
    Delta_ps = st(flowPower(powQs_, dv(Vs, Parh), 1.681L) * Adat(cCps, Tipus) * Soros / 100000);
}

void Model::Q_szamit()
{
    const double Qkf = st(static_cast<LD>(K) * Adat(cF, Tipus) * Soros * Parh * Delta_tm);
    Q = Qkf;
    const double Qk = sideDuty(tkb, tkk, Vk, density(rhoK_, tkb));
    const double Qs = sideDuty(tsb, tsk, Vs, density(rhoS_, tsb));
    const LD mean = (static_cast<LD>(Qk) + Qs) / 2;
    // Pinch: an outlet at the opposite inlet temperature. The smaller
    // terminal difference is then rounding noise of the effectiveness (a
    // double near 1, so 1 - P carries an absolute error of about 1e-16) and
    // the logarithmic mean built on it collapses. Below 1e-9 of the larger
    // difference that noise alone moves the mean by more than 1e-8; the
    // duty there is the one both energy balances agree on.
    const bool pinch = Delta_tmin <= Delta_tmax * 1e-9L;
    if (mean < Q || (pinch && Delta_tmax > 0))
        Q = st(mean);
}

// ---------------------------------------------------------------- iteration

void Model::Kozelites()
{
    Passes = 0;
    PassLimitHit = false;
    Q = 0;
    Q_elozo = -1;
    tkk = tsb;
    tsk = tkb;
    if (tkb == tsb || Vk == 0 || Vs == 0)
        return;

    while (std::trunc(Q) != std::trunc(Q_elozo)) {
        if (Passes == MaxPasses) {
            PassLimitHit = true;
            return;
        }
        ++Passes;
        OnePass();
    }
}

void Model::OnePass()
{
    tkm = st((static_cast<LD>(tkb) + tkk) / 2);
    tsm = st((static_cast<LD>(tsb) + tsk) / 2);
    Alfa_k_szamit();
    Alfa_s_szamit();
    K_szamit();
    const double KF = st(static_cast<LD>(Soros) * Adat(cF, Tipus) * Parh * K);
    const double Wk = st(static_cast<LD>(density(rhoK_, tkb)) * Vk * Fajho(tkm));
    const double Ws = st(static_cast<LD>(density(rhoS_, tsb)) * Vs * Fajho(tsm));

    double Pk, Ps;
    if (Wk == Ws) {
        // Balanced rates: both effectivenesses are NTU / (1 + NTU).
        const LD ntu = dv(KF, Wk);
        Pk = Ps = st(dv(ntu, 1 + ntu));
    } else {
        double Nk = st(dv(KF, Wk) * (1 - dv(Wk, Ws)));
        if (std::fabs(Nk) > 50) Nk = Nk > 0 ? 50 : -50;
        const double Ek = st(ex(-static_cast<LD>(Nk)));
        double Ns = st(dv(KF, Ws) * (1 - dv(Ws, Wk)));
        if (std::fabs(Ns) > 50) Ns = Ns > 0 ? 50 : -50;
        const double Es = st(ex(-static_cast<LD>(Ns)));
        Pk = st(dv(1 - static_cast<LD>(Ek), 1 - dv(Wk, Ws) * Ek));
        Ps = st(dv(1 - static_cast<LD>(Es), 1 - dv(Ws, Wk) * Es));
    }
    tsk = st(tsb - (static_cast<LD>(tsb) - tkb) * Ps);
    tkk = st(tkb - (static_cast<LD>(tkb) - tsb) * Pk);
    Delta_tm_szamit();
    Q_elozo = Q;
    Q_szamit();
}

// ---------------------------------------------------------------- calculation run

bool Model::Terfaram_szamit()
{
    Vs = volumeFlow(MVs, CbMVsIndex);
    Vk = volumeFlow(MVk, CbMVkIndex);
    return !(Vk <= 0 || Vs <= 0 || Vk >= 50000 || Vs >= 50000);
}

bool Model::Homerseklet_ok() const { return !(tkb == tsb || tkb > 150 || tsb > 150); }

void Model::Szamitas()
{
    Hiba = false;
    if (!Terfaram_szamit()) {
        Hiba = true;
        return;
    }
    const std::string &sep = DecimalSeparator;
    Delta_pk_szamit();
    Delta_ps_szamit();
    if (Delta_pk >= 10000) Hiba = true;
    else {
        Values.DPK = st(static_cast<LD>(Delta_pk) * 100);
        if (WriteTexts) DPK = FixedText(Values.DPK, 3, sep) + " kPa";
    }
    if (Delta_ps >= 10000) Hiba = true;
    else {
        Values.DPS = st(static_cast<LD>(Delta_ps) * 100);
        if (WriteTexts) DPS = FixedText(Values.DPS, 3, sep) + " kPa";
    }
    if (!Homerseklet_ok()) {
        Hiba = true;
        return;
    }
    Kozelites();
    if (PassLimitHit) {
        Hiba = true;
        return;
    }
    ResultValues &v = Values;
    v.QLabel = st(static_cast<LD>(Q) / 1000);
    v.LbTKK = tkk;
    v.LbTSK = tsk;
    v.LbTomegaramK = st(dv(static_cast<LD>(Suruseg(tkb)) * Vk, Parh));
    v.LbArsebK = wk;
    v.LbHoatadK = Alfa_k;
    v.LbTomegaramS = st(dv(static_cast<LD>(Suruseg(tsb)) * Vs, Parh));
    v.LbArsebS = ws;
    v.LbHoatadS = Alfa_s;
    v.LbHoatbocsT = K;
    if (!WriteTexts) return;
    static const std::string degC = "\u00B0C";
    QLabel = SzHoteljesitmeny + "=" + FixedText(v.QLabel, 2, sep) + " kW";
    LbTKK = FixedText(v.LbTKK, 2, sep) + " " + degC;
    LbTSK = FixedText(v.LbTSK, 2, sep) + " " + degC;
    LbTomegaramK = FixedText(v.LbTomegaramK, 2, sep) + " kg/s";
    LbArsebK = FixedText(v.LbArsebK, 2, sep) + " m/s";
    LbHoatadK = FixedText(v.LbHoatadK, 0, sep) + " W/m2" + degC;
    LbTomegaramS = FixedText(v.LbTomegaramS, 2, sep) + " kg/s";
    LbArsebS = FixedText(v.LbArsebS, 2, sep) + " m/s";
    LbHoatadS = FixedText(v.LbHoatadS, 0, sep) + " W/m2" + degC;
    LbHoatbocsT = SzHoatbocsT + " " + FixedText(v.LbHoatbocsT, 0, sep) + " W/m2" + degC;
}

} // namespace rating

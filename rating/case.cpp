#include "rating/case.h"

namespace rating {

namespace {
void load(Model &m, const Case &c)
{
    m.Tipus = c.Tipus;
    m.tkb = c.tkb;
    m.MVk = c.MVk;
    m.tsb = c.tsb;
    m.MVs = c.MVs;
    m.Soros = c.Soros;
    m.Parh = c.Parh;
    m.CbMVkIndex = c.CbMVkIndex;
    m.CbMVsIndex = c.CbMVsIndex;
    m.Rf = c.Rf;
}
} // namespace

Drops drops(Model &m, const Case &c)
{
    load(m, c);
    Drops d;
    try {
        d.flowsOk = m.Terfaram_szamit();
        if (!d.flowsOk) return d;
        m.Delta_pk_szamit();
        m.Delta_ps_szamit();
    } catch (const ArithmeticError &) {
        d.faulted = true;
        return d;
    }
    d.refused = m.Delta_pk >= 10000 || m.Delta_ps >= 10000;
    d.temperaturesOk = m.Homerseklet_ok();
    // The run's kPa numbers: bar times 100 in extended precision, stored.
    d.jacketKPa = static_cast<double>(static_cast<long double>(m.Delta_pk) * 100);
    d.coilKPa = static_cast<double>(static_cast<long double>(m.Delta_ps) * 100);
    return d;
}

Rating rate(Model &m, const Case &c)
{
    load(m, c);
    m.WriteTexts = false;
    m.Values = {};
    Rating r;
    try {
        m.Szamitas();
    } catch (const ArithmeticError &e) {
        r.outcome = Rating::Outcome::Fault;
        r.fault = e.kind();
        return r;
    }
    if (m.Hiba) return r;
    r.outcome = Rating::Outcome::Rated;
    r.Q = m.Q;
    r.values = m.Values;
    return r;
}

} // namespace rating

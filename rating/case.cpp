#include "rating/case.h"

namespace rating {

Rating rate(Model &m, const Case &c)
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

#include "design/conditions.h"

#include <cmath>

namespace design {

BalanceResult designRequest(const Conditions &c, selection::Request &r)
{
    BalanceResult b;
    if (c.dutyKW && c.MVk && c.MVs && !c.tkk && !c.tsk) {
        b.values.dutyKW = *c.dutyKW;
        b.values.MVk = *c.MVk, b.values.MVs = *c.MVs;
        b.values.tkk = b.values.tsk = std::nan("");
    } else {
        b = balance(c);
        if (!b.ok()) return b;
    }
    r.tkb = c.tkb, r.tsb = c.tsb;
    r.CbMVkIndex = c.CbMVkIndex, r.CbMVsIndex = c.CbMVsIndex;
    r.dutyKW = b.values.dutyKW;
    r.MVk = b.values.MVk, r.MVs = b.values.MVs;
    return b;
}

} // namespace design

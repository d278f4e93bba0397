#include "selection/select.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace selection {

namespace {

using LD = long double;

rating::Case caseOf(const Request &r, int tipus, int soros, int parh)
{
    rating::Case c;
    c.Tipus = tipus;
    c.Soros = soros;
    c.Parh = parh;
    c.MVk = r.MVk;
    c.CbMVkIndex = r.CbMVkIndex;
    c.tkb = r.tkb;
    c.MVs = r.MVs;
    c.CbMVsIndex = r.CbMVsIndex;
    c.tsb = r.tsb;
    return c;
}

// The request's own faults, before anything is rated.
Shortfall::Kind badRequest(const Request &r)
{
    using K = Shortfall::Kind;
    if (!(r.dutyKW > 0) || !std::isfinite(r.dutyKW)) return K::BadDuty;
    if (r.maxSeries < 1 || r.maxSeries > MaxCount || r.maxParallel < 1 || r.maxParallel > MaxCount)
        return K::BadCount;
    for (const auto &limit : {r.maxDpJacketKPa, r.maxDpCoilKPa})
        if (limit && !(*limit >= 0)) return K::BadLimit;
    if (std::none_of(r.types.begin(), r.types.end(), [](bool b) { return b; })) return K::NoType;
    return K::None;
}

bool reaches(const rating::Rating &rt, const Request &r)
{
    return rt.ok() && static_cast<LD>(rt.Q) >= 1000.0L * r.dutyKW;
}

bool withinLimits(const rating::Model::ResultValues &v, const Request &r)
{
    return (!r.maxDpJacketKPa || v.DPK <= *r.maxDpJacketKPa) && (!r.maxDpCoilKPa || v.DPS <= *r.maxDpCoilKPa);
}

Entry entryOf(const Request &r, int tipus, int soros, int parh, const rating::Rating &rt)
{
    Entry e;
    e.Tipus = tipus;
    e.Soros = soros;
    e.Parh = parh;
    e.units = soros * parh;
    e.surfaceM2 = static_cast<double>(static_cast<LD>(rating::Adat(rating::cF, tipus)) * soros * parh);
    e.dutyKW = rt.values.QLabel;
    e.marginPercent = static_cast<double>((static_cast<LD>(rt.Q) / (1000.0L * r.dutyKW) - 1) * 100);
    e.values = rt.values;
    return e;
}

void order(std::vector<Entry> &entries)
{
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.surfaceM2 != b.surfaceM2) return a.surfaceM2 < b.surfaceM2;
        if (a.units != b.units) return a.units < b.units;
        if (a.Tipus != b.Tipus) return a.Tipus < b.Tipus;
        return a.Parh < b.Parh;
    });
}

} // namespace

double capacityLimitKW(const Request &r)
{
    const LD vk = r.CbMVkIndex == 1 ? static_cast<LD>(r.MVk) / 3600 : static_cast<LD>(r.MVk) * 6 / 360000;
    const LD vs = r.CbMVsIndex == 1 ? static_cast<LD>(r.MVs) / 3600 : static_cast<LD>(r.MVs) * 6 / 360000;
    // Each side's rate at full approach: specific heat at the mean of the two inlets.
    const double cp = rating::Fajho(static_cast<double>((static_cast<LD>(r.tkb) + r.tsb) / 2));
    const LD wk = rating::Suruseg(r.tkb) * vk * cp;
    const LD ws = rating::Suruseg(r.tsb) * vs * cp;
    return static_cast<double>(std::min(wk, ws) * fabsl(static_cast<LD>(r.tkb) - r.tsb) / 1000);
}

Result selectByScan(const Request &r)
{
    Result out;
    out.why.kind = badRequest(r);
    if (out.why.kind != Shortfall::Kind::None) return out;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    bool anyRated = false, anyReached = false;
    double best = -1, minDpK = nan, minDpS = nan;
    rating::Model state;
    for (int t = 0; t < rating::TipusCount; ++t) {
        if (!r.types[static_cast<std::size_t>(t)]) continue;
        for (int p = 1; p <= r.maxParallel; ++p) {
            for (int s = 1; s <= r.maxSeries; ++s) {
                const rating::Rating rt = rating::rate(state, caseOf(r, t, s, p));
                if (!rt.ok()) continue;
                anyRated = true;
                if (rt.values.QLabel > best || best < 0) {
                    best = rt.values.QLabel;
                    out.why.bestTipus = t, out.why.bestSoros = s, out.why.bestParh = p;
                }
                if (!reaches(rt, r)) continue;
                anyReached = true;
                if (withinLimits(rt.values, r)) {
                    out.entries.push_back(entryOf(r, t, s, p, rt));
                } else {
                    if (r.maxDpJacketKPa && !(rt.values.DPK >= minDpK)) minDpK = rt.values.DPK;
                    if (r.maxDpCoilKPa && !(rt.values.DPS >= minDpS)) minDpS = rt.values.DPS;
                }
                break; // a larger s only raises both drops
            }
        }
    }
    order(out.entries);
    if (!out.entries.empty()) return out;
    if (!anyRated) {
        out.why.kind = Shortfall::Kind::NoRating;
    } else if (anyReached) {
        out.why.kind = Shortfall::Kind::PressureLimit;
        out.why.minDpJacketKPa = minDpK;
        out.why.minDpCoilKPa = minDpS;
    } else {
        out.why.bestDutyKW = best;
        out.why.capacityKW = capacityLimitKW(r);
        out.why.kind = static_cast<LD>(r.dutyKW) > out.why.capacityKW ? Shortfall::Kind::BeyondCapacity
                                                                       : Shortfall::Kind::NotReached;
    }
    return out;
}

Result select(const Request &r) { return selectByScan(r); }

} // namespace selection

#include "selection/select.h"

#include "selection/ceiling.h"

#include "rating/fields.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace selection {

namespace {

using LD = long double;
using K = Shortfall::Kind;

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
    c.Rf = r.Rf;
    return c;
}

// The request's own faults, before anything is rated.
K badRequest(const Request &r)
{
    if (!(r.dutyKW >= MinDutyKW && r.dutyKW <= MaxDutyKW)) return K::BadDuty;
    if (r.maxSeries < 1 || r.maxSeries > MaxCount || r.maxParallel < 1 || r.maxParallel > MaxCount)
        return K::BadCount;
    for (const auto &limit : {r.maxDpJacketKPa, r.maxDpCoilKPa})
        if (limit && !(*limit >= 0)) return K::BadLimit;
    if (!(r.Rf >= rating::MinFouling && r.Rf <= rating::MaxFouling)) return K::BadFouling;
    if (!(r.marginPercent >= 0 && r.marginPercent <= MaxMarginPercent)) return K::BadMargin;
    if (std::none_of(r.types.begin(), r.types.end(), [](bool b) { return b; })) return K::NoType;
    return K::None;
}

// The required duty, W. 1000 times a double is exact in the 64-bit mantissa.
LD required(const Request &r) { return 1000.0L * r.dutyKW; }

// The duty to reach, W: the required one with the design margin (without
// one, exactly the required one).
LD target(const Request &r) { return required(r) * (1 + static_cast<LD>(r.marginPercent) / 100); }

bool reaches(const rating::Rating &rt, const Request &r) { return rt.ok() && static_cast<LD>(rt.Q) >= target(r); }

bool keepsJacket(double dpk, const Request &r) { return !r.maxDpJacketKPa || dpk <= *r.maxDpJacketKPa; }
bool keepsCoil(double dps, const Request &r) { return !r.maxDpCoilKPa || dps <= *r.maxDpCoilKPa; }
bool withinLimits(double dpk, double dps, const Request &r) { return keepsJacket(dpk, r) && keepsCoil(dps, r); }

Entry entryOf(const Request &r, int tipus, int soros, int parh, const rating::Rating &rt)
{
    Entry e;
    e.Tipus = tipus;
    e.Soros = soros;
    e.Parh = parh;
    e.units = soros * parh;
    e.surfaceM2 = static_cast<double>(static_cast<LD>(rating::Adat(rating::cF, tipus)) * soros * parh);
    e.dutyKW = rt.values.QLabel;
    e.marginPercent = static_cast<double>((static_cast<LD>(rt.Q) / required(r) - 1) * 100);
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

// The drops of the fewest units in series that reach the duty, for each
// type and parallel count where some count does.
struct Reached {
    double dpk, dps;
};

// PressureLimit's two numbers from the arrangements that reach the duty
// (none of them keeps both limits).
void pressureShortfall(const std::vector<Reached> &reached, const Request &r, Shortfall &why)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto smallest = [&](bool jacket) {
        double keepingOther = nan, any = nan;
        for (const Reached &a : reached) {
            const double own = jacket ? a.dpk : a.dps;
            if (jacket ? keepsJacket(a.dpk, r) : keepsCoil(a.dps, r)) continue;
            const bool other = jacket ? keepsCoil(a.dps, r) : keepsJacket(a.dpk, r);
            if (!(own >= any)) any = own;
            if (other && !(own >= keepingOther)) keepingOther = own;
        }
        return std::isnan(keepingOther) ? any : keepingOther;
    };
    why.kind = K::PressureLimit;
    why.minDpJacketKPa = smallest(true);
    why.minDpCoilKPa = smallest(false);
}

// The shortfall once nothing is listed.
void finish(Result &out, const Request &r, bool anyRated, const std::vector<Reached> &reached)
{
    if (!out.entries.empty()) return;
    if (!anyRated) {
        out.why.kind = K::NoRating;
    } else if (!reached.empty()) {
        pressureShortfall(reached, r, out.why);
    } else {
        out.why.capacityKW = capacityLimitKW(r);
        out.why.kind = target(r) / 1000 > out.why.capacityKW ? K::BeyondCapacity : K::NotReached;
    }
}

// ---------------------------------------------------------------- the fast search
//
// It gives the scan's Result because it computes the same three things the
// scan does, and rates every arrangement whose rating could change them:
//
// 1. For each type and parallel count, the fewest units in series s* that
//    reach the duty. The duty is no monotone function of s (an early stop of
//    the iteration can put one count some watts above the next), so s* is
//    not bisected. What is exact instead: the pressure drops are
//    non-decreasing in s (the drop of one unit times s, rounded), so the
//    counts whose drops the run refuses (10000 bar) form a tail, as do those
//    beyond a limit; and the ceiling (ceiling.h) bounds the duty of every
//    rating from above, for one count or a range of them. A count whose
//    ceiling is below the duty cannot reach it. So the search goes through
//    the counts from 1 upward as the scan does, leaves out every range of
//    counts whose ceiling is below the duty, rates the others in order and
//    stops at the first that reaches it, as the scan does; or at the end of
//    the counts that could be listed: beyond them nothing is listed, and the
//    rest of the scan matters only when nothing at all is (then it is
//    finished, from where it stopped).
// 2. Whether any arrangement is rated at all, by finding one that is.
// 3. Where nothing reaches the duty below the capacity limit, the largest
//    duty and the first arrangement with it. A lower bound G of it comes from
//    the ratings made; a range of counts whose ceiling is below G holds no
//    arrangement with the largest duty nor one that ties with it; all others
//    are rated.
class FastSearch {
public:
    explicit FastSearch(const Request &r) : r_(r), ceiling_(r), S_(r.maxSeries) {}

    Result run()
    {
        Result out;
        seqs_.reserve(static_cast<std::size_t>(rating::TipusCount * r_.maxParallel));
        out.entries.reserve(seqs_.capacity());
        cache_.assign(seqs_.capacity() * static_cast<std::size_t>(S_), unrated());
        // Phase 1: for each type and parallel count, the counts that could be listed.
        for (int t = 0; t < rating::TipusCount; ++t) {
            if (!r_.types[static_cast<std::size_t>(t)]) continue;
            for (int p = 1; p <= r_.maxParallel; ++p) {
                seqs_.push_back(prepare(t, p));
                const std::size_t i = seqs_.size() - 1;
                Seq &q = seqs_[i];
                if (q.next > q.lim) continue;
                const int s = firstReaching(i, q.next, q.lim);
                if (s) found(i, s, &out);
                else q.next = q.lim + 1;
            }
        }
        if (!out.entries.empty()) {
            order(out.entries);
            return out;
        }
        // Phase 2: nothing is listed; the rest of each scan.
        std::vector<Reached> reached;
        for (std::size_t i = 0; i < seqs_.size(); ++i) {
            Seq &q = seqs_[i];
            if (!q.found && q.next <= q.top) {
                arrange(i);
                if (const int s = firstReaching(i, q.next, q.top)) found(i, s, nullptr);
            }
            if (q.found) reached.push_back({q.dpk, q.dps});
        }
        const bool anyRated = anyRated_ || findRated();
        finish(out, r_, anyRated, reached);
        if (out.why.kind == K::NotReached) best(out.why);
        return out;
    }

private:
    struct Seq {
        int t = 0, p = 1;
        int top = 0;  // counts above this are refused for their pressure drops
        int lim = 0;  // counts up to this keep both limits (<= top)
        int next = 1; // the counts below this are rated or cannot reach the duty
        bool found = false;
        double dpk = 0, dps = 0; // drops of the first count that reaches
    };

    static double unrated() { return std::numeric_limits<double>::quiet_NaN(); }
    static double refused() { return -std::numeric_limits<double>::infinity(); }

    double &cell(std::size_t i, int s) { return cache_[i * static_cast<std::size_t>(S_) + static_cast<std::size_t>(s - 1)]; }

    void arrange(std::size_t i)
    {
        if (arranged_ != i) ceiling_.arrange(seqs_[i].t, seqs_[i].p);
        arranged_ = i;
    }

    rating::Rating rateAt(std::size_t i, int s)
    {
        const rating::Rating rt = rating::rate(m_, caseOf(r_, seqs_[i].t, s, seqs_[i].p));
        cell(i, s) = rt.ok() ? rt.Q : refused();
        anyRated_ = anyRated_ || rt.ok();
        if (reaches(rt, r_)) reaching_ = rt;
        return rt;
    }

    void found(std::size_t i, int s, Result *out)
    {
        Seq &q = seqs_[i];
        q.found = true;
        q.dpk = reaching_.values.DPK, q.dps = reaching_.values.DPS;
        if (out && withinLimits(q.dpk, q.dps, r_)) out->entries.push_back(entryOf(r_, q.t, s, q.p, reaching_));
    }

    // Calls visit(s) for the counts from a to b in order, leaving out the
    // ranges whose ceiling is below floor, until visit returns true.
    template <class Visit> bool sweep(int a, int b, LD floor, Visit visit)
    {
        struct Range {
            int x, y;
        } stack[64];
        int n = 0;
        stack[n++] = {a, b};
        while (n) {
            const Range g = stack[--n];
            if (g.x > g.y) continue;
            // A single count costs a rating, about what its ceiling costs.
            if (g.x == g.y) {
                if (visit(g.x)) return true;
                continue;
            }
            if (ceiling_.boundOver(g.x, g.y) < floor) continue;
            const int m = g.x + (g.y - g.x) / 2;
            stack[n++] = {m + 1, g.y};
            stack[n++] = {g.x, m};
        }
        return false;
    }

    // The first count from a to b that reaches the duty, or 0. The first two
    // are rated at once: the coarse ceiling has usually put a at s* already.
    int firstReaching(std::size_t i, int a, int b)
    {
        int s = a;
        for (; s <= b && s < a + 2; ++s)
            if (reaches(rateAt(i, s), r_)) return s;
        int hit = 0;
        sweep(s, b, target(r_), [&](int c) { return reaches(rateAt(i, c), r_) ? (hit = c, true) : false; });
        return hit;
    }

    // The largest count in [0, hi] for which ok holds, ok being true from 1
    // up to some count and false above it.
    template <class Ok> static int lastOf(int hi, Ok ok)
    {
        int lo = 0; // ok(lo) holds (0 stands for none)
        while (lo < hi) {
            const int mid = lo + (hi - lo + 1) / 2;
            if (ok(mid)) lo = mid;
            else hi = mid - 1;
        }
        return lo;
    }

    // A count in [1, top + 1] below which every coarse ceiling is under
    // `floor`: a gallop from 1 (it is usually 1) and a bisection. The coarse
    // ceiling rises with the count, but its rounding may make it dip by some
    // 1e-13 of itself, so the search looks for the first count whose
    // ceiling reaches a floor 1e-10 lower: every count before that has a
    // ceiling below it, and so all counts before it are below `floor`.
    int firstCeilingAtLeast(int top, LD floor) const
    {
        floor *= 1 - 1e-10L;
        if (top < 1) return 1;
        if (ceiling_.bound(1) >= floor) return 1;
        if (ceiling_.bound(top) < floor) return top + 1;
        int hi = 1;
        while (hi < top && ceiling_.bound(hi) < floor) hi = std::min(top, 2 * hi);
        int lo = hi / 2; // ceiling(lo) < floor, or lo = 0
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            if (ceiling_.bound(mid) < floor) lo = mid;
            else hi = mid;
        }
        return hi;
    }

    Seq prepare(int t, int p)
    {
        Seq q;
        q.t = t, q.p = p;
        auto dropsAt = [&](int s) { return rating::drops(m_, caseOf(r_, t, s, p)); };
        const rating::Drops first = dropsAt(1);
        if (!first.faulted && (!first.flowsOk || !first.temperaturesOk)) {
            q.top = q.lim = 0; // the run refuses the flows or the inlets at every count
        } else if (first.faulted) {
            q.top = q.lim = S_; // let the ratings say
        } else {
            q.top = dropsAt(S_).refused ? lastOf(S_ - 1, [&](int s) { return !dropsAt(s).refused; }) : S_;
            const bool limited = r_.maxDpJacketKPa || r_.maxDpCoilKPa;
            q.lim = !limited || q.top == 0 ? q.top : lastOf(q.top, [&](int s) {
                const rating::Drops d = dropsAt(s);
                return withinLimits(d.jacketKPa, d.coilKPa, r_);
            });
        }
        ceiling_.arrange(t, p);
        arranged_ = seqs_.size();
        q.next = firstCeilingAtLeast(q.top, target(r_));
        return q;
    }

    // Whether any arrangement is rated, when none rated so far is: the first
    // of the others that is.
    bool findRated()
    {
        for (std::size_t i = 0; i < seqs_.size(); ++i)
            for (int s = 1; s <= seqs_[i].top; ++s)
                if (std::isnan(cell(i, s)) && rateAt(i, s).ok()) return true;
        return false;
    }

    void best(Shortfall &why)
    {
        LD g = -std::numeric_limits<LD>::infinity();
        for (double v : cache_)
            if (std::isfinite(v)) g = std::max<LD>(g, v);
        // The largest count of each is its likely best: a better G first.
        for (std::size_t i = 0; i < seqs_.size(); ++i) {
            const int top = seqs_[i].top;
            if (top < 1 || !std::isnan(cell(i, top))) continue;
            arrange(i);
            if (ceiling_.bound(top) < g) continue;
            const rating::Rating rt = rateAt(i, top);
            if (rt.ok()) g = std::max<LD>(g, rt.Q);
        }
        double bestQ = -1;
        for (std::size_t i = 0; i < seqs_.size(); ++i) {
            const Seq &q = seqs_[i];
            arrange(i);
            const int from = firstCeilingAtLeast(q.top, g);
            sweep(from, q.top, g, [&](int s) {
                if (std::isnan(cell(i, s))) rateAt(i, s);
                return false;
            });
            for (int s = 1; s <= q.top; ++s) {
                const double v = cell(i, s);
                if (std::isfinite(v) && v > bestQ) {
                    bestQ = v;
                    why.bestTipus = q.t, why.bestSoros = s, why.bestParh = q.p;
                }
            }
        }
        why.bestDutyKW = static_cast<double>(static_cast<LD>(bestQ) / 1000);
    }

    const Request &r_;
    rating::Model m_;
    detail::DutyCeiling ceiling_;
    std::size_t arranged_ = static_cast<std::size_t>(-1); // the sequence the ceiling is arranged for
    const int S_;
    std::vector<Seq> seqs_;
    std::vector<double> cache_; // Q of each rated count, W; refused(): rated without a duty
    bool anyRated_ = false;     // some rating had a duty
    rating::Rating reaching_;   // the last rating that reached the duty
};

} // namespace

double requiredKW(const Request &r) { return static_cast<double>(target(r) / 1000); }

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
    if (out.why.kind != K::None) return out;

    bool anyRated = false;
    double bestQ = -1;
    int bestT = 0, bestS = 0, bestP = 0;
    std::vector<Reached> reached;
    rating::Model state;
    for (int t = 0; t < rating::TipusCount; ++t) {
        if (!r.types[static_cast<std::size_t>(t)]) continue;
        for (int p = 1; p <= r.maxParallel; ++p) {
            for (int s = 1; s <= r.maxSeries; ++s) {
                const rating::Rating rt = rating::rate(state, caseOf(r, t, s, p));
                if (!rt.ok()) continue;
                anyRated = true;
                if (rt.Q > bestQ) bestQ = rt.Q, bestT = t, bestS = s, bestP = p;
                if (!reaches(rt, r)) continue;
                if (withinLimits(rt.values.DPK, rt.values.DPS, r)) out.entries.push_back(entryOf(r, t, s, p, rt));
                else reached.push_back({rt.values.DPK, rt.values.DPS});
                break; // a larger s only raises both drops
            }
        }
    }
    order(out.entries);
    finish(out, r, anyRated, reached);
    if (out.why.kind == K::NotReached) {
        out.why.bestDutyKW = static_cast<double>(static_cast<LD>(bestQ) / 1000);
        out.why.bestTipus = bestT, out.why.bestSoros = bestS, out.why.bestParh = bestP;
    }
    return out;
}

Result select(const Request &r)
{
    Result out;
    out.why.kind = badRequest(r);
    if (out.why.kind != K::None) return out;
    return FastSearch(r).run();
}

} // namespace selection

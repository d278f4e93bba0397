// How the search finds the nearest value without rating the whole grid.
//
// The result as a function of the grid index is f = g + e: g is where the
// outlet-temperature iteration converges, a smooth function of the input,
// and e what its stop rule leaves (it stops once two passes agree in the
// whole watt, which they can do by coincidence after the second pass, some
// way from where it is heading). So f steps by small amounts and, where two
// passes coincide, a value lies off the curve.
//
// 1. Samples. At some 40 grid values of each piece of the field (evenly,
//    and closer together towards its ends, where flows and temperature
//    differences go to zero) the rating is made and its passes are run
//    again and on to convergence: that gives g there, the total change of
//    the passes from the second one on (a bound on |e| at that value) and
//    the range of the result over those passes. The largest total change
//    relative to the result's scale (the duty, or the outlet's distance
//    from its inlet), times four, with the rounding a duty can carry, bounds
//    |e| over the whole field: N.
// 2. Monotone stretches. Between neighbouring samples g is taken as
//    monotone unless the samples turn; at a turn the extremum of g is
//    found by bisection on the sign of its difference between neighbours.
// 3. Branch and bound over the stretches, best first. Between two rated
//    values of a stretch the result lies within 3N of their range; where
//    that does not settle it, within the range of the passes at both ends
//    (each pass's result moves one way between them, and a value between
//    stops after one of them); and an outlet whose ends stop after the same
//    pass with the same whole watts on the way lies between the ends'
//    outlets. A part whose bound cannot beat the best value found is left
//    out, others are halved (their middle rated) down to a few values,
//    which are all rated. The same search finds the smallest and largest
//    result where the target may be out of reach.
//
// The bounds rest on the smoothness of the passes between neighbouring
// values and on the samples; the tests hold the search against a rating of
// every value of the grid. Pressure drops come from no iteration: f = g and
// N = 0.
#include "design/reach.h"

#include "rating/fields.h"
#include "rating/model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <queue>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace design {

namespace {

using LD = long double;
using RK = ReachRefusal::Kind;
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

bool isDrop(Output o) { return o == Output::JacketDrop || o == Output::CoilDrop; }

// Whether the result can depend on the input at all: a side's pressure
// drop depends on its own flow only.
bool depends(Input in, Output out)
{
    if (out == Output::JacketDrop) return in == Input::JacketFlow;
    if (out == Output::CoilDrop) return in == Input::CoilFlow;
    return true;
}

// Why the installation is not rated, in the order of the run's checks.
ReachRefusal whyNotRated(const rating::Case &c)
{
    ReachRefusal r;
    r.kind = RK::NoRating;
    rating::Model m;
    const rating::Drops d = rating::drops(m, c);
    if (!d.flowsOk && !d.faulted) {
        r.reason = ReachRefusal::Reason::ZeroFlow;
        r.coilSide = m.Vk > 0;
    } else if (d.refused) {
        r.reason = ReachRefusal::Reason::DropLimit;
        r.coilSide = !(m.Delta_pk >= 10000);
    } else if (c.tkb == c.tsb) {
        r.reason = ReachRefusal::Reason::EqualInlets;
    }
    return r;
}

// A key to minimise: the distance from the target (or the result itself
// for the smallest, its negative for the largest), then for ties the
// distance from the installation's own value, then the value.
using Key = std::tuple<LD, double, double>;
const Key worst{std::numeric_limits<LD>::infinity(), inf, inf};

enum class Goal { Nearest, Smallest, Largest };

class Search {
public:
    Search(const rating::Case &c, Input in, Output out, double target)
        : c_(c), in_(in), out_(out), target_(target), own_(inputOf(c, in))
    {
    }

    ReachResult run();

private:
    struct Probe {
        bool ok = false;
        double f = 0, g = 0, tv = 0;
        // The pass the rating stopped after, and the whole watts of the
        // duty after each pass up to it.
        int stop = 0;
        std::array<double, 16> watts{};
        // The range of the result over the passes the rating could have
        // stopped after (from the second on; the first too below 1 W).
        double lo = 0, hi = 0;
        // The rounding a duty may carry: its balances rest on temperature
        // differences, which lose digits as they shrink.
        double rounding = 0;
    };
    struct Node {
        Key lb;
        long x, y;
        bool operator>(const Node &o) const { return lb > o.lb; }
    };

    double valueAt(long n) const { return gridValue(in_, n); }

    // The result at grid index n (NaN where the installation is not rated).
    double at(long n)
    {
        const auto it = cache_.find(n);
        if (it != cache_.end()) return it->second;
        rating::Case c = c_;
        setInput(c, in_, valueAt(n));
        const rating::Rating r = rating::rate(m_, c);
        const double f = r.ok() ? outputOf(r.values, out_) : NaN;
        cache_.emplace(n, f);
        return f;
    }

    // The two duties a pass chooses from (Q_szamit), kW.
    std::pair<double, double> dutyCandidates() const
    {
        const LD kf = static_cast<LD>(m_.K) * rating::Adat(rating::cF, m_.Tipus) * m_.Soros * m_.Parh * m_.Delta_tm;
        const LD mean = (static_cast<LD>(rating::sideDuty(m_.tkb, m_.tkk, m_.Vk, rating::Suruseg(m_.tkb))) +
                         rating::sideDuty(m_.tsb, m_.tsk, m_.Vs, rating::Suruseg(m_.tsb))) / 2;
        return {static_cast<double>(kf / 1000), static_cast<double>(mean / 1000)};
    }

    // The result's number in a state after a pass.
    double passValue() const
    {
        switch (out_) {
        case Output::Duty: return static_cast<double>(static_cast<LD>(m_.Q) / 1000);
        case Output::JacketOutlet: return m_.tkk;
        case Output::CoilOutlet: return m_.tsk;
        default: return NaN;
        }
    }

    Probe probe(long n)
    {
        const auto it = probes_.find(n);
        if (it != probes_.end()) return it->second;
        Probe p;
        rating::Case c = c_;
        setInput(c, in_, valueAt(n));
        const rating::Rating r = rating::rate(m_, c);
        p.ok = r.ok();
        p.f = p.g = p.ok ? outputOf(r.values, out_) : NaN;
        p.stop = m_.Passes;
        if (p.ok && out_ == Output::Duty) {
            double dt = std::min(std::fabs(m_.tkb - m_.tkk), std::fabs(m_.tsb - m_.tsk));
            if (m_.Delta_tmin > 0) dt = std::min(dt, m_.Delta_tmin);
            const double u = ulp(std::max(std::fabs(m_.tkb), std::fabs(m_.tsb)));
            p.rounding = std::fabs(p.f) * std::min(1.0, 1e-12 + 64 * u / std::max(dt, 1e-300));
        }
        cache_.emplace(n, p.f);
        if (p.ok && !isDrop(out_)) {
            // The passes again from the start values, and on past the stop.
            m_.Q = 0, m_.Q_elozo = -1, m_.tkk = m_.tsb, m_.tsk = m_.tkb;
            double prev = NaN, q1 = 0;
            double last[3] = {NaN, NaN, NaN};
            try {
                for (int k = 1; k <= 200; ++k) {
                    m_.OnePass();
                    const double v = passValue();
                    if (k == 1) q1 = m_.Q;
                    if (k <= p.stop && k <= static_cast<int>(p.watts.size())) p.watts[k - 1] = std::trunc(m_.Q);
                    // The stop can come after the first pass only below 1 W.
                    if (k >= 3 || (k == 2 && q1 < 1)) p.tv += std::fabs(v - prev);
                    if (k == 2) p.lo = p.hi = q1 < 1 ? prev : v;
                    if (k >= 2) {
                        p.lo = std::min(p.lo, v), p.hi = std::max(p.hi, v);
                        if (out_ == Output::Duty) {
                            // The duty of a pass is one of two: the rate
                            // equation's or the mean of the balances; a
                            // value between x and y may take the other.
                            const auto [a, b] = dutyCandidates();
                            p.lo = std::min({p.lo, a, b}), p.hi = std::max({p.hi, a, b});
                        }
                    }
                    const double step = std::fabs(v - prev);
                    prev = v;
                    // Settled to some 1e-11: the passes still to come move
                    // the result by less than twice the last step.
                    auto still = [](double a, double b) { return std::fabs(a - b) <= 1e-11 * (std::fabs(a) + 1); };
                    if (k > std::max(p.stop, 1) && still(m_.Q, last[0]) && still(m_.tkk, last[1]) &&
                        still(m_.tsk, last[2])) {
                        p.tv += 2 * step;
                        p.lo = std::min(p.lo, v - 2 * step), p.hi = std::max(p.hi, v + 2 * step);
                        break;
                    }
                    last[0] = m_.Q, last[1] = m_.tkk, last[2] = m_.tsk;
                }
                p.g = prev;
                if (!(p.lo <= p.f && p.f <= p.hi)) p.lo = std::min(p.lo, p.f), p.hi = std::max(p.hi, p.f);
            } catch (const rating::ArithmeticError &) {
                p.tv = inf, p.lo = -inf, p.hi = inf;
            }
        }
        probes_.emplace(n, p);
        return p;
    }

    // The inlet of the result's side at n, and the two inlets' range over [x, y].
    double ownInlet(long n) const
    {
        if (out_ == Output::JacketOutlet) return in_ == Input::JacketInlet ? valueAt(n) : c_.tkb;
        return in_ == Input::CoilInlet ? valueAt(n) : c_.tsb;
    }
    void inletRange(long x, long y, double &lo, double &hi) const
    {
        double a = c_.tkb, b = c_.tsb;
        lo = std::min(a, b), hi = std::max(a, b);
        if (in_ == Input::JacketInlet || in_ == Input::CoilInlet) {
            const double other = in_ == Input::JacketInlet ? c_.tsb : c_.tkb;
            lo = std::min(other, valueAt(x)), hi = std::max(other, valueAt(y));
        }
    }

    // The scale the noise bound is relative to: the duty, or an outlet's
    // distance from its inlet.
    double scale(long n, double f) const
    {
        const double s = out_ == Output::Duty ? std::fabs(f) : std::fabs(f - ownInlet(n));
        return std::max(s, 1e-6);
    }

    // Bounds of the result inside (x, y), a part of a monotone stretch.
    void bounds(long x, long y, double &lo, double &hi)
    {
        const double fx = at(x), fy = at(y);
        lo = -inf, hi = inf;
        if (!std::isnan(fx) && !std::isnan(fy)) {
            double sc = std::max(scale(x, fx), scale(y, fy));
            if (out_ != Output::Duty && ownInletVaries()) sc += valueAt(y) - valueAt(x);
            const double n3 = 3 * noise(sc, std::max(std::fabs(fx), std::fabs(fy)));
            lo = std::min(fx, fy) - n3, hi = std::max(fx, fy) + n3;
        }
        // What the rating can give at all: a duty or a drop of at least 0,
        // outlets between the inlets (to some units of the last place).
        if (out_ == Output::JacketOutlet || out_ == Output::CoilOutlet) {
            double a, b;
            inletRange(x, y, a, b);
            lo = std::max(lo, a - 8 * ulp(a)), hi = std::min(hi, b + 8 * ulp(b));
        } else {
            lo = std::max(lo, 0.0);
        }
    }
    static double ulp(double t) { return std::nextafter(std::fabs(t), inf) - std::fabs(t); }
    bool ownInletVaries() const
    {
        return (out_ == Output::JacketOutlet && in_ == Input::JacketInlet) ||
               (out_ == Output::CoilOutlet && in_ == Input::CoilInlet);
    }
    // The bound on what the stop rule leaves, for a result of scale sc and
    // magnitude f: four times the samples' largest bound relative to the
    // scale, four times the largest rounding of a sampled duty relative to
    // it, and two units in the last place of f.
    double noise(double sc, double f) const
    {
        return isDrop(out_) ? 0 : 4 * rho_ * sc + 4 * roundingRho_ * std::fabs(f) + 2 * ulp(f);
    }

    Key keyOf(Goal goal, long n, double f) const
    {
        if (std::isnan(f)) return worst;
        switch (goal) {
        case Goal::Smallest: return {f, 0, 0};
        case Goal::Largest: return {-static_cast<LD>(f), 0, 0};
        default: break;
        }
        const double v = valueAt(n);
        return {fabsl(static_cast<LD>(f) - target_), std::fabs(v - own_), v};
    }

    Key keyOf(Goal goal, long x, long y, double lo, double hi) const
    {
        switch (goal) {
        case Goal::Smallest: return {lo, 0, 0};
        case Goal::Largest: return {-static_cast<LD>(hi), 0, 0};
        default: break;
        }
        const LD err = target_ < lo ? lo - static_cast<LD>(target_) : target_ > hi ? target_ - static_cast<LD>(hi) : 0;
        const double a = valueAt(x + 1), b = valueAt(y - 1);
        const double dist = own_ < a ? a - own_ : own_ > b ? own_ - b : 0;
        return {err, dist, a};
    }

    // A lower bound of the goal's key inside (x, y); where the noise bound
    // leaves it below `best`, the tighter bound of a common stop is tried.
    Key lowerBound(Goal goal, long x, long y, const Key &best)
    {
        double lo, hi;
        bounds(x, y, lo, hi);
        Key k = keyOf(goal, x, y, lo, hi);
        if (k < best && !isDrop(out_)) {
            const Probe a = probe(x), b = probe(y);
            if (a.ok && b.ok) {
                // Each pass's result moves one way between x and y, so
                // whatever pass a value between stops after, its result
                // lies within what the passes give at the ends.
                // Plus the rounding of a duty from a small temperature
                // change (its relative error grows as that change shrinks).
                const double top = std::max(std::fabs(a.hi), std::fabs(b.hi));
                const double w = out_ == Output::Duty ? std::max(a.rounding, b.rounding) : 4 * ulp(top);
                lo = std::max(lo, std::min(a.lo, b.lo) - w), hi = std::min(hi, std::max(a.hi, b.hi) + w);
                k = keyOf(goal, x, y, lo, hi);
            }
        }
        if (k < best && (out_ == Output::JacketOutlet || out_ == Output::CoilOutlet) && sameStop(x, y)) {
            const double fx = at(x), fy = at(y);
            lo = std::max(lo, std::min(fx, fy)), hi = std::min(hi, std::max(fx, fy));
            k = keyOf(goal, x, y, lo, hi);
        }
        return k;
    }

    // Whether every value between x and y stops after the same pass as
    // both ends: the ends stop after the same pass with the same whole
    // watts after each pass up to it, so (each pass's duty moving one way
    // between them) no value between crosses a whole watt either, and the
    // outlet there is that pass's, between the ends' outlets. (Not for the
    // duty: within one pass it is the smaller of the rate equation's and the
    // balances' duty, which may turn back by some 1e-6 of itself.)
    bool sameStop(long x, long y)
    {
        const Probe a = probe(x), b = probe(y);
        if (!a.ok || !b.ok || a.stop != b.stop || a.stop > static_cast<int>(a.watts.size())) return false;
        return std::equal(a.watts.begin(), a.watts.begin() + a.stop, b.watts.begin());
    }

    // The best grid index for the goal over all stretches (none where
    // nothing is rated).
    std::optional<long> branchAndBound(Goal goal, Key &best)
    {
        std::optional<long> bestN;
        best = worst;
        auto consider = [&](long n) {
            const Key k = keyOf(goal, n, at(n));
            if (k < best) best = k, bestN = n;
        };
        std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
        for (const auto &[x, y] : stretches_) consider(x), consider(y);
        for (const auto &[x, y] : stretches_)
            if (y - x > 1) queue.push({lowerBound(goal, x, y, best), x, y});
        while (!queue.empty()) {
            const Node node = queue.top();
            queue.pop();
            if (!(node.lb < best)) break;
            if (node.y - node.x <= 8) {
                for (long n = node.x + 1; n < node.y; ++n) consider(n);
                continue;
            }
            const long mid = node.x + (node.y - node.x) / 2;
            consider(mid);
            for (const auto &[a, b] : {std::pair{node.x, mid}, std::pair{mid, node.y}}) {
                if (b - a <= 1) continue;
                const Key lb = lowerBound(goal, a, b, best);
                if (lb < best) queue.push({lb, a, b});
            }
        }
        return bestN;
    }

    // The grid index in [l, r] where g is largest (or smallest), g being
    // unimodal there: bisection on the sign of its step.
    long extremum(long l, long r, bool largest)
    {
        auto beyond = [&](long n) { // the step from n to n + 1 no longer rises (falls)
            const Probe a = probe(n), b = probe(n + 1);
            if (!a.ok || !b.ok) return false;
            return largest ? b.g <= a.g : b.g >= a.g;
        };
        long lo = l, hi = r; // beyond(hi) holds by the samples' turn
        while (lo < hi) {
            const long mid = lo + (hi - lo) / 2;
            if (beyond(mid)) hi = mid;
            else lo = mid + 1;
        }
        return lo;
    }

    void samplePiece(long a, long b, std::vector<long> &out) const
    {
        const long len = b - a;
        for (int i = 0; i <= 16; ++i) out.push_back(a + len * i / 16);
        for (long d = 1; d < len / 16; d *= 2) {
            out.push_back(a + d);
            out.push_back(b - d);
        }
    }

    void stretchesOf(long a, long b);

    // Why no value is rated, at the smallest value of the field the rating
    // could take.
    ReachResult notRated() const
    {
        rating::Case c = c_;
        if (!samples_.empty()) setInput(c, in_, valueAt(samples_.front()));
        else if (in_ == Input::JacketFlow || in_ == Input::CoilFlow) setInput(c, in_, valueAt(1));
        ReachResult res;
        res.why = whyNotRated(c);
        return res;
    }

    bool constantSamples()
    {
        std::optional<Probe> first;
        for (long n : samples_) {
            const Probe p = probe(n);
            if (!p.ok) return false;
            if (!first) first = p;
            else if (p.f != first->f || p.g != first->g || p.tv != first->tv) return false;
        }
        return first.has_value();
    }

    // The grid value nearest the installation's own within the pieces.
    long nearestOwn() const
    {
        const double perUnit = in_ == Input::Fouling ? 1e7 : 100;
        const long below = static_cast<long>(std::floor(own_ * perUnit)), above = below + 1;
        long best = pieces_.front().first;
        for (const auto &[a, b] : pieces_)
            for (long n : {a, b, std::clamp(below, a, b), std::clamp(above, a, b)}) {
                const double d = std::fabs(valueAt(n) - own_), e = std::fabs(valueAt(best) - own_);
                if (d < e || (d == e && n < best)) best = n;
            }
        return best;
    }

    rating::Case c_;
    Input in_;
    Output out_;
    double target_;
    double own_;
    rating::Model m_;
    std::unordered_map<long, double> cache_;
    std::unordered_map<long, Probe> probes_;
    std::vector<std::pair<long, long>> pieces_;
    std::vector<std::pair<long, long>> stretches_;
    std::vector<long> samples_;
    double rho_ = 0;
    double roundingRho_ = 0; // the largest rounding of a sampled duty, relative to it
};

// Monotone stretches of one piece, from its samples.
void Search::stretchesOf(long a, long b)
{
    std::vector<long> ns;
    for (long n : samples_)
        if (n >= a && n <= b) ns.push_back(n);
    std::vector<long> bounds = ns;
    int dir = 0;
    std::size_t from = 0; // the sample where the last step in direction dir began
    std::size_t prev = 0; // the last rated sample
    bool havePrev = false;
    for (std::size_t i = 0; i < ns.size(); ++i) {
        const Probe p = probe(ns[i]);
        if (!p.ok) continue;
        if (!havePrev) {
            prev = i, havePrev = true;
            continue;
        }
        const Probe q = probe(ns[prev]);
        const double sc = std::max(scale(ns[prev], q.f), scale(ns[i], p.f));
        const double step = p.g - q.g;
        const double n = noise(sc, std::max(std::fabs(p.g), std::fabs(q.g)));
        const int d = std::fabs(step) > n ? (step > 0 ? 1 : -1) : 0;
        if (d != 0) {
            // A turn: g has its extremum after the last step the old way.
            if (dir != 0 && d != dir) bounds.push_back(extremum(ns[from], ns[i] - 1, dir > 0));
            from = prev;
            dir = d;
        }
        prev = i;
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) stretches_.push_back({bounds[i], bounds[i + 1]});
    if (bounds.size() == 1) stretches_.push_back({bounds[0], bounds[0]});
}

ReachResult Search::run()
{
    ReachResult res;
    // The pieces of the grid the rating can take: flows above 0 and below
    // the drop the run refuses (which rises with the side's own flow), the
    // inlets either side of the other inlet.
    const Grid grid = gridOf(in_);
    if (in_ == Input::JacketFlow || in_ == Input::CoilFlow) {
        rating::Model m;
        auto refused = [&](long n) {
            rating::Case c = c_;
            setInput(c, in_, valueAt(n));
            const rating::Drops d = rating::drops(m, c);
            const double own = in_ == Input::JacketFlow ? m.Delta_pk : m.Delta_ps;
            return d.flowsOk && own >= 10000;
        };
        long top = grid.last;
        if (refused(top)) {
            long lo = grid.first; // not refused (0: no drop at all)
            while (top - lo > 1) {
                const long mid = lo + (top - lo) / 2;
                if (refused(mid)) top = mid;
                else lo = mid;
            }
            top = lo;
        }
        if (top >= 1) pieces_.push_back({1, top});
    } else if (in_ == Input::JacketInlet || in_ == Input::CoilInlet) {
        const double other = in_ == Input::JacketInlet ? c_.tsb : c_.tkb;
        long k = static_cast<long>(std::floor(other * 100));
        while (k >= grid.first && valueAt(k) >= other) --k;
        while (k + 1 <= grid.last && valueAt(k + 1) < other) ++k;
        long j = k + 1;
        while (j <= grid.last && valueAt(j) <= other) ++j;
        if (k >= grid.first) pieces_.push_back({grid.first, std::min(k, grid.last)});
        if (j <= grid.last) pieces_.push_back({std::max(j, grid.first), grid.last});
    } else {
        pieces_.push_back({grid.first, grid.last});
    }

    // Samples, and the noise bound from them.
    for (const auto &[a, b] : pieces_) samplePiece(a, b, samples_);
    std::sort(samples_.begin(), samples_.end());
    samples_.erase(std::unique(samples_.begin(), samples_.end()), samples_.end());
    bool anyRated = false;
    bool below = false, above = false;
    for (long n : samples_) {
        const Probe p = probe(n);
        if (!p.ok) continue;
        anyRated = true;
        rho_ = std::max(rho_, p.tv / scale(n, p.f));
        if (p.f != 0) roundingRho_ = std::max(roundingRho_, p.rounding / std::fabs(p.f));
        below = below || p.f <= target_;
        above = above || p.f >= target_;
    }
    if (!anyRated) return notRated();
    // The same rating everywhere: where every sample's passes run alike
    // (the same result, the same convergence, the same way there), the
    // input does not reach the result, as when an effectiveness is held at
    // its limit whatever the fouling.
    if (constantSamples()) {
        const double v = probe(samples_.front()).f;
        if (v != target_) {
            res.why.kind = RK::Unaffected;
            res.why.value = v;
            return res;
        }
        stretches_.push_back({nearestOwn(), nearestOwn()});
    } else {
        for (const auto &[a, b] : pieces_) stretchesOf(a, b);
    }

    // Out of reach when every result lies on one side of the target.
    if (!below || !above) {
        Key lowKey, highKey;
        const std::optional<long> lowN = branchAndBound(Goal::Smallest, lowKey);
        const std::optional<long> highN = branchAndBound(Goal::Largest, highKey);
        if (!lowN || !highN) return notRated();
        const double low = at(*lowN), high = at(*highN);
        if (low == high) {
            res.why.kind = RK::Unaffected;
            res.why.value = low;
            return res;
        }
        if (!(low <= target_ && target_ <= high)) {
            res.why.kind = RK::Unreachable;
            res.why.low = low, res.why.high = high;
            return res;
        }
    }
    Key best;
    const std::optional<long> n = branchAndBound(Goal::Nearest, best);
    if (!n) return notRated();
    res.answer.index = *n;
    res.answer.value = valueAt(*n);
    res.answer.result = at(*n);
    rating::Case c = c_;
    setInput(c, in_, res.answer.value);
    res.answer.rating = rating::rate(m_, c);
    return res;
}

ReachRefusal badCase(CaseField f, double v)
{
    ReachRefusal r;
    r.kind = RK::BadCase;
    r.field = f;
    r.value = v;
    return r;
}

bool within(double x, double lo, double hi) { return x >= lo && x <= hi; }

} // namespace

Grid gridOf(Input input)
{
    switch (input) {
    case Input::JacketFlow:
    case Input::CoilFlow: return {0, 15000};
    case Input::JacketInlet:
    case Input::CoilInlet: return {-500, 15000};
    case Input::Fouling: return {0, 100000};
    }
    return {0, 0};
}

double gridValue(Input input, long n)
{
    // One correctly rounded division: the double a text of the value reads as.
    return input == Input::Fouling ? static_cast<double>(n) / 1e7 : static_cast<double>(n) / 100;
}

double inputOf(const rating::Case &c, Input input)
{
    switch (input) {
    case Input::JacketFlow: return c.MVk;
    case Input::CoilFlow: return c.MVs;
    case Input::JacketInlet: return c.tkb;
    case Input::CoilInlet: return c.tsb;
    case Input::Fouling: return c.Rf;
    }
    return NaN;
}

void setInput(rating::Case &c, Input input, double value)
{
    switch (input) {
    case Input::JacketFlow: c.MVk = value; break;
    case Input::CoilFlow: c.MVs = value; break;
    case Input::JacketInlet: c.tkb = value; break;
    case Input::CoilInlet: c.tsb = value; break;
    case Input::Fouling: c.Rf = value; break;
    }
}

double outputOf(const rating::Model::ResultValues &v, Output output)
{
    switch (output) {
    case Output::Duty: return v.QLabel;
    case Output::JacketOutlet: return v.LbTKK;
    case Output::CoilOutlet: return v.LbTSK;
    case Output::JacketDrop: return v.DPK;
    case Output::CoilDrop: return v.DPS;
    }
    return NaN;
}

ReachResult reach(const rating::Case &c, Input vary, Output result, double target)
{
    ReachResult res;
    if (c.Tipus < 0 || c.Tipus >= rating::TipusCount) res.why = badCase(CaseField::Type, c.Tipus);
    else if (c.Soros < 1 || c.Soros > 150) res.why = badCase(CaseField::Series, c.Soros);
    else if (c.Parh < 1 || c.Parh > 150) res.why = badCase(CaseField::Parallel, c.Parh);
    else if (!within(c.MVk, rating::MinFlow, rating::MaxFlow)) res.why = badCase(CaseField::JacketFlow, c.MVk);
    else if (!within(c.MVs, rating::MinFlow, rating::MaxFlow)) res.why = badCase(CaseField::CoilFlow, c.MVs);
    else if (!within(c.tkb, rating::MinInlet, rating::MaxInlet)) res.why = badCase(CaseField::JacketInlet, c.tkb);
    else if (!within(c.tsb, rating::MinInlet, rating::MaxInlet)) res.why = badCase(CaseField::CoilInlet, c.tsb);
    else if (!within(c.Rf, rating::MinFouling, rating::MaxFouling)) res.why = badCase(CaseField::Fouling, c.Rf);
    else if (!std::isfinite(target)) res.why.kind = RK::BadTarget;
    if (!res.ok()) return res;
    if (!depends(vary, result)) {
        res.why.kind = RK::Unaffected;
        rating::Model m;
        const rating::Drops d = rating::drops(m, c);
        res.why.value = !d.flowsOk || d.faulted ? NaN : result == Output::JacketDrop ? d.jacketKPa : d.coilKPa;
        return res;
    }
    return Search(c, vary, result, target).run();
}

} // namespace design

// The selection engine: the plain scan against the definition of what is
// listed and why nothing is, the duty ceiling against ratings, and the fast
// search against the scan on seeded random requests.
#include "selection/ceiling.h"
#include "selection/explain.h"
#include "selection/select.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

using namespace selection;
using K = Shortfall::Kind;

namespace {

rating::Case caseOf(const Request &r, int t, int s, int p)
{
    rating::Case c;
    c.Tipus = t, c.Soros = s, c.Parh = p;
    c.MVk = r.MVk, c.CbMVkIndex = r.CbMVkIndex, c.tkb = r.tkb;
    c.MVs = r.MVs, c.CbMVsIndex = r.CbMVsIndex, c.tsb = r.tsb;
    c.Rf = r.Rf;
    return c;
}

std::string describe(const Request &r)
{
    std::ostringstream o;
    o.precision(17);
    o << "jacket " << r.MVk << (r.CbMVkIndex ? " m3/h " : " l/min ") << r.tkb << " C, coil " << r.MVs
      << (r.CbMVsIndex ? " m3/h " : " l/min ") << r.tsb << " C, duty " << r.dutyKW << " kW + " << r.marginPercent
      << " %, fouling " << r.Rf << ", " << r.maxSeries << " x "
      << r.maxParallel << ", limits " << (r.maxDpJacketKPa ? std::to_string(*r.maxDpJacketKPa) : "-") << " / "
      << (r.maxDpCoilKPa ? std::to_string(*r.maxDpCoilKPa) : "-") << ", types";
    for (bool b : r.types) o << ' ' << b;
    return o.str();
}

bool bitwise(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

// Field by field, each number to the bit.
void expectSame(const Result &a, const Result &b)
{
    ASSERT_EQ(a.entries.size(), b.entries.size());
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        const Entry &x = a.entries[i], &y = b.entries[i];
        ASSERT_TRUE(x.Tipus == y.Tipus && x.Soros == y.Soros && x.Parh == y.Parh && x.units == y.units) << i;
        ASSERT_TRUE(bitwise(x.surfaceM2, y.surfaceM2) && bitwise(x.dutyKW, y.dutyKW) &&
                    bitwise(x.marginPercent, y.marginPercent))
            << i;
        ASSERT_EQ(std::memcmp(&x.values, &y.values, sizeof x.values), 0) << i;
    }
    const Shortfall &p = a.why, &q = b.why;
    EXPECT_EQ(p.kind, q.kind);
    EXPECT_TRUE(bitwise(p.capacityKW, q.capacityKW));
    EXPECT_TRUE(bitwise(p.bestDutyKW, q.bestDutyKW)) << p.bestDutyKW << " " << q.bestDutyKW;
    EXPECT_EQ(p.bestTipus, q.bestTipus);
    EXPECT_EQ(p.bestSoros, q.bestSoros);
    EXPECT_EQ(p.bestParh, q.bestParh);
    EXPECT_TRUE(bitwise(p.minDpJacketKPa, q.minDpJacketKPa));
    EXPECT_TRUE(bitwise(p.minDpCoilKPa, q.minDpCoilKPa));
}

Request defaults(double dutyKW, int counts = 10)
{
    Request r;
    r.dutyKW = dutyKW;
    r.maxSeries = r.maxParallel = counts;
    return r;
}

} // namespace

// The scan against the definition, written out over every arrangement: for
// each type and parallel count the fewest units in series that reach the
// duty, listed when both drops keep their limits, in the list's order, with
// the rating's numbers.
TEST(Scan, ListsTheFewestSeriesUnitsThatReachTheDuty)
{
    const struct {
        double duty;
        std::optional<double> dpk, dps;
    } rows[] = {{40, {}, {}}, {40, 30.0, {}}, {40, {}, 20.0}, {68, 60.0, 100.0}, {5, {}, {}}};
    rating::Model m;
    for (const auto &row : rows) {
        Request r = defaults(row.duty, 8);
        r.maxDpJacketKPa = row.dpk, r.maxDpCoilKPa = row.dps;
        SCOPED_TRACE(describe(r));
        std::vector<Entry> want;
        for (int t = 0; t < rating::TipusCount; ++t)
            for (int p = 1; p <= r.maxParallel; ++p)
                for (int s = 1; s <= r.maxSeries; ++s) {
                    const rating::Rating rt = rating::rate(m, caseOf(r, t, s, p));
                    if (!rt.ok() || rt.Q < 1000 * row.duty) continue;
                    if ((!row.dpk || rt.values.DPK <= *row.dpk) && (!row.dps || rt.values.DPS <= *row.dps)) {
                        Entry e;
                        e.Tipus = t, e.Soros = s, e.Parh = p, e.units = s * p;
                        e.surfaceM2 = static_cast<double>(static_cast<long double>(rating::Adat(rating::cF, t)) * s * p);
                        e.dutyKW = rt.values.QLabel;
                        e.marginPercent = static_cast<double>((rt.Q / (1000.0L * row.duty) - 1) * 100);
                        e.values = rt.values;
                        want.push_back(e);
                    }
                    break;
                }
        const Result got = selectByScan(r);
        ASSERT_EQ(got.why.kind, K::None);
        ASSERT_EQ(got.entries.size(), want.size());
        for (const Entry &e : want) {
            const auto it = std::find_if(got.entries.begin(), got.entries.end(), [&](const Entry &g) {
                return g.Tipus == e.Tipus && g.Parh == e.Parh;
            });
            ASSERT_NE(it, got.entries.end());
            EXPECT_EQ(it->Soros, e.Soros);
            EXPECT_EQ(it->units, e.units);
            EXPECT_TRUE(bitwise(it->surfaceM2, e.surfaceM2));
            EXPECT_TRUE(bitwise(it->dutyKW, e.dutyKW));
            EXPECT_TRUE(bitwise(it->marginPercent, e.marginPercent));
            EXPECT_EQ(std::memcmp(&it->values, &e.values, sizeof e.values), 0);
        }
        for (std::size_t i = 1; i < got.entries.size(); ++i) {
            const Entry &a = got.entries[i - 1], &b = got.entries[i];
            const auto ka = std::make_tuple(a.surfaceM2, a.units, a.Tipus, a.Parh);
            const auto kb = std::make_tuple(b.surfaceM2, b.units, b.Tipus, b.Parh);
            EXPECT_LT(ka, kb) << i;
        }
    }
}

TEST(Scan, SaysWhyNothingIsListed)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char *what;
        Request r;
        K kind;
    };
    auto with = [](auto change) {
        Request r = defaults(40);
        change(r);
        return r;
    };
    const Row rows[] = {
        {"duty 0", with([](Request &r) { r.dutyKW = 0; }), K::BadDuty},
        {"negative duty", with([](Request &r) { r.dutyKW = -3; }), K::BadDuty},
        {"duty no number", with([&](Request &r) { r.dutyKW = nan; }), K::BadDuty},
        {"infinite duty", with([&](Request &r) { r.dutyKW = inf; }), K::BadDuty},
        {"smallest double as the duty", with([](Request &r) { r.dutyKW = 4.9e-324; }), K::BadDuty},
        {"duty below the range", with([](Request &r) { r.dutyKW = std::nextafter(MinDutyKW, 0.0); }), K::BadDuty},
        {"duty above the range", with([](Request &r) { r.dutyKW = std::nextafter(MaxDutyKW, 1e300); }), K::BadDuty},
        {"duty 1e300", with([](Request &r) { r.dutyKW = 1e300; }), K::BadDuty},
        {"largest duty", with([](Request &r) { r.dutyKW = MaxDutyKW; }), K::BeyondCapacity},
        {"no series", with([](Request &r) { r.maxSeries = 0; }), K::BadCount},
        {"151 parallel", with([](Request &r) { r.maxParallel = 151; }), K::BadCount},
        {"negative limit", with([](Request &r) { r.maxDpCoilKPa = -1.0; }), K::BadLimit},
        {"limit no number", with([&](Request &r) { r.maxDpJacketKPa = nan; }), K::BadLimit},
        {"no type", with([](Request &r) { r.types.fill(false); }), K::NoType},
        {"negative fouling", with([](Request &r) { r.Rf = -1e-7; }), K::BadFouling},
        {"fouling above the field", with([](Request &r) { r.Rf = 0.0100001; }), K::BadFouling},
        {"fouling no number", with([&](Request &r) { r.Rf = nan; }), K::BadFouling},
        {"negative margin", with([](Request &r) { r.marginPercent = -1; }), K::BadMargin},
        {"margin above 100 %", with([](Request &r) { r.marginPercent = 100.5; }), K::BadMargin},
        {"margin no number", with([&](Request &r) { r.marginPercent = nan; }), K::BadMargin},
        {"no jacket flow", with([](Request &r) { r.MVk = 0; }), K::NoRating},
        {"no coil flow", with([](Request &r) { r.MVs = 0; }), K::NoRating},
        {"equal inlets", with([](Request &r) { r.tsb = r.tkb; }), K::NoRating},
        {"inlet above 150", with([](Request &r) { r.tkb = 150.5; }), K::NoRating},
        {"beyond capacity", with([](Request &r) { r.dutyKW = 80; }), K::BeyondCapacity},
        {"beyond capacity with the margin", with([](Request &r) { r.dutyKW = 65, r.marginPercent = 10; }),
         K::BeyondCapacity},
        {"beyond the counts", with([](Request &r) { r.dutyKW = 69, r.maxSeries = r.maxParallel = 1; }), K::NotReached},
        {"limit 0 excludes all", with([](Request &r) { r.maxDpJacketKPa = 0.0; }), K::PressureLimit},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const Result scan = selectByScan(row.r), fast = select(row.r);
        EXPECT_TRUE(scan.entries.empty());
        EXPECT_EQ(scan.why.kind, row.kind);
        expectSame(scan, fast);
    }

    // Beyond capacity: the limit, the smaller capacity rate (coil) times the
    // inlet difference.
    const Result beyond = selectByScan(with([](Request &r) { r.dutyKW = 80; }));
    EXPECT_TRUE(bitwise(beyond.why.capacityKW, capacityLimitKW(defaults(80))));
    EXPECT_NEAR(beyond.why.capacityKW, 998.003 / 3600 * rating::Fajho(50) * 60 / 1000, 1e-3);

    // Not reached: the largest duty among the considered arrangements and
    // the first one with it.
    Request few = with([](Request &r) { r.dutyKW = 69.2, r.maxSeries = 1, r.maxParallel = 2; });
    rating::Model m;
    double bestQ = -1;
    int bt = -1, bs = -1, bp = -1;
    for (int t = 0; t < 5; ++t)
        for (int p = 1; p <= few.maxParallel; ++p)
            for (int s = 1; s <= few.maxSeries; ++s) {
                const rating::Rating rt = rating::rate(m, caseOf(few, t, s, p));
                if (rt.ok() && rt.Q > bestQ) bestQ = rt.Q, bt = t, bs = s, bp = p;
            }
    const Result notReached = selectByScan(few);
    EXPECT_TRUE(bitwise(notReached.why.bestDutyKW, static_cast<double>(static_cast<long double>(bestQ) / 1000)));
    EXPECT_EQ(std::make_tuple(notReached.why.bestTipus, notReached.why.bestSoros, notReached.why.bestParh),
              std::make_tuple(bt, bs, bp));
    EXPECT_EQ(notReached.why.kind, K::NotReached);
    EXPECT_LT(notReached.why.bestDutyKW, few.dutyKW);
}

// With both sides limited, each side's number is the limit that would let
// an arrangement through with the other limit as it is.
// The smallest duty of the range is listed, with a finite margin.
TEST(Scan, SmallestDutyIsListed)
{
    const Result r = select(defaults(MinDutyKW));
    ASSERT_FALSE(r.entries.empty());
    for (const Entry &e : r.entries) EXPECT_TRUE(std::isfinite(e.marginPercent));
}

// Every sentence, in every language, shows each of its numbers: no empty
// text, no INF or NAN, whatever the numbers of the shortfall.
TEST(Explain, EveryNumberIsShown)
{
    const double big = std::numeric_limits<double>::max();
    for (double duty : {MinDutyKW, 40.5, MaxDutyKW})
        for (double other : {0.0, 1e-300, 69.555, 1e300, big}) {
            Request r = defaults(duty);
            Shortfall why;
            why.capacityKW = why.bestDutyKW = why.minDpJacketKPa = why.minDpCoilKPa = other;
            why.bestTipus = 4, why.bestSoros = 3, why.bestParh = 2;
            for (K kind : {K::BadDuty, K::BadCount, K::BadLimit, K::NoType, K::NoRating, K::BeyondCapacity,
                           K::NotReached, K::PressureLimit}) {
                why.kind = kind;
                for (int n = 0; n < 7; ++n)
                    for (const char *sep : {".", ","}) {
                        const std::string s = explain(r, why, n, sep);
                        SCOPED_TRACE(s);
                        ASSERT_FALSE(s.empty());
                        for (const char *word : {"INF", "NAN", "inf", "nan"}) EXPECT_EQ(s.find(word), std::string::npos);
                        for (const char *unit : {" kW", " kPa"})
                            for (std::size_t at = s.find(unit); at != std::string::npos; at = s.find(unit, at + 1))
                                EXPECT_TRUE(at > 0 && s[at - 1] != ' ' && s[at - 1] != '\t');
                    }
            }
        }
    // The largest double in full, every digit of it.
    const std::string text = rating::FixedText(big, 2);
    EXPECT_EQ(text.size(), 309u + 3u);
    EXPECT_EQ(text.substr(0, 17), "17976931348623157");
    EXPECT_EQ(text.substr(text.size() - 3), ".00");
    EXPECT_EQ(rating::FixedText(-big, 0).size(), 310u);
    const std::string e300 = rating::FixedText(1e300, 3, ",");
    EXPECT_EQ(e300.size(), 301u + 4u);
    EXPECT_EQ(e300.substr(0, 17) + e300.substr(301), "10000000000000000,000");
    EXPECT_EQ(rating::FixedText(std::numeric_limits<long double>::max(), 0).size(), 4933u);
    EXPECT_EQ(rating::FixedText(std::numeric_limits<double>::infinity(), 2), "INF");
    EXPECT_EQ(rating::FixedText(-std::numeric_limits<double>::infinity(), 2), "-INF");
    EXPECT_EQ(rating::FixedText(std::numeric_limits<double>::quiet_NaN(), 2), "NAN");
    // The range, in every language.
    Shortfall bad;
    bad.kind = K::BadDuty;
    for (int n = 0; n < 7; ++n) {
        const std::string s = explain(defaults(0), bad, n, ",");
        EXPECT_NE(s.find("0,001"), std::string::npos) << s;
        EXPECT_NE(s.find("100000"), std::string::npos) << s;
    }
}

TEST(Scan, PressureShortfallNamesTheLimitToRaise)
{
    Request base = defaults(40, 6);
    const Result open = selectByScan(base);
    ASSERT_FALSE(open.entries.empty());
    // The drops of the fewest units that reach 40 kW, for every type and
    // parallel count (all of them reach it within 6 x 6 here).
    std::vector<std::pair<double, double>> drops;
    for (const Entry &e : open.entries) drops.push_back({e.values.DPK, e.values.DPS});
    auto minOf = [&](auto keep) {
        double v = std::numeric_limits<double>::quiet_NaN();
        for (auto [k, s] : drops)
            if (keep(k, s) && !(k >= v)) v = k;
        return v;
    };
    struct Row {
        double limK, limS;
    };
    // Limits between the drops: some arrangements keep one limit, some the
    // other, none both; or every one exceeds both; or all keep one.
    const Row rows[] = {{20, 60}, {5, 10}, {1e9, 1}, {50, 30}};
    for (const Row &row : rows) {
        Request r = base;
        r.maxDpJacketKPa = row.limK, r.maxDpCoilKPa = row.limS;
        SCOPED_TRACE(describe(r));
        const Result got = selectByScan(r);
        bool anyKeepsBoth = false;
        for (auto [k, s] : drops) anyKeepsBoth = anyKeepsBoth || (k <= row.limK && s <= row.limS);
        if (anyKeepsBoth) {
            EXPECT_FALSE(got.entries.empty());
            continue;
        }
        ASSERT_EQ(got.why.kind, K::PressureLimit);
        auto expected = [&](bool jacket) {
            const double nan = std::numeric_limits<double>::quiet_NaN();
            double keepingOther = nan, any = nan;
            for (auto [k, s] : drops) {
                const double own = jacket ? k : s, other = jacket ? s : k;
                const double ownLim = jacket ? row.limK : row.limS, otherLim = jacket ? row.limS : row.limK;
                if (own <= ownLim) continue;
                if (!(own >= any)) any = own;
                if (other <= otherLim && !(own >= keepingOther)) keepingOther = own;
            }
            return std::isnan(keepingOther) ? any : keepingOther;
        };
        EXPECT_TRUE(bitwise(got.why.minDpJacketKPa, expected(true))) << got.why.minDpJacketKPa;
        EXPECT_TRUE(bitwise(got.why.minDpCoilKPa, expected(false))) << got.why.minDpCoilKPa;
        // Raising the named limit to its number lists something.
        for (bool jacket : {true, false}) {
            const double v = jacket ? got.why.minDpJacketKPa : got.why.minDpCoilKPa;
            if (std::isnan(v)) continue;
            Request raised = r;
            (jacket ? raised.maxDpJacketKPa : raised.maxDpCoilKPa) = v;
            const bool other = jacket ? !std::isnan(minOf([&](double, double s) { return s <= row.limS; }))
                                      : !std::isnan(minOf([&](double k, double) { return k <= row.limK; }));
            if (other) {
                EXPECT_FALSE(selectByScan(raised).entries.empty()) << (jacket ? "jacket" : "coil");
            }
        }
    }
}

// A design margin raises the duty the list requires, not the duty its
// margin column is relative to; a fouling resistance is every listed
// rating's.
TEST(Scan, MarginAndFouling)
{
    Request plain = defaults(44), margin = defaults(40);
    margin.marginPercent = 10;
    const Result a = selectByScan(plain), b = selectByScan(margin);
    ASSERT_FALSE(a.entries.empty());
    ASSERT_EQ(a.entries.size(), b.entries.size());
    rating::Model m;
    for (std::size_t i = 0; i < b.entries.size(); ++i) {
        const Entry &x = a.entries[i], &y = b.entries[i];
        EXPECT_TRUE(x.Tipus == y.Tipus && x.Soros == y.Soros && x.Parh == y.Parh) << i;
        EXPECT_GE(y.values.QLabel, 44);
        const rating::Rating rt = rating::rate(m, caseOf(margin, y.Tipus, y.Soros, y.Parh));
        EXPECT_TRUE(bitwise(y.marginPercent, static_cast<double>((static_cast<long double>(rt.Q) / 40000 - 1) * 100)))
            << i;
    }
    Request over = defaults(65);
    over.marginPercent = 10;
    const Result beyond = selectByScan(over);
    ASSERT_EQ(beyond.why.kind, K::BeyondCapacity);
    EXPECT_EQ(explain(over, beyond.why, 1).substr(0, 60), "No exchanger transfers 71.50 kW (65.00 kW + 10.00 %) with th");

    // More fouling: no arrangement needs fewer units; each listed rating is
    // that of its case with the fouling.
    Request clean = defaults(40), fouled = defaults(40);
    clean.Rf = 0, fouled.Rf = 0.001;
    const Result c = selectByScan(clean), f = selectByScan(fouled);
    ASSERT_FALSE(f.entries.empty());
    for (const Entry &e : f.entries) {
        const rating::Rating rt = rating::rate(m, caseOf(fouled, e.Tipus, e.Soros, e.Parh));
        EXPECT_EQ(std::memcmp(&rt.values, &e.values, sizeof e.values), 0);
        const auto same = std::find_if(c.entries.begin(), c.entries.end(),
                                       [&](const Entry &x) { return x.Tipus == e.Tipus && x.Parh == e.Parh; });
        ASSERT_NE(same, c.entries.end());
        EXPECT_LE(same->Soros, e.Soros);
    }
}

// rating::drops gives the run's numbers, at a fraction of its cost.
TEST(Drops, AreTheRunsDrops)
{
    std::mt19937_64 g(11);
    std::uniform_real_distribution<double> flow(0, 150), inlet(-5, 150);
    rating::Model a, b;
    for (int i = 0; i < 400; ++i) {
        rating::Case c;
        c.Tipus = static_cast<int>(g() % 5);
        c.Soros = 1 + static_cast<int>(g() % 150), c.Parh = 1 + static_cast<int>(g() % 150);
        c.MVk = i % 17 == 0 ? 0 : flow(g), c.MVs = flow(g);
        c.CbMVkIndex = static_cast<int>(g() % 2), c.CbMVsIndex = static_cast<int>(g() % 2);
        c.tkb = inlet(g), c.tsb = i % 13 == 0 ? c.tkb : inlet(g);
        const rating::Drops d = rating::drops(a, c);
        const rating::Rating rt = rating::rate(b, c);
        ASSERT_FALSE(d.faulted);
        EXPECT_EQ(d.flowsOk, c.MVk > 0 && c.MVs > 0);
        if (!d.flowsOk) {
            EXPECT_FALSE(rt.ok());
            continue;
        }
        EXPECT_EQ(d.temperaturesOk, c.tkb != c.tsb);
        EXPECT_EQ(d.refused || !d.temperaturesOk, !rt.ok());
        if (rt.ok()) {
            EXPECT_TRUE(bitwise(d.jacketKPa, rt.values.DPK));
            EXPECT_TRUE(bitwise(d.coilKPa, rt.values.DPS));
        }
    }
}

// The ceiling is what the search leaves ratings out by: below a rating's
// duty anywhere, and the search would list the wrong arrangement. With any
// fouling resistance (less of it raises K and the duty, and the bound).
TEST(Ceiling, NeverBelowARatingsDuty)
{
    std::mt19937_64 g(5);
    std::uniform_real_distribution<double> flow(0.01, 150), inlet(-5, 150), u(0, 1);
    rating::Model m;
    long rated = 0;
    for (int i = 0; i < 120; ++i) {
        Request r;
        r.MVk = flow(g), r.MVs = flow(g);
        r.CbMVkIndex = static_cast<int>(g() % 2), r.CbMVsIndex = static_cast<int>(g() % 2);
        r.tkb = inlet(g), r.tsb = inlet(g);
        if (i % 4 == 1) r.MVs = r.MVk * (1 + (u(g) - 0.5) * 1e-3), r.CbMVsIndex = r.CbMVkIndex; // rates nearly equal
        if (i % 4 == 2) r.tsb = r.tkb + (u(g) - 0.5) * 4;                                          // close inlets
        if (i % 8 == 3) r.MVk = 0.01 + u(g);                                                        // a small flow
        if (r.tkb == r.tsb || r.tsb > 150 || r.tsb < -5) continue;
        // The fouling the ratings and the bound share: none, the default, any.
        r.Rf = i % 3 == 0 ? 0 : i % 3 == 1 ? rating::Rf : u(g) * 0.01;
        SCOPED_TRACE(describe(r));
        detail::DutyCeiling c(r);
        ASSERT_TRUE(c.usable());
        for (int t = 0; t < 5; ++t)
            for (int p : {1, 2, 3, 7, 20, 61, 150}) {
                c.arrange(t, p);
                long double previous = 0;
                for (int s : {1, 2, 3, 5, 8, 13, 21, 40, 77, 150}) {
                    const long double coarse = c.bound(s);
                    EXPECT_GE(coarse, previous * (1 - 1e-12L)) << "falls with the count";
                    previous = coarse;
                    const rating::Rating rt = rating::rate(m, caseOf(r, t, s, p));
                    if (!rt.ok()) continue;
                    ++rated;
                    ASSERT_GE(coarse, rt.Q) << t << " " << s << " " << p;
                    ASSERT_GE(c.boundOver(s, s), rt.Q) << t << " " << s << " " << p;
                    ASSERT_GE(c.boundOver(std::max(1, s - 3), s + 2), rt.Q) << t << " " << s << " " << p;
                }
            }
    }
    EXPECT_GT(rated, 10000);
}

// The fast search gives the scan's Result, to the bit, on random requests:
// duties within reach and beyond, beyond the capacity limit and below it
// but beyond the counts, duties exactly at one that an arrangement shows and
// a hair to either side, limits that exclude some or all, zero flows, equal
// inlets, both units, the fewest and the most counts, subsets of types,
// fouling resistances and design margins over their fields.
TEST(Select, EqualsTheScan)
{
    std::mt19937_64 g(20261210);
    std::uniform_real_distribution<double> u(0, 1);
    auto between = [&](double a, double b) { return a + (b - a) * u(g); };
    rating::Model m;
    int kinds[9] = {};
    for (int i = 0; i < 420; ++i) {
        Request r;
        const bool full = i % 35 == 0;
        r.maxSeries = full ? 150 : i % 7 == 0 ? 1 : 1 + static_cast<int>(g() % 24);
        r.maxParallel = full ? 150 : i % 11 == 0 ? 1 : 1 + static_cast<int>(g() % 24);
        r.CbMVkIndex = static_cast<int>(g() % 2), r.CbMVsIndex = static_cast<int>(g() % 2);
        r.MVk = i % 3 == 0 ? between(0.01, 5) : between(0, 150);
        r.MVs = i % 5 == 0 ? between(0.01, 5) : between(0, 150);
        if (i % 29 == 0) r.MVk = 0;
        if (i % 31 == 0) r.MVs = 0;
        if (i % 6 == 4) r.MVs = r.MVk * (1 + between(-1e-3, 1e-3)), r.CbMVsIndex = r.CbMVkIndex;
        r.tkb = between(-5, 150), r.tsb = between(-5, 150);
        if (i % 23 == 0) r.tsb = r.tkb;
        if (i % 9 == 5) r.tsb = std::min(150.0, r.tkb + between(-3, 3));
        // A fouling resistance over its field on a third of them, none on some.
        if (i % 3 == 1) r.Rf = i % 12 == 1 ? 0 : between(0, 0.01);
        const double cap = capacityLimitKW(r);
        const int duty = static_cast<int>(g() % 6);
        if (duty == 0) r.dutyKW = cap * between(0.02, 0.9);
        else if (duty == 1) r.dutyKW = cap * between(0.9, 1.0);
        else if (duty == 2) r.dutyKW = cap * between(1.0, 1.3);
        else if (duty == 3) r.dutyKW = cap * (1 + between(-1e-5, 1e-5));
        else {
            // Exactly at the duty an arrangement shows, or a hair beside it.
            const rating::Rating rt = rating::rate(m, caseOf(r, static_cast<int>(g() % 5), 1 + static_cast<int>(g() % r.maxSeries),
                                                            1 + static_cast<int>(g() % r.maxParallel)));
            r.dutyKW = rt.ok() ? rt.Q / 1000 : cap / 2;
            if (duty == 5) r.dutyKW += (g() % 2 ? 1e-9 : -1e-9);
        }
        if (!(r.dutyKW > 0)) r.dutyKW = between(0.5, 50);
        // A design margin on a quarter: the duty to reach stays where it
        // was drawn (at an arrangement's, beyond the capacity, ...).
        if (i % 4 == 2) {
            r.marginPercent = i % 16 == 2 ? MaxMarginPercent : between(0, MaxMarginPercent);
            r.dutyKW /= 1 + r.marginPercent / 100;
        }
        switch (g() % 6) {
        case 0: r.maxDpJacketKPa = between(0, 300); break;
        case 1: r.maxDpCoilKPa = between(0, 300); break;
        case 2: r.maxDpJacketKPa = between(0, 100), r.maxDpCoilKPa = between(0, 100); break;
        case 3: r.maxDpJacketKPa = 0.0; break;
        default: break;
        }
        if (i % 4 == 0)
            for (bool &t : r.types) t = g() % 3 != 0;
        if (std::none_of(r.types.begin(), r.types.end(), [](bool b) { return b; })) r.types[g() % 5] = true;
        SCOPED_TRACE(describe(r));
        const Result scan = selectByScan(r);
        ++kinds[static_cast<int>(scan.why.kind)];
        expectSame(scan, select(r));
        if (HasFatalFailure() || HasFailure()) return;
    }
    // The random requests meet every outcome a request with valid fields can have.
    for (K k : {K::None, K::NoRating, K::BeyondCapacity, K::NotReached, K::PressureLimit})
        EXPECT_GT(kinds[static_cast<int>(k)], 0) << static_cast<int>(k);
}

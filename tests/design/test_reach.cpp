// Reaching a target: the search against a rating of every value of the
// input's grid on seeded random installations and targets (within reach,
// out of reach, exactly on a result the grid gives, between two
// neighbours), and each refusal.
#include "design/reach.h"

#include "rating/fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <array>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

using namespace design;
using K = ReachRefusal::Kind;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr Output outputs[] = {Output::Duty, Output::JacketOutlet, Output::CoilOutlet, Output::JacketDrop,
                              Output::CoilDrop};

std::string describe(const rating::Case &c)
{
    std::ostringstream o;
    o.precision(17);
    o << rating::TipusNevek[c.Tipus] << " " << c.Soros << " x " << c.Parh << ", jacket " << c.MVk
      << (c.CbMVkIndex ? " m3/h " : " l/min ") << c.tkb << " C, coil " << c.MVs << (c.CbMVsIndex ? " m3/h " : " l/min ")
      << c.tsb << " C, fouling " << c.Rf;
    return o.str();
}

// Every value of the grid rated: the results of each output (NaN where the
// installation is not rated).
struct Scan {
    Input in;
    std::vector<double> values;
    std::vector<std::array<double, 5>> results;
};

Scan scan(const rating::Case &c, Input in)
{
    Scan s{in, {}, {}};
    rating::Model m;
    const Grid g = gridOf(in);
    for (long n = g.first; n <= g.last; ++n) {
        rating::Case d = c;
        const double v = static_cast<double>(n) / (in == Input::Fouling ? 1e7 : 100);
        setInput(d, in, v);
        const rating::Rating r = rating::rate(m, d);
        s.values.push_back(v);
        s.results.push_back({r.ok() ? r.values.QLabel : NaN, r.ok() ? r.values.LbTKK : NaN,
                             r.ok() ? r.values.LbTSK : NaN, r.ok() ? r.values.DPK : NaN, r.ok() ? r.values.DPS : NaN});
    }
    return s;
}

// What the search must give, from the scan: the nearest result, ties to the
// value nearest the installation's own, then the smaller value.
void expectAsScan(const rating::Case &c, const Scan &s, int o, double target)
{
    const Output out = outputs[o];
    const bool depends = !(out == Output::JacketDrop && s.in != Input::JacketFlow) &&
                         !(out == Output::CoilDrop && s.in != Input::CoilFlow);
    const double own = inputOf(c, s.in);
    double lo = INFINITY, hi = -INFINITY;
    std::tuple<long double, double, double> best{INFINITY, INFINITY, INFINITY};
    std::size_t at = 0;
    for (std::size_t i = 0; i < s.values.size(); ++i) {
        const double f = s.results[i][static_cast<std::size_t>(o)];
        if (std::isnan(f)) continue;
        lo = std::min(lo, f), hi = std::max(hi, f);
        const std::tuple<long double, double, double> key{fabsl(static_cast<long double>(f) - target),
                                                          std::fabs(s.values[i] - own), s.values[i]};
        if (key < best) best = key, at = i;
    }
    const ReachResult r = reach(c, s.in, out, target);
    SCOPED_TRACE(testing::Message() << "input " << int(s.in) << ", output " << o << ", target " << target);
    if (!depends) {
        EXPECT_EQ(r.why.kind, K::Unaffected);
        return;
    }
    ASSERT_LE(lo, hi) << "nothing rated";
    if (target < lo || target > hi) {
        if (lo == hi) {
            ASSERT_EQ(r.why.kind, K::Unaffected);
            EXPECT_EQ(r.why.value, lo);
        } else {
            ASSERT_EQ(r.why.kind, K::Unreachable);
            EXPECT_EQ(r.why.low, lo);
            EXPECT_EQ(r.why.high, hi);
        }
        return;
    }
    ASSERT_TRUE(r.ok()) << int(r.why.kind);
    EXPECT_EQ(r.answer.value, s.values[at]) << "found " << r.answer.result << ", the grid's nearest "
                                            << s.results[at][static_cast<std::size_t>(o)];
    EXPECT_EQ(r.answer.result, s.results[at][static_cast<std::size_t>(o)]);
    ASSERT_TRUE(r.answer.rating.ok());
    EXPECT_EQ(outputOf(r.answer.rating.values, out), r.answer.result);
}

rating::Case randomCase(std::mt19937_64 &g)
{
    auto uni = [&](long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(g); };
    rating::Case c;
    c.Tipus = static_cast<int>(uni(0, 4));
    c.Soros = static_cast<int>(uni(0, 3) ? uni(1, 5) : uni(1, 150));
    c.Parh = static_cast<int>(uni(0, 3) ? uni(1, 5) : uni(1, 150));
    c.CbMVkIndex = static_cast<int>(uni(0, 1)), c.CbMVsIndex = static_cast<int>(uni(0, 1));
    c.MVk = (uni(0, 2) ? uni(1, 15000) : uni(1, 300)) / 100.0;
    c.MVs = (uni(0, 2) ? uni(1, 15000) : uni(1, 300)) / 100.0;
    c.tkb = uni(-500, 15000) / 100.0;
    do c.tsb = uni(-500, 15000) / 100.0;
    while (c.tsb == c.tkb);
    if (uni(0, 2) == 0) c.Rf = uni(0, 100000) / 1e7;
    return c;
}

void againstTheScan(const rating::Case &c, Input in, std::mt19937_64 &g)
{
    SCOPED_TRACE(describe(c));
    const Scan s = scan(c, in);
    std::uniform_real_distribution<double> u(0, 1);
    for (int o = 0; o < 5; ++o) {
        double lo = INFINITY, hi = -INFINITY;
        for (const auto &r : s.results)
            if (!std::isnan(r[static_cast<std::size_t>(o)]))
                lo = std::min(lo, r[static_cast<std::size_t>(o)]), hi = std::max(hi, r[static_cast<std::size_t>(o)]);
        // Within reach, exactly on a result of the grid and between two
        // neighbouring results (on a step), at and beyond both ends.
        const std::size_t k = std::uniform_int_distribution<std::size_t>(0, s.values.size() - 2)(g);
        const double a = s.results[k][static_cast<std::size_t>(o)], b = s.results[k + 1][static_cast<std::size_t>(o)];
        for (double target : {lo + (hi - lo) * u(g), lo + (hi - lo) * u(g), a, (a + b) / 2, lo, hi, lo - 0.5,
                              hi + 1e-9}) {
            if (std::isnan(target)) continue;
            expectAsScan(c, s, o, target);
            if (testing::Test::HasFatalFailure()) return;
        }
    }
}

} // namespace

TEST(Reach, EqualsTheScanOverFlowsAndInlets)
{
    std::mt19937_64 g(20261211);
    for (int i = 0; i < 5; ++i) {
        const rating::Case c = i == 0 ? rating::Case{} : randomCase(g);
        for (Input in : {Input::JacketFlow, Input::CoilFlow, Input::JacketInlet, Input::CoilInlet}) {
            againstTheScan(c, in, g);
            if (HasFatalFailure()) return;
        }
    }
}

TEST(Reach, EqualsTheScanOverTheFouling)
{
    std::mt19937_64 g(7);
    rating::Case c;
    c.Tipus = 2, c.Soros = 3;
    againstTheScan(c, Input::Fouling, g);
    if (HasFatalFailure()) return;
    againstTheScan(randomCase(g), Input::Fouling, g);
}

// Which jacket flow brings the default installation (VT/R-0, coil 1 m3/h at
// 20 °C, jacket at 80 °C) to 40 kW: the grid value whose duty is nearest,
// its neighbours farther.
TEST(Reach, JacketFlowForADuty)
{
    const rating::Case c;
    const ReachResult r = reach(c, Input::JacketFlow, Output::Duty, 40);
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r.answer.result, 40, 0.05);
    rating::Model m;
    for (long n : {r.answer.index - 1, r.answer.index + 1}) {
        rating::Case d = c;
        d.MVk = gridValue(Input::JacketFlow, n);
        EXPECT_GT(std::fabs(rating::rate(m, d).values.QLabel - 40), std::fabs(r.answer.result - 40)) << n;
    }
    EXPECT_EQ(r.answer.value, gridValue(Input::JacketFlow, r.answer.index));
    EXPECT_EQ(r.answer.rating.values.QLabel, r.answer.result);
}

// On a stretch where every value gives the same result (the coil outlet
// held at the jacket inlet by a small coil flow through many units), the
// value nearest the installation's own.
TEST(Reach, TiesGoToTheValueNearestTheInstallations)
{
    rating::Case c;
    c.Soros = 20, c.CbMVsIndex = 0, c.MVs = 0.05;
    rating::Model m;
    ASSERT_EQ(rating::rate(m, c).values.LbTSK, 80);
    const ReachResult r = reach(c, Input::CoilFlow, Output::CoilOutlet, 80);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.answer.value, 0.05);
    c.MVs = 100; // beyond the stretch: its last value
    const ReachResult last = reach(c, Input::CoilFlow, Output::CoilOutlet, 80);
    ASSERT_TRUE(last.ok());
    EXPECT_EQ(last.answer.result, 80);
    rating::Case next = c;
    next.MVs = gridValue(Input::CoilFlow, last.answer.index + 1);
    EXPECT_LT(rating::rate(m, next).values.LbTSK, 80);
}

TEST(Reach, Refusals)
{
    using R = ReachRefusal::Reason;
    const rating::Case base;
    auto with = [&](auto change) {
        rating::Case c = base;
        change(c);
        return c;
    };
    const struct Row {
        const char *what;
        rating::Case c;
        Input in;
        Output out;
        double target;
        K kind;
        CaseField field = CaseField::Type;
    } rows[] = {
        {"type", with([](rating::Case &c) { c.Tipus = 5; }), Input::JacketFlow, Output::Duty, 40, K::BadCase,
         CaseField::Type},
        {"no units in series", with([](rating::Case &c) { c.Soros = 0; }), Input::JacketFlow, Output::Duty, 40,
         K::BadCase, CaseField::Series},
        {"151 in parallel", with([](rating::Case &c) { c.Parh = 151; }), Input::JacketFlow, Output::Duty, 40,
         K::BadCase, CaseField::Parallel},
        {"flow above the field", with([](rating::Case &c) { c.MVs = 150.5; }), Input::JacketFlow, Output::Duty, 40,
         K::BadCase, CaseField::CoilFlow},
        {"inlet no number", with([](rating::Case &c) { c.tkb = NaN; }), Input::CoilFlow, Output::Duty, 40,
         K::BadCase, CaseField::JacketInlet},
        {"negative fouling", with([](rating::Case &c) { c.Rf = -1e-7; }), Input::CoilFlow, Output::Duty, 40,
         K::BadCase, CaseField::Fouling},
        {"target no number", base, Input::JacketFlow, Output::Duty, NaN, K::BadTarget},
        {"target infinite", base, Input::JacketFlow, Output::Duty, INFINITY, K::BadTarget},
        {"coil drop by the jacket flow", base, Input::JacketFlow, Output::CoilDrop, 100, K::Unaffected},
        {"jacket drop by the fouling", base, Input::Fouling, Output::JacketDrop, 100, K::Unaffected},
        {"jacket drop by an inlet", base, Input::CoilInlet, Output::JacketDrop, 100, K::Unaffected},
        {"no coil flow", with([](rating::Case &c) { c.MVs = 0; }), Input::JacketFlow, Output::Duty, 40,
         K::NoRating},
        {"equal inlets", with([](rating::Case &c) { c.tsb = 80; }), Input::Fouling, Output::Duty, 40, K::NoRating},
        {"jacket drop beyond the run's limit", with([](rating::Case &c) { c.Soros = 150, c.MVk = 150; }),
         Input::CoilFlow, Output::Duty, 40, K::NoRating},
        {"more duty than any jacket flow gives", base, Input::JacketFlow, Output::Duty, 1000, K::Unreachable},
        {"a jacket outlet below the coil inlet", base, Input::CoilFlow, Output::JacketOutlet, 10, K::Unreachable},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const ReachResult r = reach(row.c, row.in, row.out, row.target);
        ASSERT_EQ(r.why.kind, row.kind);
        if (row.kind == K::BadCase) {
            EXPECT_EQ(r.why.field, row.field);
        }
    }
    const ReachResult drop = reach(base, Input::JacketFlow, Output::CoilDrop, 100);
    EXPECT_NEAR(drop.why.value, 155.218, 5e-4);
    EXPECT_EQ(reach(with([](rating::Case &c) { c.MVs = 0; }), Input::JacketFlow, Output::Duty, 40).why.reason,
              R::ZeroFlow);
    EXPECT_TRUE(reach(with([](rating::Case &c) { c.MVs = 0; }), Input::JacketFlow, Output::Duty, 40).why.coilSide);
    EXPECT_EQ(reach(with([](rating::Case &c) { c.tsb = 80; }), Input::Fouling, Output::Duty, 40).why.reason,
              R::EqualInlets);
    const ReachResult limit = reach(with([](rating::Case &c) { c.Soros = 150, c.MVk = 150; }), Input::CoilFlow,
                                    Output::Duty, 40);
    EXPECT_EQ(limit.why.reason, R::DropLimit);
    EXPECT_FALSE(limit.why.coilSide);
    // Out of reach: the range over the field, the duty rising with the flow.
    const ReachResult most = reach(base, Input::JacketFlow, Output::Duty, 1000);
    rating::Model m;
    EXPECT_EQ(most.why.high, rating::rate(m, with([](rating::Case &c) { c.MVk = 150; })).values.QLabel);
    EXPECT_EQ(most.why.low, rating::rate(m, with([](rating::Case &c) { c.MVk = 0.01; })).values.QLabel);
}

// The energy balance from design conditions: every way of giving three of
// the five quantities reproduces the other two, derived outlets are the
// nearest doubles, and every refusal on a table of bad conditions.
#include "design/balance.h"

#include "rating/case.h"
#include "rating/fields.h"
#include "rating/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace design;
using K = BalanceRefusal::Kind;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

Conditions conditions(double tkb, double tsb, std::optional<double> mvk, std::optional<double> mvs,
                      std::optional<double> tkk, std::optional<double> tsk, std::optional<double> duty, int uk = 1,
                      int us = 1)
{
    Conditions c;
    c.tkb = tkb, c.tsb = tsb, c.CbMVkIndex = uk, c.CbMVsIndex = us;
    c.MVk = mvk, c.MVs = mvs, c.tkk = tkk, c.tsk = tsk, c.dutyKW = duty;
    return c;
}

} // namespace

// The enquiry "heat 1 m3/h from 10 to 55 °C with boiler water at 80/60 °C":
// the duty from the coil side, the jacket flow from the duty, rounded as
// the flow field holds it.
TEST(Balance, HotWaterEnquiry)
{
    const BalanceResult r = balance(conditions(80, 10, {}, 1.0, 60.0, 55.0, {}));
    ASSERT_TRUE(r.ok());
    const double q = rating::sideDuty(10, 55, 1.0 / 3600, rating::Suruseg(10));
    EXPECT_EQ(r.values.dutyKW, static_cast<double>(static_cast<long double>(q) / 1000));
    EXPECT_NEAR(r.values.dutyKW, 52.2, 0.1);
    EXPECT_EQ(r.values.MVk, 2.31);
    EXPECT_EQ(r.values.MVs, 1.0);
    EXPECT_EQ(r.values.tkk, 60.0);
    EXPECT_EQ(r.values.tsk, 55.0);
    // In l/min the same flow, to two decimals of that unit.
    const BalanceResult l = balance(conditions(80, 10, {}, 1.0, 60.0, 55.0, {}, 0));
    ASSERT_TRUE(l.ok());
    EXPECT_EQ(l.values.MVk, 38.46);
}

// A derived flow is rounded as a field rounds a typed value, and lands on
// the double its text reads back as: for every two-decimal value of the
// fields, values a little either side round to it, to the bit.
TEST(Balance, DerivedFlowsLandOnTheFieldsValues)
{
    for (long n = -500; n <= 15000; ++n) {
        const double v = static_cast<double>(n) / 100;
        ASSERT_EQ(rating::roundToPlaces(v, 2), v) << n;
        ASSERT_EQ(rating::roundToPlaces(v + 0.0049, 2), v) << n;
        ASSERT_EQ(rating::roundToPlaces(v - 0.0049, 2), v) << n;
        ASSERT_EQ(rating::roundToPlaces((n + 0.5) / 100, 2), static_cast<double>(n >= 0 ? n + 1 : n) / 100) << n;
    }
}

// From one consistent set of five, each of the eight admissible choices of
// three gives back the other two: derived flows exactly (they lie on the
// field's grid), outlets and duty to rounding. Both directions of heat
// flow, both units.
TEST(Balance, EveryChoiceOfThreeGivesBackTheOthers)
{
    std::mt19937_64 gen(11);
    auto grid = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen) / 100.0; };
    rating::Model m;
    int checked = 0;
    for (int draw = 0; draw < 400; ++draw) {
        const double tkb = grid(-500, 15000), tsb = grid(-500, 15000);
        if (tkb == tsb) continue;
        const int uk = draw % 2, us = draw / 2 % 2;
        const double mvk = grid(1, 15000), mvs = grid(1, 15000);
        // A jacket outlet part of the way to the coil inlet, the duty from
        // it, the coil outlet from the duty (when the coil flow takes it).
        const double tkk = tkb + (tsb - tkb) * std::uniform_real_distribution<double>(0.05, 0.95)(gen);
        const double q = rating::sideDuty(tkb, tkk, rating::volumeFlow(mvk, uk), rating::Suruseg(tkb));
        const std::optional<double> tsk = outletFor(tsb, tkb, rating::volumeFlow(mvs, us), q);
        if (!tsk || *tsk == tsb) continue;
        const double duty = static_cast<double>(static_cast<long double>(q) / 1000);
        const std::optional<double> all[5] = {mvk, mvs, tkk, *tsk, duty};
        for (int mask = 0; mask < 32; ++mask) {
            if (__builtin_popcount(mask) != 3) continue;
            if (mask == (1 | 4 | 16) || mask == (2 | 8 | 16)) continue; // one side twice
            std::optional<double> v[5];
            for (int i = 0; i < 5; ++i)
                if (mask >> i & 1) v[i] = all[i];
            const BalanceResult r = balance(conditions(tkb, tsb, v[0], v[1], v[2], v[3], v[4], uk, us));
            SCOPED_TRACE(testing::Message() << "tkb " << tkb << " tsb " << tsb << " flows " << mvk << "/" << uk
                                            << " " << mvs << "/" << us << " mask " << mask);
            ASSERT_TRUE(r.ok()) << int(r.why.kind) << " " << r.why.value;
            EXPECT_EQ(r.values.MVk, mvk);
            EXPECT_EQ(r.values.MVs, mvs);
            EXPECT_NEAR(r.values.tkk, tkk, 1e-9);
            EXPECT_NEAR(r.values.tsk, *tsk, 1e-9);
            // A duty from a side's outlet carries the last place of that
            // outlet relative to the side's temperature change.
            const double dt = std::min(std::fabs(tkk - tkb), std::fabs(*tsk - tsb));
            EXPECT_NEAR(r.values.dutyKW, duty, duty * (1e-12 + 3e-14 / dt));
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

// A derived outlet is the double whose balance lies nearest the duty:
// neither neighbour comes nearer.
TEST(Balance, DerivedOutletIsTheNearestDouble)
{
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> temp(-5, 150), flow(1e-6, 0.04), share(0, 1);
    for (int i = 0; i < 3000; ++i) {
        const double tin = temp(gen), tother = temp(gen), V = flow(gen);
        const double rho = rating::Suruseg(tin);
        const long double most = rating::sideDuty(tin, tother, V, rho);
        const long double duty = most * share(gen);
        const std::optional<double> t = outletFor(tin, tother, V, duty);
        ASSERT_TRUE(t);
        ASSERT_TRUE(*t >= std::min(tin, tother) && *t <= std::max(tin, tother));
        const long double miss = fabsl(rating::sideDuty(tin, *t, V, rho) - duty);
        for (double n : {std::nextafter(*t, -inf), std::nextafter(*t, inf)}) {
            if (n < std::min(tin, tother) || n > std::max(tin, tother)) continue;
            EXPECT_LE(miss, fabsl(rating::sideDuty(tin, n, V, rho) - duty)) << tin << " " << tother << " " << V;
        }
    }
    EXPECT_FALSE(outletFor(20, 80, 1.0 / 3600, 80000.0L));
}

// The rating's own outlets balance as the rating does: its jacket outlet
// gives back its duty and coil outlet to the iteration's last watt.
TEST(Balance, AgreesWithTheRating)
{
    rating::Model m;
    rating::Case c;
    c.Tipus = 2;
    const rating::Rating rt = rating::rate(m, c);
    ASSERT_TRUE(rt.ok());
    const BalanceResult r = balance(conditions(c.tkb, c.tsb, c.MVk, c.MVs, rt.values.LbTKK, {}, {}));
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r.values.dutyKW, rt.values.QLabel, 0.002);
    EXPECT_NEAR(r.values.tsk, rt.values.LbTSK, 0.002);
}

TEST(Balance, Refusals)
{
    using Q = Quantity;
    const struct Row {
        const char *what;
        Conditions c;
        K kind;
        Side side = Side::Jacket;
        Q quantity = Q::Duty;
        double value = NaN, limit = NaN;
    } rows[] = {
        {"two given", conditions(80, 20, 7.0, 1.0, {}, {}, {}), K::NotThree},
        {"four given", conditions(80, 20, 7.0, 1.0, 70.0, 50.0, {}), K::NotThree},
        {"inlet above the field", conditions(150.5, 20, 7.0, 1.0, 70.0, {}, {}), K::BadValue, Side::Jacket,
         Q::JacketInlet, 150.5},
        {"inlet no number", conditions(80, NaN, 7.0, 1.0, 70.0, {}, {}), K::BadValue, Side::Jacket, Q::CoilInlet},
        {"zero flow", conditions(80, 20, 0.0, 1.0, 70.0, {}, {}), K::BadValue, Side::Jacket, Q::JacketFlow, 0},
        {"flow above the field", conditions(80, 20, 7.0, 150.01, 70.0, {}, {}), K::BadValue, Side::Jacket,
         Q::CoilFlow, 150.01},
        {"outlet below the field", conditions(80, 20, 7.0, 1.0, {}, -6.0, {}), K::BadValue, Side::Jacket,
         Q::CoilOutlet, -6},
        {"zero duty", conditions(80, 20, 7.0, 1.0, {}, {}, 0.0), K::BadValue, Side::Jacket, Q::Duty, 0},
        {"negative duty", conditions(80, 20, 7.0, 1.0, {}, {}, -5.0), K::BadValue, Side::Jacket, Q::Duty, -5},
        {"infinite duty", conditions(80, 20, 7.0, 1.0, {}, {}, inf), K::BadValue, Side::Jacket, Q::Duty, inf},
        {"equal inlets", conditions(50, 50, 7.0, 1.0, 40.0, {}, {}), K::EqualInlets},
        {"jacket twice", conditions(80, 20, 7.0, {}, 70.0, {}, 40.0), K::SideTwice, Side::Jacket},
        {"coil twice", conditions(80, 20, {}, 1.0, {}, 50.0, 40.0), K::SideTwice, Side::Coil},
        {"hot outlet above its inlet", conditions(80, 20, 7.0, 1.0, 85.0, {}, {}), K::WrongSide, Side::Jacket,
         Q::Duty, 85, 80},
        {"outlet at its inlet", conditions(80, 20, 7.0, 1.0, 80.0, {}, {}), K::WrongSide, Side::Jacket, Q::Duty, 80,
         80},
        {"cold outlet below its inlet", conditions(80, 20, 7.0, {}, 70.0, 15.0, {}), K::WrongSide, Side::Coil,
         Q::Duty, 15, 20},
        {"coil outlet beyond the jacket inlet", conditions(80, 20, 7.0, {}, 70.0, 85.0, {}), K::Cross, Side::Coil,
         Q::Duty, 85, 80},
        {"jacket outlet beyond the coil inlet", conditions(80, 20, {}, 1.0, 15.0, 60.0, {}), K::Cross, Side::Jacket,
         Q::Duty, 15, 20},
        {"coil water cooled, jacket outlet beyond", conditions(20, 80, 7.0, 1.0, 85.0, {}, {}), K::Cross,
         Side::Jacket, Q::Duty, 85, 80},
        // 1 m3/h from 20 °C up to 80 °C takes about 69.4 kW.
        {"duty beyond the coil flow", conditions(80, 20, 7.0, 1.0, {}, {}, 80.0), K::DutyBeyond, Side::Coil},
        {"duty beyond the jacket flow", conditions(80, 20, 0.5, 7.0, {}, {}, 40.0), K::DutyBeyond, Side::Jacket},
        {"jacket outlet pulls more than the coil takes", conditions(80, 20, 7.0, 1.0, 70.0, {}, {}), K::DutyBeyond,
         Side::Coil},
        {"derived flow above the field", conditions(80, 20, {}, {}, 79.9, 21.0, 5000.0), K::FlowRange, Side::Jacket},
        {"derived flow rounds to 0", conditions(80, 20, {}, {}, 20.0, 80.0, 0.0001, 0, 0), K::FlowRange,
         Side::Jacket, Q::Duty, NaN, 0.01},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const BalanceResult r = balance(row.c);
        ASSERT_EQ(r.why.kind, row.kind);
        if (row.kind == K::BadValue) {
            EXPECT_EQ(r.why.what, row.quantity);
            if (!std::isnan(row.value)) {
                EXPECT_EQ(r.why.value, row.value);
            }
        }
        if (row.kind == K::SideTwice || row.kind == K::WrongSide || row.kind == K::Cross ||
            row.kind == K::DutyBeyond || row.kind == K::FlowRange) {
            EXPECT_EQ(r.why.side, row.side);
        }
        if (row.kind == K::WrongSide || row.kind == K::Cross) {
            EXPECT_EQ(r.why.value, row.value);
            EXPECT_EQ(r.why.limit, row.limit);
        }
        if (!std::isnan(row.limit) && row.kind == K::FlowRange) {
            EXPECT_EQ(r.why.limit, row.limit);
        }
    }
    EXPECT_EQ(balance(conditions(80, 20, 7.0, 1.0, 70.0, 50.0, {})).why.count, 4);

    // The sizes of what the user has to change.
    const BalanceResult most = balance(conditions(80, 20, 7.0, 1.0, {}, {}, 80.0));
    EXPECT_NEAR(most.why.limit, 69.43, 0.01);
    const BalanceResult big = balance(conditions(80, 20, {}, {}, 79.9, 21.0, 5000.0));
    EXPECT_EQ(big.why.limit, 150);
    EXPECT_GT(big.why.value, 150);
    EXPECT_NEAR(big.why.value, 5e6 / (0.1 * 972 * 4196) * 3600, 200);
}

// An outlet exactly at the other side's inlet is the limit, not a cross.
TEST(Balance, OutletAtTheOtherInletIsAccepted)
{
    const BalanceResult r = balance(conditions(80, 20, 7.0, {}, 70.0, 80.0, {}));
    ASSERT_TRUE(r.ok());
    EXPECT_GT(r.values.MVs, 0);
    EXPECT_EQ(r.values.tsk, 80);
}

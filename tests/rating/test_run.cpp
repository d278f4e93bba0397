// The outlet-temperature iteration and the calculation run with its texts.
#include "fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace rating;
using Kind = ArithmeticError::Kind;

static std::vector<std::string> texts(const Model &m)
{
    return {m.DPK,          m.DPS,      m.QLabel,    m.LbTKK,        m.LbTSK,    m.LbTomegaramK,
            m.LbArsebK,     m.LbHoatadK, m.LbTomegaramS, m.LbArsebS, m.LbHoatadS, m.LbHoatbocsT};
}

static std::vector<std::string> marked()
{
    return {"***", "***", "***", "***", "***", " ", " ", " ", " ", " ", " ", " "};
}

static void mark(Model &m)
{
    m.DPK = m.DPS = m.QLabel = m.LbTKK = m.LbTSK = "***";
    m.LbTomegaramK = m.LbArsebK = m.LbHoatadK = m.LbTomegaramS = m.LbArsebS = m.LbHoatadS =
        m.LbHoatbocsT = " ";
}

TEST(Kozelites, DefaultsSettleInFourPasses)
{
    Model m = defaultModel();
    m.Vk = 7.0 / 3600;
    m.Vs = 1.0 / 3600;
    m.Kozelites();
    EXPECT_EQ(m.Passes, 4);
    EXPECT_FALSE(m.PassLimitHit);
    EXPECT_EQ(FixedText(m.Q / 1000, 2), "46.37");
    EXPECT_NEAR(m.Q, 46371, 0.5);
    EXPECT_EQ(FixedText(m.tkk, 2), "74.15");
    EXPECT_EQ(FixedText(m.tsk, 2), "60.09");
    EXPECT_EQ(std::trunc(m.Q), std::trunc(m.Q_elozo));
}

TEST(Kozelites, CoilSideHotterHeatsTheJacket)
{
    Model m = defaultModel();
    m.tkb = 20, m.tsb = 80;
    m.Vk = 7.0 / 3600, m.Vs = 1.0 / 3600;
    m.Kozelites();
    EXPECT_GT(m.tkk, 20);
    EXPECT_LT(m.tsk, 80);
    EXPECT_GT(m.Q, 0);
}

TEST(Kozelites, GuardStopsBeforeAnyPass)
{
    const struct { double tkb, tsb, vk, vs; } rows[] = {
        {50, 50, 7.0 / 3600, 1.0 / 3600}, // equal inlets
        {80, 20, 0, 1.0 / 3600},          // no jacket flow
        {80, 20, 7.0 / 3600, 0},          // no coil flow
    };
    for (const auto &r : rows) {
        Model m = defaultModel();
        m.tkb = r.tkb, m.tsb = r.tsb, m.Vk = r.vk, m.Vs = r.vs;
        m.K = 123; // untouched without a pass
        m.Kozelites();
        EXPECT_EQ(m.Passes, 0);
        EXPECT_EQ(m.Q, 0);
        EXPECT_EQ(m.Q_elozo, -1);
        EXPECT_EQ(m.tkk, r.tsb);
        EXPECT_EQ(m.tsk, r.tkb);
        EXPECT_EQ(m.K, 123);
    }
}

TEST(Kozelites, TinyDutyEndsAfterOnePass)
{
    Model m = defaultModel();
    m.tkb = 20.0001;
    m.Vk = 7.0 / 3600, m.Vs = 1.0 / 3600;
    m.Kozelites();
    EXPECT_EQ(m.Passes, 1);
    EXPECT_LT(m.Q, 1);
    EXPECT_GT(m.Q, 0);
}

TEST(Kozelites, NegativeFlowPassesTheGuardAndFails)
{
    Model m = defaultModel();
    m.Vk = -7.0 / 3600, m.Vs = 1.0 / 3600;
    EXPECT_EQ(errorOf([&] { m.Kozelites(); }), Kind::InvalidOperation);
}

TEST(Kozelites, BalancedHeatCapacityRates)
{
    // In the first pass both mean temperatures are the mean of the inlets, so
    // the rates are equal when the density-weighted flows round alike.
    Model m = defaultModel();
    m.tkb = 60, m.tsb = 20;
    m.Vs = 1.0 / 3600;
    const double tm = static_cast<double>((60.0L + 20.0L) / 2);
    auto rate = [&](double t, double v) {
        return static_cast<double>(static_cast<long double>(Suruseg(t)) * v * Fajho(tm));
    };
    double vk = static_cast<double>(static_cast<long double>(Suruseg(20)) * m.Vs / Suruseg(60));
    for (int i = 0; i < 64 && rate(60, vk) != rate(20, m.Vs); ++i) vk = std::nextafter(vk, 1.0);
    ASSERT_EQ(rate(60, vk), rate(20, m.Vs));
    m.Vk = vk;
    m.Kozelites(); // formerly 0/0 in the effectiveness
    EXPECT_GT(m.Q, 0);
    EXPECT_GT(m.tkk, 20);
    EXPECT_LT(m.tkk, 60);
    EXPECT_GT(m.tsk, 20);
    EXPECT_LT(m.tsk, 60);
}

TEST(Kozelites, ClampedExponentPutsTheCoilOutletAtTheJacketInlet)
{
    Model m = defaultModel();
    m.Tipus = 1, m.Soros = 5;
    m.Vk = 7.0 / 3600, m.Vs = 0.1 / 3600;
    m.Kozelites();
    EXPECT_NEAR(m.tsk, 80, 1e-12);
}

TEST(Szamitas, DefaultTexts)
{
    Model m = defaultModel();
    m.Szamitas();
    EXPECT_FALSE(m.Hiba);
    const std::vector<std::string> want = {
        "98.000 kPa", "155.218 kPa", "Total heat transfer=46.37 kW", "74.15 \u00B0C",
        "60.09 \u00B0C", "1.89 kg/s", "1.33 m/s", "24194 W/m2\u00B0C", "0.28 kg/s", "2.44 m/s",
        "29794 W/m2\u00B0C", "Overall heat transfer coefficient 7698 W/m2\u00B0C"};
    EXPECT_EQ(texts(m), want);
    EXPECT_EQ(m.Vk, 7.0 / 3600);
    EXPECT_EQ(m.Vs, 1.0 / 3600);
}

TEST(Szamitas, HungarianPhrasesAndComma)
{
    Model m = defaultModel();
    m.SzHoteljesitmeny = "Hőteljesítmény";
    m.SzHoatbocsT = "Hőátbocsátási tényező";
    m.DecimalSeparator = ",";
    m.Szamitas();
    EXPECT_EQ(m.QLabel, "Hőteljesítmény=46,37 kW");
    EXPECT_EQ(m.LbHoatbocsT, "Hőátbocsátási tényező 7698 W/m2°C");
    EXPECT_EQ(m.DPS, "155,218 kPa");
    EXPECT_EQ(m.LbTKK, "74,15 °C");
}

TEST(Szamitas, LitresPerMinuteAndCubicMetresPerHourAgree)
{
    Model a = defaultModel(), b = defaultModel();
    a.MVk = 100, a.CbMVkIndex = 0;
    b.MVk = 6;
    a.Szamitas();
    b.Szamitas();
    EXPECT_EQ(a.Vk, 1.0 / 600);
    EXPECT_EQ(b.Vk, 1.0 / 600);
    EXPECT_EQ(texts(a), texts(b));
}

TEST(Szamitas, FailedChecksLeaveTheTexts)
{
    struct Row { const char *what; double tkb, tsb, mvk, mvs; bool dropsShown; };
    const Row rows[] = {
        {"no jacket flow", 80, 20, 0, 1, false},
        {"no coil flow", 80, 20, 7, 0, false},
        {"negative flow", 80, 20, -1, 1, false},
        {"equal inlets", 50, 50, 7, 1, true},
        {"jacket inlet above 150", 150.01, 20, 7, 1, true},
        {"coil inlet above 150", 80, 151, 7, 1, true},
    };
    for (const Row &r : rows) {
        Model m = defaultModel();
        m.tkb = r.tkb, m.tsb = r.tsb, m.MVk = r.mvk, m.MVs = r.mvs;
        mark(m);
        m.Szamitas();
        EXPECT_TRUE(m.Hiba) << r.what;
        std::vector<std::string> want = marked();
        if (r.dropsShown) want[0] = "98.000 kPa", want[1] = "155.218 kPa";
        EXPECT_EQ(texts(m), want) << r.what;
    }
}

TEST(Szamitas, InletOf150IsAccepted)
{
    Model m = defaultModel();
    m.tkb = 150;
    m.Szamitas();
    EXPECT_FALSE(m.Hiba);
    EXPECT_GT(m.Passes, 0);
    EXPECT_GT(m.tsk, 20);
}

TEST(Szamitas, PressureDropOf10000BarKeepsItsTextButRatesOn)
{
    Model m = defaultModel();
    m.Soros = 30, m.MVk = 150; // 450 bar per unit
    mark(m);
    m.Szamitas();
    EXPECT_TRUE(m.Hiba);
    EXPECT_GE(m.Delta_pk, 10000);
    EXPECT_EQ(m.DPK, "***");
    EXPECT_NE(m.DPS, "***");
    EXPECT_NE(m.QLabel, "***");
    EXPECT_NE(m.LbTKK, "***");
}

TEST(Szamitas, MassFlowsAreThoseOfOneBranch)
{
    Model one = defaultModel(), two = defaultModel();
    two.Parh = 2;
    one.MVk = two.MVk = 9; // 9 m3/h of water at 80 °C: 2.43 kg/s, 1.21 per branch
    one.MVs = two.MVs = 5; // 5 m3/h at 20 °C: 1.39 kg/s, 0.69 per branch
    one.Szamitas();
    two.Szamitas();
    EXPECT_EQ(one.LbTomegaramK, "2.43 kg/s");
    EXPECT_EQ(two.LbTomegaramK, "1.21 kg/s");
    EXPECT_EQ(one.LbTomegaramS, "1.39 kg/s");
    EXPECT_EQ(two.LbTomegaramS, "0.69 kg/s");
}

TEST(Szamitas, ZeroCountsAreArithmeticErrors)
{
    Model m = defaultModel();
    m.Parh = 0;
    mark(m);
    EXPECT_EQ(errorOf([&] { m.Szamitas(); }), Kind::DivisionByZero);
    EXPECT_EQ(texts(m), marked());

    m = defaultModel();
    m.Soros = 0;
    mark(m);
    EXPECT_EQ(errorOf([&] { m.Szamitas(); }), Kind::InvalidOperation);
    std::vector<std::string> want = marked();
    want[0] = want[1] = "0.000 kPa";
    EXPECT_EQ(texts(m), want);
}

TEST(Szamitas, PinchShowsTheDutyOfTheBalances)
{
    struct Row { int tipus, soros, parh; double mvk, tkb, mvs, tsb; const char *q; };
    const Row rows[] = {
        {1, 5, 1, 7, 80, 0.1, 20, "=6.94 kW"},
        {4, 53, 26, 91.71, 23.79, 65.72, 147.38, "=8715.47 kW"},
    };
    for (const Row &r : rows) {
        Model m = defaultModel();
        m.SzHoteljesitmeny.clear();
        m.Tipus = r.tipus, m.Soros = r.soros, m.Parh = r.parh;
        m.MVk = r.mvk, m.tkb = r.tkb, m.MVs = r.mvs, m.tsb = r.tsb;
        m.Szamitas();
        EXPECT_FALSE(m.Hiba);
        EXPECT_EQ(m.QLabel, r.q);
        const Balances b = balances(m);
        EXPECT_EQ(FixedText(b.jacket / 1000, 2), FixedText(m.Q / 1000, 2));
        EXPECT_EQ(FixedText(b.coil / 1000, 2), FixedText(m.Q / 1000, 2));
    }
}

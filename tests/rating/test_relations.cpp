// The seven relations, one at a time, on hand-set states.
#include "fixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rating;
using Kind = ArithmeticError::Kind;

static Model installation(int tipus, int soros, int parh)
{
    Model m;
    m.Tipus = tipus;
    m.Soros = soros;
    m.Parh = parh;
    m.Vk = 7.0 / 3600;
    m.Vs = 1.0 / 3600;
    m.tkm = m.tsm = 50;
    return m;
}

TEST(Relations, VelocitiesAndPressureDropsOfTheSmallestType)
{
    Model m = installation(0, 1, 1);
    m.Alfa_k_szamit();
    m.Alfa_s_szamit();
    m.Delta_pk_szamit();
    m.Delta_ps_szamit();
    EXPECT_NEAR(m.wk, 1.3318, 5e-5);
    EXPECT_NEAR(m.ws, 2.4366, 5e-5);
    EXPECT_NEAR(m.Delta_pk, 0.98, 1e-12);
    EXPECT_NEAR(m.Delta_ps, 1.55218, 5e-6);
    EXPECT_EQ(FixedText(m.Delta_pk * 100, 3), "98.000");
}

TEST(Relations, ParallelAndSeriesCounts)
{
    Model one = installation(2, 1, 1), par = installation(2, 1, 2), ser = installation(2, 2, 1);
    for (Model *m : {&one, &par, &ser}) {
        m->Alfa_k_szamit();
        m->Alfa_s_szamit();
        m->Delta_pk_szamit();
        m->Delta_ps_szamit();
    }
    EXPECT_DOUBLE_EQ(par.wk, one.wk / 2);
    EXPECT_DOUBLE_EQ(par.ws, one.ws / 2);
    EXPECT_DOUBLE_EQ(par.Delta_pk, one.Delta_pk / 4);
    EXPECT_NEAR(par.Delta_ps, one.Delta_ps / std::pow(2.0, 1.681), 1e-12 * one.Delta_ps);
    EXPECT_DOUBLE_EQ(ser.Delta_pk, 2 * one.Delta_pk);
    EXPECT_DOUBLE_EQ(ser.Delta_ps, 2 * one.Delta_ps);
    EXPECT_EQ(ser.wk, one.wk);
    EXPECT_EQ(ser.ws, one.ws);
}

TEST(Relations, FilmCoefficientsShareTheTypeFactor)
{
    Model m = installation(3, 1, 1);
    m.Vk = m.Vs = 0.0005; // same flow ...
    m.Alfa_k_szamit();
    const double ak = m.Alfa_k;
    m.Vs = m.Vk * Adat(cAs, 3) / Adat(cAk, 3); // ... and then the same velocity
    m.Alfa_s_szamit();
    EXPECT_NEAR(m.Alfa_s, ak, 1e-9 * ak);
    // Calfa · (1 + 0.01 tm) · w^0.733
    EXPECT_NEAR(ak, 9157 * 1.5 * std::pow(m.wk, 0.733), 1e-9 * ak);
    // K adds the fouling resistance to both film resistances.
    m.K_szamit();
    EXPECT_NEAR(m.K, 1 / (2 / ak + Rf), 1e-9 * m.K);
}

TEST(Relations, LogarithmicMeanTemperatureDifference)
{
    const struct { double tkb, tkk, tsb, tsk, dtm; } rows[] = {
        {80, 30, 20, 50, 20 / std::log(3.0)}, // a = 30, b = 10
        {80, 50, 20, 70, 20 / std::log(3.0)}, // a = 10, b = 30
        {20, 50, 80, 30, 20 / std::log(3.0)}, // coil side hotter
        {80, 20, 20, 50, 15},                 // b = 0: half the larger one
        {50, 50, 50, 50, 0},                  // both 0
    };
    for (const auto &r : rows) {
        Model m;
        m.tkb = r.tkb, m.tkk = r.tkk, m.tsb = r.tsb, m.tsk = r.tsk;
        m.Delta_tm_szamit();
        EXPECT_NEAR(m.Delta_tm, r.dtm, 1e-12) << r.tkb << " " << r.tkk;
        EXPECT_LE(m.Delta_tmin, m.Delta_tmax);
    }
    Model m;
    m.tkb = 80, m.tsk = 50, m.tkk = 30, m.tsb = 20;
    m.Delta_tm_szamit();
    EXPECT_EQ(FixedText(m.Delta_tm, 4), "18.2048");
}

TEST(Relations, EqualTerminalDifferences)
{
    Model m;
    m.tkb = 80, m.tsk = 60, m.tkk = 40, m.tsb = 20; // a = b = 20
    m.Soros = 1, m.Parh = 1;
    m.Delta_tm_szamit();
    EXPECT_EQ(m.Delta_tm, 20);
    // Without any surface the equal differences are the 0/0 they always were.
    m.Soros = 0;
    EXPECT_EQ(errorOf([&] { m.Delta_tm_szamit(); }), Kind::InvalidOperation);
}

TEST(Relations, HeatDutyIsTheSmallerOfRateAndBalances)
{
    Model m = installation(0, 1, 1);
    m.tkb = 80, m.tkk = 74, m.tsb = 20, m.tsk = 60;
    m.Delta_tm_szamit();
    const Balances b = balances(m);
    const double mean = static_cast<double>((static_cast<long double>(static_cast<double>(b.jacket)) +
                                             static_cast<double>(b.coil)) / 2);
    m.K = 7000; // rate equation gives less than the balances
    m.Q_szamit();
    EXPECT_DOUBLE_EQ(m.Q, 7000 * 0.176 * m.Delta_tm);
    EXPECT_LT(m.Q, mean);
    m.K = 70000; // rate equation gives more: the balances hold
    m.Q_szamit();
    EXPECT_EQ(m.Q, mean);
}

TEST(Relations, ArithmeticFaults)
{
    Model m = installation(0, 1, 0); // no parallel branch
    EXPECT_EQ(errorOf([&] { m.Delta_pk_szamit(); }), Kind::DivisionByZero);
    EXPECT_EQ(errorOf([&] { m.Alfa_k_szamit(); }), Kind::DivisionByZero);
    m = installation(0, 1, 1);
    m.Vk = -1e-3; // log of a negative velocity
    EXPECT_EQ(errorOf([&] { m.Alfa_k_szamit(); }), Kind::InvalidOperation);
    m.Vk = 0; // log of zero
    EXPECT_EQ(errorOf([&] { m.Delta_pk_szamit(); }), Kind::DivisionByZero);
    m.Vk = 1e200; // beyond the double range once squared
    EXPECT_EQ(errorOf([&] { m.Delta_pk_szamit(); }), Kind::Overflow);
    EXPECT_STREQ(ArithmeticError(Kind::Overflow).what(), "Floating point overflow");
    EXPECT_STREQ(ArithmeticError(Kind::DivisionByZero).what(), "Floating point division by zero");
    EXPECT_STREQ(ArithmeticError(Kind::InvalidOperation).what(), "Invalid floating point operation");
}

// Water properties, the type table and the number texts.
#include "rating/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace rating;

static std::string three(double v)
{
    char b[32];
    std::snprintf(b, sizeof b, "%.3f", v);
    return b;
}

TEST(Water, ReferenceValues)
{
    EXPECT_EQ(Fajho(0), 4219.69451957);
    EXPECT_EQ(Suruseg(0), 1000.15483083);
    const struct { double t; const char *cp, *rho; } rows[] = {
        {-5, "4233.899", "1000.030"}, {20, "4183.516", "998.003"}, {37, "4173.095", nullptr},
        {50, "4174.216", nullptr},    {80, "4196.602", "971.819"}, {150, "4312.627", "916.667"},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(three(Fajho(r.t)), r.cp) << r.t;
        if (r.rho) {
            EXPECT_EQ(three(Suruseg(r.t)), r.rho) << r.t;
        }
    }
}

TEST(Water, ShapeOverTheRange)
{
    // Specific heat: one minimum of about 4172.72 near 41.2 °C.
    double tmin = -5, cmin = Fajho(-5);
    for (double t = -5; t <= 150; t += 0.05)
        if (Fajho(t) < cmin) cmin = Fajho(t), tmin = t;
    EXPECT_NEAR(tmin, 41.2, 0.1);
    EXPECT_NEAR(cmin, 4172.72, 0.01);
    // Density: maximum just below 0 °C, falling all the way from 0 to 150 °C.
    EXPECT_GT(Suruseg(-0.5), Suruseg(0));
    EXPECT_GT(Suruseg(-0.5), Suruseg(-5));
    for (double t = 0; t < 150; t += 0.5) EXPECT_GT(Suruseg(t), Suruseg(t + 0.5)) << t;
}

TEST(TypeTable, LayoutByCoefficient)
{
    EXPECT_STREQ(TipusNevek[4], "VR/T-4");
    EXPECT_EQ(Adat(cCpk, 0), 25920000000.0);
    EXPECT_EQ(Adat(cCps, 0), 147600000000.0);
    EXPECT_EQ(Adat(cAk, 4), 0.00275);
    EXPECT_EQ(Adat(cAs, 4), 0.000515);
    EXPECT_EQ(Adat(cAs, 3), Adat(cAs, 4));
    EXPECT_EQ(Adat(cAk, 0), Adat(cAk, 2));
    EXPECT_EQ(Adat(cCalfa, 4), 8362.0);
    EXPECT_EQ(Adat(cF, 4), 1.4);
    EXPECT_EQ(TipusAdat[30], Rf);
    EXPECT_EQ(Rf, 5.5e-5);
}

TEST(FixedText, RoundsExactTiesAwayFromZero)
{
    const struct { long double x; int d; const char *text; } rows[] = {
        {0.125L, 2, "0.13"},   {-0.125L, 2, "-0.13"}, {0.375L, 2, "0.38"}, {2.5L, 0, "3"},
        {-2.5L, 0, "-3"},      {0.5L, 0, "1"},        {1.0625L, 3, "1.063"},
        // not ties: the binary value decides
        {0.115, 2, "0.12"},    {1.005, 2, "1.00"},    {2.675, 2, "2.67"},
        {98.0, 3, "98.000"},   {0.0L, 2, "0.00"},     {-0.0L, 2, "0.00"},   {-0.001L, 2, "-0.00"},
        {123456789.0L, 0, "123456789"}, {1e20L, 2, "100000000000000000000.00"},
    };
    for (const auto &r : rows) EXPECT_EQ(FixedText(r.x, r.d), r.text) << double(r.x);
}

TEST(FixedText, DecimalSeparatorIsTheGivenOne)
{
    EXPECT_EQ(FixedText(46.3708L, 2, ","), "46,37");
    EXPECT_EQ(FixedText(46.3708L, 2, "\u066B"), "46\u066B37"); // a multi-byte separator
    EXPECT_EQ(FixedText(7698.4L, 0, ","), "7698");
}

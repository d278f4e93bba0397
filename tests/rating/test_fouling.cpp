// The fouling resistance as an input of the rating: at its default every
// number is the one the model gave with the fixed constant, and otherwise
// it enters the overall coefficient beside the two film resistances.
#include "fixture.h"
#include "rating/case.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace rating;

namespace {

struct Golden {
    int tipus, soros, parh;
    double mvk;
    int uk;
    double tkb, mvs;
    int us;
    double tsb, Q;
    double values[12];
};

const Golden golden[] = {
#include "golden_fixed_fouling.inc"
};

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

// The overall coefficient as K_szamit computed it with the constant: the
// two film resistances and then the fouling, summed in this order in
// extended precision. A sum in double precision gives another K in about a
// third of these draws, another order of the extended sum in some twenty.
TEST(Fouling, DefaultOverallCoefficientIsTheFixedOnesToTheBit)
{
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> alfa(50, 80000);
    Model m;
    ASSERT_TRUE(sameBits(m.Rf, TipusAdat[30]));
    for (int i = 0; i < 200000; ++i) {
        m.Alfa_k = alfa(gen);
        m.Alfa_s = alfa(gen);
        m.K_szamit();
        const long double sum = 1.0L / m.Alfa_k + 1.0L / m.Alfa_s + TipusAdat[30];
        ASSERT_TRUE(sameBits(m.K, static_cast<double>(1.0L / sum))) << m.Alfa_k << " " << m.Alfa_s;
    }
}

// Whole ratings over the field range, every result to the bit.
TEST(Fouling, DefaultRatingsAreTheFixedOnesToTheBit)
{
    Model m;
    for (const Golden &g : golden) {
        Case c;
        c.Tipus = g.tipus, c.Soros = g.soros, c.Parh = g.parh;
        c.MVk = g.mvk, c.CbMVkIndex = g.uk, c.tkb = g.tkb;
        c.MVs = g.mvs, c.CbMVsIndex = g.us, c.tsb = g.tsb;
        const Rating r = rate(m, c);
        ASSERT_TRUE(r.ok());
        const Model::ResultValues &v = r.values;
        const double got[12] = {v.DPK,          v.DPS,    v.QLabel,    v.LbTKK,        v.LbTSK,    v.LbTomegaramK,
                                v.LbArsebK,     v.LbHoatadK, v.LbTomegaramS, v.LbArsebS, v.LbHoatadS, v.LbHoatbocsT};
        EXPECT_TRUE(sameBits(r.Q, g.Q)) << g.tipus << " " << g.soros << " " << g.parh << " " << g.mvk << " " << g.tkb;
        for (int k = 0; k < 12; ++k) EXPECT_TRUE(sameBits(got[k], g.values[k])) << "value " << k;
    }
}

// A case's fouling reaches the overall coefficient of the last pass; the
// pressure drops do not depend on it; more fouling transfers less.
TEST(Fouling, CaseFoulingEntersTheOverallCoefficient)
{
    Model m;
    double lastQ = 1e300;
    for (double rf : {0.0, 0.000055, 0.0005, 0.002, 0.01}) {
        Case c;
        c.Tipus = 2, c.Soros = 3, c.Parh = 2, c.MVs = 2.5;
        c.Rf = rf;
        const Rating r = rate(m, c);
        ASSERT_TRUE(r.ok()) << rf;
        const Model::ResultValues &v = r.values;
        const long double sum = 1.0L / v.LbHoatadK + 1.0L / v.LbHoatadS + rf;
        EXPECT_TRUE(sameBits(v.LbHoatbocsT, static_cast<double>(1.0L / sum))) << rf;
        EXPECT_LT(r.Q, lastQ) << rf;
        lastQ = r.Q;
        Case fixed = c;
        fixed.Rf = rating::Rf;
        const Rating d = rate(m, fixed);
        EXPECT_TRUE(sameBits(v.DPK, d.values.DPK) && sameBits(v.DPS, d.values.DPS)) << rf;
    }
    // A model filled by hand keeps the default until it is set.
    Model fresh;
    EXPECT_EQ(fresh.Rf, 0.000055);
}

// A coarse grid over the whole range of the input fields: the rating always
// settles, keeps both outlets between the inlets and never shows a duty that
// contradicts both energy balances.
#include "fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace rating;

TEST(Grid, WholeFieldRange)
{
    const int counts[] = {1, 2, 7, 40, 150};
    const double flows[] = {0, 0.3, 2.5, 17, 150};
    const double inlets[] = {-5, 0.5, 37, 99.9, 150};
    long runs = 0, rated = 0;
    int maxPasses = 0;
    double worstShortfall = 0;
    for (int tipus = 0; tipus < TipusCount; ++tipus)
        for (int soros : counts)
            for (int parh : counts)
                for (int unitK = 0; unitK < 2; ++unitK)
                    for (int unitS = 0; unitS < 2; ++unitS)
                        for (double mvk : flows)
                            for (double mvs : flows)
                                for (double tkb : inlets)
                                    for (double tsb : inlets) {
                                        Model m = defaultModel();
                                        m.Tipus = tipus, m.Soros = soros, m.Parh = parh;
                                        m.CbMVkIndex = unitK, m.CbMVsIndex = unitS;
                                        m.MVk = mvk, m.MVs = mvs, m.tkb = tkb, m.tsb = tsb;
                                        ASSERT_NO_THROW(m.Szamitas())
                                            << tipus << " " << soros << " " << parh << " " << mvk
                                            << " " << mvs << " " << tkb << " " << tsb;
                                        ++runs;
                                        ASSERT_FALSE(m.PassLimitHit);
                                        maxPasses = std::max(maxPasses, m.Passes);
                                        if (m.Passes == 0) continue;
                                        ++rated;
                                        const double lo = std::min(tkb, tsb) - 1e-9;
                                        const double hi = std::max(tkb, tsb) + 1e-9;
                                        ASSERT_TRUE(m.tkk >= lo && m.tkk <= hi) << m.tkk;
                                        ASSERT_TRUE(m.tsk >= lo && m.tsk <= hi) << m.tsk;
                                        ASSERT_GE(m.Q, 0);
                                        const Balances b = balances(m);
                                        const double smaller = static_cast<double>(std::min(b.jacket, b.coil));
                                        // The iteration stops once the duty keeps its whole watt;
                                        // the outlets, and with them the balances, then still carry
                                        // the last pass's residual, a few 1e-5 of the duty at most.
                                        // Anything beyond that would be a contradiction.
                                        const double shortfall = smaller - m.Q;
                                        worstShortfall = std::max(worstShortfall, shortfall / std::max(1.0, smaller));
                                        ASSERT_LE(shortfall, 1.0 + 1e-4 * smaller)
                                            << tipus << " " << soros << " " << parh << " " << mvk
                                            << " " << mvs << " " << tkb << " " << tsb;
                                    }
    EXPECT_LE(maxPasses, 12);
    EXPECT_GT(rated, runs / 2);
    RecordProperty("max_passes", maxPasses);
    std::printf("grid: %ld runs, %ld rated, at most %d passes, worst relative shortfall %.3g\n", runs, rated,
                maxPasses, worstShortfall);
}

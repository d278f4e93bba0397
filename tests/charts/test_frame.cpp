// The chart frame without a window: the step rule, exact decimals, sweep
// ranges, axes, pixel positions, label texts and the four sweeps.
#include "charts/frame.h"
#include "charts/sweep.h"
#include "tests/rating/fixture.h"

#include <gtest/gtest.h>

using namespace charts;

namespace {

Decimal D(double x) { return Decimal::fromDouble(x); }

// The default chart window: client 723 x 467, "9" 13 pixels high.
Geometry flowGeometry() { return Geometry::make(Variant::Flow, 723, 467, 13); }
Geometry temperatureGeometry() { return Geometry::make(Variant::Temperature, 723, 467, 13); }

} // namespace

TEST(Leptek, StepRule)
{
    struct Case { double span, n, step; };
    const Case cases[] = {
        {7, 25, 0.5},     {150, 18, 10},   {25, 25, 1},      {0, 5, 0.001},  {100000, 25, 1000},
        {5, 0, 1000},     {5, -3, 1000},   {0.001, 1, 0.001}, {0.0011, 1, 0.002},
        {26, 25, 2},      {0.025, 25, 0.001}, {0.6, 25, 0.05}, {-4, 25, 0.001}, {12000, 25, 500},
        {12600, 25, 1000},
    };
    for (const Case &c : cases) EXPECT_EQ(Leptek(c.span, c.n), c.step) << c.span << " / " << c.n;
}

TEST(Decimal, ExactArithmetic)
{
    EXPECT_EQ(D(0.6).text(), "0.6");
    EXPECT_EQ(D(-0.0015).text(), "-0.0015");
    EXPECT_EQ(D(1e-10).text(), "0.0000000001");
    EXPECT_EQ((D(0.3).dividedByStep(Decimal(5, -2)) - Decimal(1)).trunc(), 5); // binary: 4
    EXPECT_EQ((D(0.1) + D(0.2)).toDouble(), 0.3);                          // binary: 0.30000000000000004
    EXPECT_EQ(Decimal(28, -1).toDouble(), 2.8);
    EXPECT_EQ((Decimal(12) * Decimal(2, -1)).toDouble(), 2.4);
    EXPECT_EQ(Decimal(0).toDouble(), 0.0);
    EXPECT_FALSE(std::signbit((Decimal(-1, -3) + Decimal(1, -3)).toDouble()));

    struct Round { double x; std::int64_t even, toward0; };
    for (const Round &r : {Round{2.5, 2, 2}, {3.5, 4, 3}, {-2.5, -2, -2}, {-3.5, -4, -3}, {6.5, 6, 6},
                           {23.5, 24, 23}, {-1.25, -1, -1}, {-0.5, 0, 0}, {2.6, 3, 2}, {-2.6, -3, -2}}) {
        EXPECT_EQ(D(r.x).roundHalfEven(), r.even) << r.x;
        EXPECT_EQ(D(r.x).trunc(), r.toward0) << r.x;
    }
    EXPECT_LT(D(0.1), D(0.10000000000000002));
    EXPECT_EQ(Decimal(150), D(150.0));
    EXPECT_EQ(Decimal(15, 1), Decimal(150));
}

TEST(Frame, GeometryOfTheDefaultWindow)
{
    const Geometry f = flowGeometry();
    EXPECT_EQ(f.x1, 603);
    EXPECT_EQ(f.y1, 347);
    EXPECT_EQ(f.nx, 25);
    EXPECT_EQ(f.ny, 18);
    EXPECT_EQ(temperatureGeometry().x1, 663);
    // Exactly 13 intervals of 1.3 digit heights: no binary 1.3 to fall short.
    EXPECT_EQ(Geometry::make(Variant::Temperature, 60 + 60 + 169, 467, 10).nx, 13); // binary: 12
    // The smallest window has fewer intervals.
    const Geometry small = Geometry::make(Variant::Flow, 352, 314, 13);
    EXPECT_EQ(small.nx, 10);
    EXPECT_EQ(small.ny, 9);
}

TEST(Frame, SweepRanges)
{
    struct Case {
        const char *what;
        Variant v;
        double entered;
        int nx;
        double xmin, xmax, step;
        int points;
    };
    const Case cases[] = {
        {"flow 7 m3/h", Variant::Flow, 7, 25, 3.0, 11.0, 0.5, 17},
        {"flow 150", Variant::Flow, 150, 25, 60, 240, 10, 19},
        {"flow 0.6: Int of the exact 0.3 / 0.05 - 1", Variant::Flow, 0.6, 25, 0.25, 0.95, 0.05, 15},
        {"flow 0", Variant::Flow, 0, 25, 1e-10, 0.001, 0.001, 2},
        {"flow 7 with Lx 1: Round(2.5) = 2", Variant::Flow, 7, 13, 2, 12, 1, 11},
        {"inlet 80", Variant::Temperature, 80, 25, 35, 125, 5, 19},
        {"inlet 20", Variant::Temperature, 20, 25, 9, 31, 1, 23},
        {"inlet 150: limited before rounding", Variant::Temperature, 150, 25, 70, 155, 5, 18},
        {"inlet 0", Variant::Temperature, 0, 25, -0.001, 0.001, 0.001, 3},
        {"inlet 5", Variant::Temperature, 5, 25, 2.4, 7.6, 0.2, 27},
        {"inlet -1: inverted, empty", Variant::Temperature, -1, 25, -0.001, -1.499, 0.001, 0},
        {"inlet -0.0015: no width", Variant::Temperature, -0.0015, 25, -0.001, -0.001, 0.001, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const SweepRange r = c.v == Variant::Flow ? SweepRange::flow(D(c.entered), c.nx)
                                                   : SweepRange::temperature(D(c.entered), c.nx);
        EXPECT_EQ(r.xmin.toDouble(), c.xmin);
        EXPECT_EQ(r.xmax.toDouble(), c.xmax);
        EXPECT_EQ(r.Lx.value(), c.step);
        EXPECT_EQ(r.count(), c.points);
    }
    // Flow 0: the second point lies one step above the lower bound.
    EXPECT_EQ(SweepRange::flow(D(0), 25).at(1).toDouble(), 0.001 + 1e-10);
    // Every sweep value is the decimal itself, not a drifting sum.
    const SweepRange r = SweepRange::temperature(D(5), 25);
    EXPECT_EQ(r.at(2).toDouble(), 2.8);
    double summed = r.xmin.toDouble();
    for (int k = 0; k < 2; ++k) summed += r.Lx.value();
    EXPECT_NE(summed, 2.8); // what repeated addition would have given
    // No more than 29 points for any entry the fields accept.
    for (double e = 0; e <= 150; e += 0.37)
        for (int nx : {1, 7, 18, 25}) {
            EXPECT_LE(SweepRange::flow(D(e), nx).count(), 29) << e;
            EXPECT_LE(SweepRange::temperature(D(e - 5), nx).count(), 29) << e;
        }
}

TEST(Frame, HeatDutyAxis)
{
    const Geometry g = flowGeometry();
    SweepTable flat;
    for (int i = 0; i < 5; ++i) flat.append({double(i), 0, 80, 20, 0});
    Axes a = Axes::make(g, Variant::Flow, flat, 80, 20);
    EXPECT_EQ(a.q.L.value(), 0.001);
    EXPECT_EQ(a.q.min.toDouble(), 0);
    EXPECT_EQ(a.qmax.toDouble(), 0.003);
    EXPECT_EQ(a.nq, 3);
    EXPECT_EQ(heatDutyFormat(a.q.L).text(0), "0.000");

    // Another constant duty: Int(c / 0.001) * 0.001 to three steps above.
    SweepTable constant;
    constant.append({1, 12.3456, 50, 40, 0});
    a = Axes::make(g, Variant::Flow, constant, 80, 20);
    EXPECT_EQ(a.q.min.toDouble(), 12.345);
    EXPECT_EQ(a.qmax.toDouble(), 12.348);

    // A maximum on the grid still gets one more step above it.
    SweepTable onGrid;
    onGrid.append({1, 0, 50, 40, 0});
    onGrid.append({2, 20, 50, 40, 0});
    Geometry four = g;
    four.ny = 4;
    a = Axes::make(four, Variant::Flow, onGrid, 80, 20);
    EXPECT_EQ(a.q.L.value(), 5);
    EXPECT_EQ(a.qmax.toDouble(), 25);
    EXPECT_EQ(a.nq, 5);
    // Grid rows: exact fifths of the plot height, top row at y0.
    EXPECT_EQ(a.gridY(four, 0), 347);
    EXPECT_EQ(a.gridY(four, 1), 285); // 347 - 61.4
    EXPECT_EQ(a.gridY(four, 5), 40);
}

TEST(Frame, EmptyTemperatureSweep)
{
    const Geometry g = temperatureGeometry();
    const SweepTable empty;
    const Axes a = Axes::make(g, Variant::Temperature, empty, 80, -0.001);
    EXPECT_EQ(a.q.min.toDouble(), 0);
    EXPECT_EQ(a.qmax.toDouble(), 0.003);
    // Seeded with the inlets only: the larger as the lower end.
    EXPECT_EQ(a.t.L.value(), 0.001);
    EXPECT_EQ(a.t.min.toDouble(), 80);
    EXPECT_EQ(xLabel(Variant::Temperature, Step{1, -3}, empty.at(1).x), "0.000");
}

TEST(Frame, PixelPositions)
{
    const Geometry f = flowGeometry();
    EXPECT_EQ(pointX(f, 1, 17), 60);
    EXPECT_EQ(pointX(f, 2, 17), 60 + 543 / 16);
    EXPECT_EQ(pointX(f, 17, 17), 603);
    EXPECT_EQ(markerX(f, 7, SweepRange::flow(D(7), 25)), 60 + 543 / 2);
    // Entered flow 0: the lower bound puts the marker one pixel left of the axis.
    EXPECT_EQ(markerX(f, 0, SweepRange::flow(D(0), 25)), 59);
    // A temperature range with no width places the marker on the axis.
    const Geometry t = temperatureGeometry();
    EXPECT_EQ(markerX(t, -0.0015, SweepRange::temperature(D(-0.0015), 25)), 60);
    // The inverted empty range still places it by the formula.
    EXPECT_EQ(markerX(t, -1, SweepRange::temperature(D(-1), 25)), 462);
}

TEST(Frame, LabelTexts)
{
    EXPECT_EQ(heatDutyFormat(Step{1, 0}).text(40), "       40");
    EXPECT_EQ(heatDutyFormat(Step{5, -1}).text(2.5), "    2.5");
    EXPECT_EQ(heatDutyFormat(Step{2, -2}).text(0.04), "  0.04");
    EXPECT_EQ(temperatureFormat(Step{5, 0}).text(5), "  5");
    EXPECT_EQ(temperatureFormat(Step{2, -1}).text(74.2), "74.2");
    EXPECT_EQ(pressureFormat(Step{1, -2}).text(50), " 50");   // 0.01 bar = 1 kPa
    EXPECT_EQ(pressureFormat(Step{5, -3}).text(0.5), "0.5");  // 0.005 bar = 0.5 kPa
    EXPECT_EQ(xLabel(Variant::Flow, Step{1, 1}, 60), "       60");
    EXPECT_EQ(xLabel(Variant::Flow, Step{5, -1}, 3.5), "3.5");
    EXPECT_EQ(xLabel(Variant::Temperature, Step{1, 0}, 9), "9");
    EXPECT_EQ(xLabel(Variant::Temperature, Step{1, -3}, -0.001), "-0.001");
    // Halves to the even digit, from the exact binary value.
    EXPECT_EQ(FixedWidth(0.125, 12, 2), "        0.12");
    EXPECT_EQ(FixedWidth(0.375, 0, 2), "0.38");
    EXPECT_EQ(FixedWidth(2.5, 3, 0), "  2");
    EXPECT_EQ(FixedWidth(1234567.5, 3, 0), "1234568"); // widened
    EXPECT_EQ(FixedWidth(-0.001, 12, 0), "           0");
    EXPECT_EQ(FixedWidth(-0.004, 0, 2), "0.00");
    EXPECT_EQ(FixedWidth(-0.005, 5, 2), "-0.01");
    EXPECT_EQ(IntWidth(6, 4), "   6");
}

// ---- the sweeps on the calculation state

namespace {

rating::Model rated()
{
    rating::Model m = defaultModel();
    m.Szamitas();
    return m;
}

} // namespace

TEST(Sweeps, JacketFlowAtTheDefaults)
{
    rating::Model m = rated();
    const double dps = m.Delta_ps;
    const SweepRange r = SweepRange::flow(D(m.MVk), 25);
    SweepTable t;
    flowSweep(m, JacketFlow, 1, r, t);
    ASSERT_EQ(t.N, 17);
    EXPECT_EQ(t.at(1).x, 3.0);
    EXPECT_EQ(t.at(17).x, 11.0);
    EXPECT_EQ(m.Vk, 11.0 / 3600);
    EXPECT_EQ(m.Delta_ps, dps); // the other side's drop is not recomputed
    for (int i = 2; i <= t.N; ++i) {
        EXPECT_GT(t.at(i).q, t.at(i - 1).q);
        EXPECT_GT(t.at(i).dp, t.at(i - 1).dp);
    }
    // The point at the entered flow is the rating of the main window.
    rating::Model again = rated();
    EXPECT_DOUBLE_EQ(t.at(9).q * 1000, again.Q);
    EXPECT_DOUBLE_EQ(t.at(9).dp, again.Delta_pk);

    // In l/min every point converts as x * 6 / 360000.
    rating::Model l = rated();
    SweepTable tl;
    flowSweep(l, CoilFlow, 0, SweepRange::flow(D(60), 25), tl);
    EXPECT_EQ(tl.at(1).x, 25);
    EXPECT_EQ(l.Vs, static_cast<double>(static_cast<long double>(tl.at(tl.N).x) * 6 / 360000));
}

TEST(Sweeps, InletTemperatures)
{
    // Coil inlet 20 with the jacket at 30: 9..31, the point at 30 has no duty.
    rating::Model m = defaultModel();
    m.tkb = 30;
    m.Szamitas();
    SweepTable t;
    {
        const SweptInletRestore restore(m, CoilInlet);
        temperatureSweep(m, CoilInlet, SweepRange::temperature(D(20), 25), t);
        EXPECT_EQ(m.tsb, 32); // the value after the last point seeds the axis
    }
    EXPECT_EQ(m.tsb, 20);
    ASSERT_EQ(t.N, 23);
    EXPECT_EQ(t.at(22).x, 30);
    EXPECT_EQ(t.at(22).q, 0);
    EXPECT_GT(t.at(21).q, 0);

    // Coil inlet 5, jacket 2.8, both flows 150 m3/h: 27 points, the one at
    // 2.8 °C lands exactly on the jacket inlet and rates to zero duty.
    rating::Model c = defaultModel();
    c.tsb = 5;
    c.tkb = 2.8;
    c.MVk = c.MVs = 150;
    c.Szamitas();
    SweepTable tc;
    {
        const SweptInletRestore restore(c, CoilInlet);
        EXPECT_NO_THROW(temperatureSweep(c, CoilInlet, SweepRange::temperature(D(5), 25), tc));
    }
    EXPECT_EQ(tc.N, 27);
    EXPECT_EQ(tc.at(3).x, 2.8);
    EXPECT_EQ(tc.at(3).q, 0);
}

TEST(Sweeps, AFaultStopsTheSweepAndTheInletIsPutBack)
{
    rating::Model m = rated();
    m.Parh = 0; // every point divides by the parallel count
    SweepTable t;
    EXPECT_THROW(
        {
            const SweptInletRestore restore(m, JacketInlet);
            temperatureSweep(m, JacketInlet, SweepRange::temperature(D(80), 25), t);
        },
        rating::ArithmeticError);
    EXPECT_EQ(t.N, 0);
    EXPECT_EQ(m.tkb, 80);
}

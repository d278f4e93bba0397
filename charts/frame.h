// The frame shared by the four characteristic charts: plot geometry, the
// sweep range on the x axis, the heat-duty, temperature and pressure-drop
// axes, pixel positions and label texts. Values only, no painting, no Qt.
#pragma once

#include "charts/decimal.h"

#include <array>
#include <string>

namespace charts {

// Flow charts carry a pressure-drop axis right of the temperature axis;
// temperature charts do not.
enum class Variant { Flow, Temperature };

// One rated point of a sweep.
struct Point {
    double x = 0;   // swept value: a flow in the unit of its list, or an inlet temperature in °C
    double q = 0;   // heat duty, kW
    double tkk = 0; // jacket outlet, °C
    double tsk = 0; // coil outlet, °C
    double dp = 0;  // pressure drop of the swept side, bar (flow charts)
};

// Up to 30 points in sweep order; an unfilled slot reads as zeros.
struct SweepTable {
    static constexpr int Capacity = 30;
    std::array<Point, Capacity> p{};
    int N = 0;
    // Point i, counted from 1 as the charts count them.
    const Point &at(int i) const { return p[static_cast<std::size_t>(i - 1)]; }
    bool append(const Point &pt)
    {
        if (N >= Capacity) return false;
        p[static_cast<std::size_t>(N++)] = pt;
        return true;
    }
};

// Plot geometry in pixels of the client area.
struct Geometry {
    int W = 0, H = 0;
    int x0 = 60, y0 = 40, x1 = 0, y1 = 0;
    int nx = 0, ny = 0; // interval limits of the x and heat-duty axes
    // th is the text height of "9" in the chart font.
    static Geometry make(Variant v, int W, int H, int th);
};

// The x axis: the rounded sweep range and its step. The sweep visits
// xmin, xmin + Lx, ... while the value is at most xmax + Lx/2, each value
// an exact multiple of the step.
struct SweepRange {
    Decimal xmin, xmax;
    Step Lx;
    // Sweep value k (from 0).
    Decimal at(int k) const { return xmin + Decimal(k) * Lx.decimal(); }
    // Number of sweep values, at most SweepTable::Capacity.
    int count() const;

    // Flow charts: 0.5 to 1.5 times the entered flow, both ends moved out
    // by a step onto the grid (Round, halves to even, for steps of 1 and
    // more; Int below), never below 1e-10.
    static SweepRange flow(const Decimal &entered, int nx);
    // Temperature charts: max(0.5 t0, 0) to min(1.5 t0, 150), ends always
    // rounded with Round; a range below 0 °C may come out empty.
    static SweepRange temperature(const Decimal &entered, int nx);
};

// A value axis whose grid lines sit on the heat-duty grid.
struct ValueAxis {
    Decimal min;      // lower end, on the step grid
    Step L;           // step per grid interval
    long double k = 0; // pixels per unit
    // Value of grid line j (from 0).
    Decimal at(int j) const { return min + Decimal(j) * L.decimal(); }
    // Pixel row of a value on this axis.
    int y(double v, int y1) const;
};

struct Axes {
    ValueAxis q;    // heat duty, kW
    Decimal qmax;   // upper end of the heat-duty axis
    int nq = 0;     // heat-duty grid intervals (at least 3)
    ValueAxis t;    // temperature, °C; shows nq + 1 labels from t.min upward
    ValueAxis p;    // pressure drop, bar (flow charts)

    // tkbSeed and tsbSeed are the state's inlet temperatures as they stand
    // when the axes are scaled.
    static Axes make(const Geometry &g, Variant v, const SweepTable &table, double tkbSeed, double tsbSeed);

    // Row of heat-duty grid line j, exact: y1 - j * (y1 - y0) / nq, truncated.
    int gridY(const Geometry &g, int j) const;
};

// Column of sweep point i (from 1) of n points spread evenly over the plot.
int pointX(const Geometry &g, int i, int n);
// Column of the entered value on the x axis; at x0 when the range has no width.
int markerX(const Geometry &g, double entered, const SweepRange &r);

// Label formats, width:decimals, from the axis step.
struct LabelFormat {
    int width = 0, decimals = 0;
    std::string text(double v) const { return FixedWidth(v, width, decimals); }
};
LabelFormat heatDutyFormat(const Step &Lq);
LabelFormat temperatureFormat(const Step &Lt);
LabelFormat pressureFormat(const Step &Lp); // of the kPa labels (step times 100)
LabelFormat xFormat(Variant v, const Step &Lx);
// Text of an x label: temperature-chart labels lose their blanks, flow-chart
// labels keep them.
std::string xLabel(Variant v, const Step &Lx, double x);

} // namespace charts

// The four sweeps behind the characteristic charts. Each rates the
// installation on the main window's calculation state at every point of a
// sweep range and fills a sweep table; an arithmetic fault of one point's
// rating propagates, and the points before it stay in the table.
// Plain C++, no Qt.
#pragma once

#include "charts/frame.h"
#include "rating/model.h"

namespace charts {

// The chart numbers as the chart window keeps them.
enum Chart : int { JacketFlow = 1, CoilFlow = 2, JacketInlet = 3, CoilInlet = 4 };

inline Variant variantOf(int chart) { return chart <= CoilFlow ? Variant::Flow : Variant::Temperature; }
// True for the charts whose swept side is the jacket (left table column).
inline bool sweepsJacket(int chart) { return chart == JacketFlow || chart == JacketInlet; }

// The value of the swept input as entered (the flow as typed, in the unit
// of its list, or the inlet temperature the state holds).
double enteredValue(const rating::Model &m, int chart);

// Flow sweep: for every point the swept side's flow is converted to m3/s
// (unitIndex 1 m3/h, otherwise l/min) and stored in Vk or Vs, the outlet
// temperatures are iterated and the swept side's pressure drop computed.
// The state keeps what the last point left.
void flowSweep(rating::Model &m, int chart, int unitIndex, const SweepRange &range, SweepTable &table);

// Inlet-temperature sweep on the state field itself (tkb or tsb): after the
// points it holds the value after the last one (the last point plus Lx, or
// xmin for an empty range), which seeds the temperature axis. The caller
// puts the entered value back (SweptInletRestore).
void temperatureSweep(rating::Model &m, int chart, const SweepRange &range, SweepTable &table);

// What a chart computes before it draws. It is filled as the sweep goes,
// so after a fault it holds what was reached; complete tells whether the
// chart (its drawing included, where there is one) ended.
struct ChartResult {
    int chart = 0;
    bool complete = false;
    Geometry g;
    SweepRange range;
    SweepTable table;
    Axes axes;
};

// The numbers of chart 1..4 (jacket flow, coil flow, jacket inlet, coil
// inlet) for the plot geometry g, as the drawing computes them: the sweep
// range around the entered value, the sweep on the state (the flow in the
// unit of unitIndex, 1 m3/h, otherwise l/min) and the axes scaled to it.
// The state keeps what a flow sweep's last point left; a swept inlet
// temperature is put back, also when a point's rating fails, whose fault
// propagates with the points before it in r. r.complete stays false.
void sweepChart(rating::Model &m, int chart, int unitIndex, const Geometry &g, ChartResult &r);

// Puts the swept inlet temperature back when it goes out of scope, also
// when a point's rating fails: a repaint after a failed sweep must sweep
// around the entered value again, not around the point that failed.
class SweptInletRestore {
public:
    SweptInletRestore(rating::Model &m, int chart);
    ~SweptInletRestore() { *field_ = value_; }
    SweptInletRestore(const SweptInletRestore &) = delete;
    SweptInletRestore &operator=(const SweptInletRestore &) = delete;

private:
    double *field_;
    double value_;
};

} // namespace charts

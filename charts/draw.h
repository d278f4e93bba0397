// One characteristic chart, swept and drawn: the routine behind the chart
// window's paint, its capture for paper and the benchmarks.
#pragma once

#include "charts/frame.h"
#include "charts/sweep.h"
#include "platform/Surface.h"
#include "rating/model.h"

#include <QString>

namespace charts {

// What a chart reads from the main window when it draws: the phrases of the
// interface language, the captions of the result table and the current
// texts and positions of the type and unit lists.
struct ChartTexts {
    QString SzHoteljesitmeny, SzHocserelo, SzTerfaramK, SzTerfaramS, SzBelhomK, SzBelhomS;
    QString LbKopeny, LbSpiral, LbTerfaramK, LbBelhomK, LbKilhomK, LbNyomasesesK;
    QString CbTipus, CbMVk, CbMVs;
    int CbMVkIndex = 1, CbMVsIndex = 1;
};

// Runs chart 1..4 (jacket flow, coil flow, jacket inlet, coil inlet) on the
// state and draws it on the surface for a client area of W x H pixels, in
// this order: clear, sweep, axes, titles and units, horizontal grid with its
// labels, x unit, first x tick, marker, curves with the vertical grid, and
// the table under the plot. An arithmetic fault of the sweep propagates and
// leaves on the surface what was drawn before it.
void drawChart(platform::Surface &s, int chart, int W, int H, rating::Model &m, const ChartTexts &t,
               ChartResult *result = nullptr);

} // namespace charts

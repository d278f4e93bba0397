// One chart paint at the default client size, for each of the four charts:
// the sweep and the drawing into an image, beside the sweep alone (the
// floor the drawing adds to) and a blank fill of the same image.
#include "bench/qtbench.h"
#include "charts/draw.h"
#include "widgets/fonts.h"
#include "platform/Canvas.h"
#include "tests/rating/fixture.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

constexpr int W = 723, H = 467;

charts::ChartTexts englishTexts()
{
    charts::ChartTexts t;
    t.SzHoteljesitmeny = "Total heat transfer";
    t.SzHocserelo = "heat exchanger";
    t.SzTerfaramK = "Volume flow rate in shell side";
    t.SzTerfaramS = "Volume flow rate in spiral side";
    t.SzBelhomK = "Shell side inlet temperature";
    t.SzBelhomS = "Spiral side inlet temperature";
    t.LbKopeny = "Shell side";
    t.LbSpiral = "Spiral side";
    t.LbTerfaramK = "Volume flow rate";
    t.LbBelhomK = "Inlet temperature";
    t.LbKilhomK = "Outlet temperature";
    t.LbNyomasesesK = "Pressure drop";
    t.CbTipus = "VT/R-0";
    t.CbMVk = t.CbMVs = "m3/h";
    return t;
}

rating::Model rated()
{
    rating::Model m = defaultModel();
    m.Szamitas();
    return m;
}

void ChartPaint(benchmark::State &state)
{
    const int chart = static_cast<int>(state.range(0));
    rating::Model m = rated();
    const charts::ChartTexts t = englishTexts();
    QImage image(W, H, QImage::Format_RGB32);
    platform::Canvas canvas(fonts::sansSerif(8));
    for (auto _ : state) {
        platform::Canvas::Scope scope(canvas, &image);
        charts::drawChart(canvas, chart, W, H, m, t);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(ChartPaint)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

void ChartSweepOnly(benchmark::State &state)
{
    const int chart = static_cast<int>(state.range(0));
    rating::Model m = rated();
    const charts::Geometry g = charts::Geometry::make(charts::variantOf(chart), W, H, 13);
    const charts::Decimal entered = charts::Decimal::fromDouble(charts::enteredValue(m, chart));
    for (auto _ : state) {
        charts::SweepTable table;
        if (chart <= 2) {
            charts::flowSweep(m, chart, 1, charts::SweepRange::flow(entered, g.nx), table);
        } else {
            const charts::SweptInletRestore restore(m, chart);
            charts::temperatureSweep(m, chart, charts::SweepRange::temperature(entered, g.nx), table);
        }
        benchmark::DoNotOptimize(table.N);
    }
}
BENCHMARK(ChartSweepOnly)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

void BlankFill(benchmark::State &state)
{
    QImage image(W, H, QImage::Format_RGB32);
    platform::Canvas canvas;
    for (auto _ : state) {
        platform::Canvas::Scope scope(canvas, &image);
        canvas.rectangle(0, 0, W, H);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BlankFill)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) { return runWithQt(argc, argv); }

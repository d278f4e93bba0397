#include "charts/draw.h"

namespace charts {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kGray(128, 128, 128);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kOrange(255, 128, 64);

QString q(const std::string &s) { return QString::fromStdString(s); }

// value * 100 in extended precision: a pressure drop in kPa.
double kPa(double bar) { return static_cast<double>(static_cast<long double>(bar) * 100); }

void drawLeft(platform::Surface &s, int y, const QString &text) { s.textOut(2, y, text); }
void drawRight(platform::Surface &s, int W, int y, const QString &text) { s.textOut(W - 18 - s.textWidth(text), y, text); }

} // namespace

void drawChart(platform::Surface &s, int chart, int W, int H, rating::Model &m, const ChartTexts &t,
               ChartResult *result)
{
    ChartResult local;
    ChartResult &r = result ? *result : local;
    r = ChartResult();
    r.chart = chart;
    const Variant v = variantOf(chart);
    const bool flow = v == Variant::Flow;
    const bool jacket = sweepsJacket(chart);

    // Clear, with the pen at the width the previous chart left.
    s.setPenColor(kBlack);
    s.setFontColor(kBlack);
    s.rectangle(0, 0, W, H);
    const Geometry g = Geometry::make(v, W, H, s.textHeight(QStringLiteral("9")));
    r.g = g;

    // Sweep around the entered value, and scale the axes.
    const double entered = enteredValue(m, chart);
    sweepChart(m, chart, jacket ? t.CbMVkIndex : t.CbMVsIndex, g, r);
    const SweepRange &range = r.range;
    const SweepTable &table = r.table;
    const int N = table.N;
    const Axes &a = r.axes;

    // Axes.
    s.setPenColor(kGray);
    s.setPenWidth(1);
    s.line(g.x0, g.y0, g.x0, g.y1 + 5);
    s.line(g.x0, g.y1, g.x1, g.y1);

    // Heat-duty axis title, chart title, units.
    s.setFontColor(kRed);
    const QString kW = QStringLiteral("kW");
    s.textOut(g.x0 - s.textWidth(kW), g.y0 - 2 * s.textHeight(kW), kW);
    s.textOut(g.x0 - s.textWidth(kW), g.y0 - 3 * s.textHeight(t.SzHoteljesitmeny), t.SzHoteljesitmeny);
    s.setFontColor(kBlack);
    const QString title = chart == JacketFlow ? t.SzTerfaramK
                          : chart == CoilFlow ? t.SzTerfaramS
                          : chart == JacketInlet ? t.SzBelhomK
                                                 : t.SzBelhomS;
    const int titleHeight = s.textHeight(title);
    s.textOut((W - s.textWidth(title)) / 2, 8, title);
    const QString degC = QStringLiteral("°C");
    s.textOut(g.x1 + s.textWidth(degC), g.y0 - 2 * s.textHeight(degC), degC);
    if (flow) {
        const QString unit = QStringLiteral("kPa");
        s.textOut(g.x1 + 57, g.y0 - 2 * s.textHeight(unit), unit);
    }

    // Horizontal grid with the heat-duty, temperature and pressure labels.
    const LabelFormat qf = heatDutyFormat(a.q.L), tf = temperatureFormat(a.t.L), pf = pressureFormat(a.p.L);
    for (int j = 0; j <= a.nq; ++j) {
        const int y = a.gridY(g, j);
        s.setFontColor(kRed);
        const QString ql = q(qf.text(a.q.at(j).toDouble()));
        s.textOut(g.x0 - 7 - s.textWidth(ql), y - s.textHeight(ql) / 2, ql);
        s.setFontColor(kBlack);
        s.setPenColor(kGray);
        s.setPenWidth(1);
        s.line(g.x0, y, g.x0 - 5, y);
        s.line(g.x0, y, g.x1, y);
        const QString tl = q(tf.text(a.t.at(j).toDouble()));
        s.textOut(g.x1 + 7, y - s.textHeight(tl) / 2, tl);
        if (flow) {
            const QString pl = q(pf.text((a.p.at(j) * Decimal(100)).toDouble()));
            s.textOut(g.x1 + 57, y - s.textHeight(pl) / 2, pl);
        }
    }

    // Unit of the x axis, first tick and label.
    s.setPenColor(kGray);
    s.setPenWidth(1);
    s.setFontColor(kBlack);
    const QString xUnit = chart == JacketFlow ? QLatin1Char(' ') + t.CbMVk
                          : chart == CoilFlow ? QLatin1Char(' ') + t.CbMVs
                                              : degC;
    s.textOut(g.x1, g.y1 + 2 * s.textHeight(xUnit), xUnit);
    s.line(g.x0, g.y1, g.x0, g.y1 + 5);
    {
        const QString l = q(xLabel(v, range.Lx, table.at(1).x));
        s.textOut(g.x0 - s.textHeight(l) / 2, g.y1 + 5, l);
    }

    // Marker at the entered value.
    s.setPenColor(kBlack);
    const int xm = markerX(g, entered, range);
    s.line(xm, g.y0, xm, g.y1);

    // Curves, kept between the title and the table, with the vertical grid.
    const QRect band(0, 8 + titleHeight, W, H - 77 - (8 + titleHeight));
    for (int i = 2; i <= N; ++i) {
        const int xa = pointX(g, i - 1, N), xb = pointX(g, i, N);
        const Point &pa = table.at(i - 1), &pb = table.at(i);
        s.setClipRect(band);
        s.setPenColor(kRed);
        s.setPenWidth(2);
        s.line(xa, a.q.y(pa.q, g.y1), xb, a.q.y(pb.q, g.y1));
        s.setPenColor(kGreen);
        s.line(xa, a.t.y(pa.tkk, g.y1), xb, a.t.y(pb.tkk, g.y1));
        s.setPenColor(kBlue);
        s.line(xa, a.t.y(pa.tsk, g.y1), xb, a.t.y(pb.tsk, g.y1));
        if (flow) {
            s.setPenColor(kOrange);
            s.line(xa, a.p.y(pa.dp, g.y1), xb, a.p.y(pb.dp, g.y1));
        }
        s.setClipRect(QRect());
        s.setPenColor(kGray);
        s.setPenWidth(1);
        // On the column of the entered value the black marker, drawn
        // before the curves, stands for the grid line.
        if (xb != xm) s.line(xb, g.y1, xb, g.y0);
        s.line(xb, g.y1, xb, g.y1 + 5);
        const QString l = q(xLabel(v, range.Lx, pb.x));
        s.textOut(xb - s.textHeight(l) / 2, g.y1 + 5, l);
    }

    // The table under the plot: row captions with their lines.
    s.setPenColor(kGray);
    s.setFontColor(kBlack);
    const std::pair<const QString *, int> rows[] = {
        {&t.LbNyomasesesK, 15}, {&t.LbKilhomK, 30}, {&t.LbBelhomK, 45}, {&t.LbTerfaramK, 60}};
    for (const auto &[caption, up] : rows) {
        s.textOut((W - s.textWidth(*caption)) / 2, H - up, *caption);
        s.line(0, H - up - 2, W, H - up - 2);
    }
    // Column lines.
    s.line(W / 2 - 80, H - 62, W / 2 - 80, H);
    s.line(W / 2 + 80, H - 62, W / 2 + 80, H);
    s.line(100, H - 62, 100, H - 77);
    s.line(W - 100, H - 62, W - 100, H - 77);
    // Header row: the two sides and the installation between them.
    s.textOut(16, H - 75, t.LbKopeny);
    s.textOut(W - 16 - s.textWidth(t.LbSpiral), H - 75, t.LbSpiral);
    QString installation;
    const long long units = static_cast<long long>(m.Parh) * m.Soros;
    if (units > 1)
        installation = q(IntWidth(m.Parh, 2)) + QStringLiteral(" paralel x ") + q(IntWidth(m.Soros, 2)) +
                       QStringLiteral(" serial = ");
    installation += q(IntWidth(units, 4)) + QStringLiteral("db ") + t.CbTipus + QLatin1Char(' ') + t.SzHocserelo;
    s.textOut((W - s.textWidth(installation)) / 2, H - 75, installation);
    s.setPenWidth(2);
    s.line(0, H - 77, W, H - 77);

    // Legend lines.
    s.setPenColor(kGreen);
    s.line(16, H - 24, 116, H - 24);
    s.setPenColor(kBlue);
    s.line(W - 118, H - 24, W - 18, H - 24);
    if (flow) {
        s.setPenColor(kOrange);
        if (jacket) s.line(16, H - 8, 116, H - 8);
        else s.line(W - 118, H - 8, W - 18, H - 8);
    }

    // Value cells.
    const QString mvk = q(FixedWidth(m.MVk, 12, 2)) + QLatin1Char(' ') + t.CbMVk;
    const QString mvs = q(FixedWidth(m.MVs, 12, 2)) + QLatin1Char(' ') + t.CbMVs;
    const QString dpk = q(FixedWidth(kPa(m.Delta_pk), 13, 3)) + QStringLiteral(" kPa");
    const QString dps = q(FixedWidth(kPa(m.Delta_ps), 13, 3)) + QStringLiteral(" kPa");
    const double xmin = range.xmin.toDouble(), xmax = range.xmax.toDouble();
    if (flow) {
        const QString unit = jacket ? t.CbMVk : t.CbMVs;
        const QString rangeCell = q(FixedWidth(xmin, 12, 2)) + QStringLiteral(" - ") + q(FixedWidth(xmax, 12, 2)) +
                                  QLatin1Char(' ') + unit;
        if (jacket) {
            drawLeft(s, H - 60, rangeCell);
            drawRight(s, W, H - 60, mvs);
        } else {
            drawRight(s, W, H - 60, rangeCell);
            drawLeft(s, H - 60, mvk);
        }
        drawLeft(s, H - 45, q(FixedWidth(m.tkb, 12, 2)) + QStringLiteral(" °C"));
        drawRight(s, W, H - 45, q(FixedWidth(m.tsb, 12, 2)) + QStringLiteral(" °C"));
        if (jacket) drawRight(s, W, H - 15, dps);
        else drawLeft(s, H - 15, dpk);
    } else {
        const QString rangeCell =
            q(FixedWidth(xmin, 12, 0)) + QStringLiteral(" - ") + q(FixedWidth(xmax, 3, 0)) + QStringLiteral(" °C");
        drawLeft(s, H - 60, mvk);
        drawRight(s, W, H - 60, mvs);
        if (jacket) {
            drawLeft(s, H - 45, rangeCell);
            drawRight(s, W, H - 45, q(FixedWidth(m.tsb, 6, 2)) + QStringLiteral(" °C"));
        } else {
            drawLeft(s, H - 45, q(FixedWidth(m.tkb, 12, 2)) + QStringLiteral(" °C"));
            drawRight(s, W, H - 45, rangeCell);
        }
        drawLeft(s, H - 15, dpk);
        drawRight(s, W, H - 15, dps);
    }
    r.complete = true;
}

} // namespace charts

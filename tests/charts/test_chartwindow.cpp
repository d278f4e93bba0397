// The chart window driven through the main window's buttons: its pixels,
// repaints, resizes, faults, languages and the hover text. The order of the
// drawing operations is in test_chartwindow_drawing.cpp.
#include "test_chartwindow.h"

#include "charts/draw.h"
#include "widgets/fonts.h"
#include "tests/charts/recording.h"

#include <QClipboard>
#include <QDir>
#include <QMenuBar>

namespace {

bool near(const QImage &img, int x, int y, const QColor &c, int radius = 2)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (img.rect().contains(p) && img.pixelColor(p) == c) return true;
        }
    return false;
}

} // namespace

void TestChartWindow::buttonsOpenTheirCharts_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("xmin");
    QTest::addColumn<double>("xmax");
    QTest::newRow("jacket inlet") << "SpeedButton1" << 3 << 19 << 35.0 << 125.0;
    QTest::newRow("jacket flow") << "SpeedButton2" << 1 << 17 << 3.0 << 11.0;
    QTest::newRow("coil flow") << "SpeedButton3" << 2 << 23 << 0.45 << 1.55;
    QTest::newRow("coil inlet") << "SpeedButton4" << 4 << 23 << 9.0 << 31.0;
}
void TestChartWindow::buttonsOpenTheirCharts()
{
    QFETCH(QString, button);
    QFETCH(int, kind);
    QFETCH(int, points);
    QFETCH(double, xmin);
    QFETCH(double, xmax);
    QVERIFY(!chart->isVisible());
    click(w->findChild<QToolButton *>(button));
    QVERIFY(chart->isVisible());
    QCOMPARE(chart->windowTitle(), QString("Grafikon"));
    QCOMPARE(chart->clientSize(), QSize(723, 467));
    QCOMPARE(chart->GrafikonFajta, kind);
    QTRY_VERIFY(chart->lastChart().complete);
    const charts::ChartResult &r = chart->lastChart();
    QCOMPARE(r.g.nx, 25);
    QCOMPARE(r.g.ny, 18);
    QCOMPARE(r.table.N, points);
    QCOMPARE(r.range.xmin.toDouble(), xmin);
    QCOMPARE(r.range.xmax.toDouble(), xmax);
    // The inputs are as entered again; the labels still show the run.
    QCOMPARE(w->model.tkb, 80.0);
    QCOMPARE(w->model.tsb, 20.0);
    QCOMPARE(w->QLabel->text(), QString("Total heat transfer=46.37 kW"));
    QVERIFY(errors.isEmpty());
    // The menu: "Print", then "Copy" and "Save…".
    QCOMPARE(chart->menuBar()->actions(), (QList<QAction *>{chart->Print1, chart->Copy1, chart->Save1}));
    QCOMPARE(chart->Print1->text(), QString("Print"));
}

void TestChartWindow::pixelsOfTheJacketFlowChart()
{
    // 7.3 m3/h puts the marker between two columns of the grid.
    typeInto(w->MVkEd, "7.3");
    click(w->SpeedButton2);
    const QImage img = shot();
    img.save(QDir::temp().filePath(QStringLiteral("chart-jacketflow.png")));
    const charts::ChartResult &r = chart->lastChart();
    const charts::Geometry &g = r.g;
    const QColor black(0, 0, 0), gray(128, 128, 128), white(255, 255, 255);
    QCOMPARE(img.size(), QSize(723, 467));
    QCOMPARE(r.range.xmin.toDouble(), 3.0);
    QCOMPARE(r.range.xmax.toDouble(), 11.0);
    const int xm = charts::markerX(g, 7.3, r.range);
    QCOMPARE(xm, 60 + int(4.3 * 543 / 8));
    int markerPixels = 0;
    for (int y = g.y0; y < g.y1; ++y) markerPixels += img.pixelColor(xm, y) == black;
    QVERIFY2(markerPixels > (g.y1 - g.y0) * 8 / 10, qPrintable(QString::number(markerPixels)));
    // Grid rows and columns.
    for (int j = 0; j <= r.axes.nq; ++j) QVERIFY(near(img, g.x0 - 3, r.axes.gridY(g, j), gray, 0));
    for (int i = 2; i <= r.table.N; ++i) QVERIFY(near(img, charts::pointX(g, i, r.table.N), g.y1 + 3, gray, 0));
    QCOMPARE(img.pixelColor(g.x0 + 20, g.y1 + 60), white);
    // Each curve in its colour at its points (a later curve may cross).
    for (int i = 1; i < r.table.N; ++i) {
        const charts::Point &p = r.table.at(i);
        const int x = charts::pointX(g, i, r.table.N) + 1;
        QVERIFY(near(img, x, r.axes.q.y(p.q, g.y1), QColor(255, 0, 0)));
        QVERIFY(near(img, x, r.axes.t.y(p.tkk, g.y1), QColor(0, 255, 0)));
        QVERIFY(near(img, x, r.axes.t.y(p.tsk, g.y1), QColor(0, 0, 255)));
        QVERIFY(near(img, x, r.axes.p.y(p.dp, g.y1), QColor(255, 128, 64)));
    }
    // Legend lines under the jacket and coil columns.
    QCOMPARE(img.pixelColor(60, 467 - 24), QColor(0, 255, 0));
    QCOMPARE(img.pixelColor(723 - 60, 467 - 24), QColor(0, 0, 255));
    QCOMPARE(img.pixelColor(60, 467 - 8), QColor(255, 128, 64));
}

void TestChartWindow::markerIsBlackOverItsWholeHeight_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<bool>("onPoint");
    QTest::newRow("jacket flow 7 m3/h, a sweep point") << "SpeedButton2" << "MVkEd" << "7" << true;
    QTest::newRow("jacket flow 7.3 m3/h, between two") << "SpeedButton2" << "MVkEd" << "7.3" << false;
    QTest::newRow("coil flow 1 m3/h, a sweep point") << "SpeedButton3" << "MVsEd" << "1" << true;
    QTest::newRow("jacket inlet 80 °C, a sweep point") << "SpeedButton1" << "tkbEd" << "80" << true;
    QTest::newRow("coil inlet 20.4 °C, between two") << "SpeedButton4" << "tsbEd" << "20.4" << false;
}
void TestChartWindow::markerIsBlackOverItsWholeHeight()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, entered);
    QFETCH(bool, onPoint);
    typeInto(w->findChild<NumEdit *>(field), entered);
    click(w->findChild<QToolButton *>(button));
    QVERIFY(errors.isEmpty());
    const QImage one = shot();
    const QImage three = chart->capture(3);
    const charts::ChartResult &r = chart->lastChart();
    const charts::Geometry &g = r.g;
    const int xm = charts::markerX(g, entered.toDouble(), r.range);
    QList<int> columns;
    for (int i = 1; i <= r.table.N; ++i) columns << charts::pointX(g, i, r.table.N);
    QCOMPARE(columns.contains(xm), onPoint);

    // Down the marker's column only black, or a curve crossing it; the
    // same for each device column of the marker at three times the
    // resolution.
    const QList<QRgb> curves = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 128, 64)};
    auto markerColumn = [&](const QImage &img, int x, int yFrom, int yTo) {
        int black = 0;
        for (int y = yFrom; y < yTo; ++y) {
            const QRgb c = img.pixel(x, y);
            if (c == qRgb(0, 0, 0)) ++black;
            else if (!curves.contains(c)) return QStringLiteral("(%1,%2) is %3").arg(x).arg(y).arg(QColor(c).name());
        }
        return black > (yTo - yFrom) * 8 / 10 ? QString() : QStringLiteral("%1 black of %2").arg(black).arg(yTo - yFrom);
    };
    QString fault = markerColumn(one, xm, g.y0, g.y1);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(one.pixel(xm, g.y1), qRgb(128, 128, 128)); // the x axis under it
    int wide = 0;
    for (int x = 3 * xm - 3; x <= 3 * xm + 3; ++x) {
        if (three.pixel(x, 3 * (g.y0 + g.y1) / 2) != qRgb(0, 0, 0) &&
            three.pixel(x, 3 * g.y0 + 6) != qRgb(0, 0, 0))
            continue;
        ++wide;
        fault = markerColumn(three, x, 3 * g.y0 + 2, 3 * g.y1 - 2);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
    QCOMPARE(wide, 3);

    // In the drawing's own operations: after the black marker no grid
    // line runs down its column; every other column has its own.
    RecordingSurface s;
    charts::drawChart(s, chart->GrafikonFajta, g.W, g.H, w->model, chart->texts());
    const QString marker = QStringLiteral("line %1,%2 %1,%3").arg(xm).arg(g.y0).arg(g.y1);
    const qsizetype at = s.log.indexOf(marker);
    QVERIFY(at > 0);
    QCOMPARE(s.log[at - 1], QString("pen black"));
    const QStringList after = s.log.mid(at + 1);
    for (int i = 2; i <= r.table.N; ++i) {
        const QString grid = QStringLiteral("line %1,%2 %1,%3").arg(columns[i - 1]).arg(g.y1).arg(g.y0);
        QCOMPARE(after.contains(grid), columns[i - 1] != xm);
    }
}

void TestChartWindow::repaintAndResizeGiveTheSamePicture()
{
    click(w->SpeedButton4);
    const QImage first = shot();
    chart->repaint();
    QCOMPARE(shot(), first);
    chart->setClientSize(QSize(500, 400));
    QVERIFY(shot() != first);
    chart->setClientSize(QSize(723, 467));
    QCOMPARE(shot(), first);
    QVERIFY(errors.isEmpty());
}

void TestChartWindow::smallestWindowStillDrawsAWholeChart()
{
    click(w->SpeedButton2);
    chart->resize(100, 100); // the window holds its smallest size
    QCOMPARE(chart->clientSize(), TgrTerfKopF::MinimumClient);
    const QImage img = shot();
    const charts::ChartResult &r = chart->lastChart();
    QVERIFY(r.complete);
    QCOMPARE(r.g.nx, 10);
    QCOMPARE(r.g.ny, 9);
    QVERIFY(r.table.N >= 2 && r.table.N <= 14);
    QCOMPARE(img.pixelColor(40, 314 - 24), QColor(0, 255, 0));
    QCOMPARE(img.pixelColor(200, 314 - 77), QColor(128, 128, 128));
}

void TestChartWindow::curvesStayBetweenTitleAndTable()
{
    // 150 units in series: the coil's pressure drop climbs far above the
    // top of its axis (whose step stops at 1000 bar).
    typeInto(w->SorosEd, "150");
    typeInto(w->MVsEd, "10");
    click(w->SpeedButton3);
    QVERIFY(errors.isEmpty());
    const QImage img = shot();
    img.save(QDir::temp().filePath(QStringLiteral("chart-clipped.png")));
    const charts::ChartResult &r = chart->lastChart();
    QVERIFY(r.complete);
    QVERIFY(r.axes.p.y(r.table.at(r.table.N).dp, r.g.y1) < 0); // would leave the window
    const QColor orange(255, 128, 64);
    const int th = chart->canvas().textHeight("9");
    auto oranges = [&](int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) == orange;
        return n;
    };
    QCOMPARE(oranges(0, 8 + th), 0);           // title and units untouched
    QVERIFY(oranges(8 + th, r.g.y1) > 100);    // the curve inside the plot
    QCOMPARE(oranges(467 - 76, 467 - 10), 0);  // the table, above its legend line
    // The same chart, drawn afresh: the pressure-drop axis is the coarsest.
    QCOMPARE(r.axes.p.L.value(), 1000.0);
}

void TestChartWindow::closedWindowReopensWithTheNewChart()
{
    click(w->SpeedButton1);
    // Centred on the main window the first time it shows.
    QVERIFY((chart->frameGeometry().center() - w->frameGeometry().center()).manhattanLength() <= 1);
    QCOMPARE(chart->GrafikonFajta, 3);
    chart->close();
    QVERIFY(!chart->isVisible());
    QCOMPARE(chart->GrafikonFajta, 3);
    click(w->SpeedButton3);
    QVERIFY(chart->isVisible());
    QCOMPARE(chart->GrafikonFajta, 2);
    QCOMPARE(chart->lastChart().chart, 2);
}

void TestChartWindow::faultsAreReportedOnceAndNeverByAPaint()
{
    click(w->SpeedButton2);
    const QImage drawn = shot();
    // A state that faults in the sweep: the paint stops where it is,
    // with the surface cleared, and says nothing.
    w->model.Parh = 0;
    const QImage faulted = shot();
    chart->setClientSize(QSize(600, 400));
    QVERIFY(QTest::qWaitForWindowExposed(chart.get()));
    chart->repaint();
    QVERIFY(errors.isEmpty());
    QVERIFY(!chart->lastChart().complete);
    QCOMPARE(faulted.pixelColor(300, 200), QColor(255, 255, 255));
    QVERIFY(faulted != drawn);

    // A chart button whose recalculation fails reports it once; the
    // window's repaints that follow add nothing.
    chart->setClientSize(QSize(723, 467));
    typeInto(w->ParhEd, "0.5");
    click(w->SpeedButton2);
    QCOMPARE(errors, QStringList{"Floating point division by zero"});
    for (int h = 320; h <= 440; h += 40) chart->setClientSize(QSize(640, h));
    QCoreApplication::processEvents();
    QCOMPARE(errors.size(), 1);
}

void TestChartWindow::pastedInletWithAZeroWidthRange()
{
    // -0.0015 °C rounds to a range of no width: the marker goes on the axis.
    w->tsbEd->setFocus(Qt::TabFocusReason);
    w->tsbEd->selectAll();
    QGuiApplication::clipboard()->setText("-0.0015");
    QTest::keyClick(w->tsbEd, Qt::Key_V, Qt::ControlModifier);
    click(w->SpeedButton4); // the field keeps the focus: its text counts
    QVERIFY(errors.isEmpty());
    const charts::ChartResult &r = chart->lastChart();
    QVERIFY(r.complete);
    QCOMPARE(r.range.xmin.toDouble(), -0.001);
    QCOMPARE(r.range.xmax.toDouble(), -0.001);
    QCOMPARE(charts::markerX(r.g, -0.0015, r.range), 60);
    QCOMPARE(w->model.tsb, -0.0015);
    QCOMPARE(shot().pixelColor(60, 200), QColor(0, 0, 0));
}

void TestChartWindow::chartsFollowTheLanguage()
{
    click(w->SpeedButton2);
    const int thEnglish = chart->canvas().textHeight("9");
    w->ComboBox1->setCurrentIndex(2); // RUS
    w->ComboBox1CloseUp();
    QCOMPARE(fonts::charset(chart.get()), 204);
    QCOMPARE(fonts::pointSize(chart.get()), 7);
    QVERIFY(QTest::qWaitForWindowExposed(chart.get()));
    chart->repaint();
    const charts::ChartTexts t = chart->texts();
    QCOMPARE(t.SzTerfaramK, QString("объемный поток на кожухной стороне"));
    QCOMPARE(t.LbKopeny, QString("кожухная сторона"));
    // The chart draws in the window's 7-point font. (The bitmap face has
    // no glyphs below 8 points, so its digits stay as they were.)
    QCOMPARE(chart->canvas().font().pixelSize(), 9);
    QVERIFY(chart->canvas().textHeight("9") <= thEnglish);
    shot().save(QDir::temp().filePath(QStringLiteral("chart-rus.png")));
    QVERIFY(errors.isEmpty());
}

void TestChartWindow::hoverShowsTheNearestPoint()
{
    click(w->SpeedButton2);
    QWidget *view = chart->clientArea();
    QVERIFY(QTest::qWaitForWindowExposed(chart.get()));
    const charts::ChartResult &r = chart->lastChart();
    // Through the window, as the pointer moves over it.
    auto hover = [&](const QPoint &p) { QTest::mouseMove(chart->windowHandle(), view->mapTo(chart.get(), p)); };
    hover(QPoint(charts::pointX(r.g, 9, r.table.N) + 2, 200));
    const QString tip = view->toolTip();
    QVERIFY2(tip.startsWith("Volume flow rate in shell side: 7.000 m3/h\nTotal heat transfer: 46.37 kW\n"),
             qPrintable(tip));
    QVERIFY(tip.contains("Outlet temperature (Shell side): 74.15 °C"));
    QVERIFY(tip.contains("Outlet temperature (Spiral side): 60.09 °C"));
    QVERIFY(tip.endsWith("Pressure drop: 98.000 kPa"));
    QCOMPARE(view->accessibleDescription(), tip);
    hover(QPoint(5, 5)); // away from the plot
    QVERIFY(view->toolTip().isEmpty());
}

void TestChartWindow::finerCapturesKeepTheGeometry()
{
    click(w->SpeedButton3);
    const QImage one = shot();
    const QImage three = chart->capture(3);
    QCOMPARE(three.devicePixelRatio(), 3.0);
    QCOMPARE(three.deviceIndependentSize(), QSizeF(723, 467));
    // The grid rows are where they were, three device pixels each and
    // drawn without blending.
    const charts::ChartResult &r = chart->lastChart();
    const int y = r.axes.gridY(r.g, 1);
    QCOMPARE(one.pixelColor(r.g.x0 - 3, y), QColor(128, 128, 128));
    int gray = 0;
    for (int dy = -3; dy < 6; ++dy) gray += three.pixelColor(3 * (r.g.x0 - 3), 3 * y + dy) == QColor(128, 128, 128);
    QCOMPARE(gray, 3);
    // Text is drawn at the finer resolution too: the chart title's
    // glyphs are some 3 x 9 device pixels high (a face drawn at its
    // screen size would leave them 9 high).
    int rows = 0;
    for (int y = 3 * 8; y < 3 * 21; ++y) {
        bool ink = false;
        for (int x = 3 * 250; x < 3 * 470 && !ink; ++x) ink = qGray(three.pixel(x, y)) < 100;
        rows += ink;
    }
    QVERIFY2(rows >= 24, qPrintable(QString::number(rows)));
    // The fonts are given back after the capture.
    QVERIFY(chart->font().family() == w->font().family());
}

QTEST_MAIN(TestChartWindow)

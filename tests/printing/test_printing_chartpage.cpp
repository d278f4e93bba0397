// The chart window's "Print": a preview of its own beside the chart window,
// each preview with its own chart, the chart page of the smallest window as
// a drawing with text, and a request while a page is produced.
#include "test_printing.h"

#include <QPointer>
#include <QPrintPreviewWidget>
#include <QSignalSpy>

// The chart window's "Print": a preview of its own that leaves the
// chart window usable; each preview shows and prints its own chart,
// and closing one leaves the other working.
void TestPrinting::chartPagePreviews()
{
    QTest::mouseClick(w->mainF.SpeedButton2, Qt::LeftButton); // chart 1, red
    QVERIFY(w->grTerfKopF.isVisible());
    QCOMPARE(w->grTerfKopF.GrafikonFajta, 1);
    clickChartPrint();
    QList<PrintPreview *> previews = openPreviews();
    QCOMPARE(previews.size(), 1);
    QPointer<PrintPreview> first = previews[0];
    QCOMPARE(first->windowTitle(), QStringLiteral("Print Preview"));
    QVERIFY(!first->isModal());
    QVERIFY(first->windowState() & Qt::WindowMaximized);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(QTest::qWaitFor([&] { return first->complete(); }, 20000));
    QCOMPARE(first->statusText(), QStringLiteral("Page 1 of 1"));

    // The chart window is still usable: another chart at the smallest
    // size, printed too.
    QTest::mouseClick(w->mainF.SpeedButton4, Qt::LeftButton); // chart 4, magenta
    w->grTerfKopF.setOuterSize(360, 360);
    QCOMPARE(w->grTerfKopF.clientSize(), QSize(360, 360) - TgrTerfKopF::FrameAllowance);
    clickChartPrint();
    previews = openPreviews();
    QCOMPARE(previews.size(), 2);
    QPointer<PrintPreview> second = previews[0] == first ? previews[1] : previews[0];
    QVERIFY(QTest::qWaitFor([&] { return second->complete(); }, 20000));

    // Each shows its own chart in the middle of its page...
    auto shown = [](PrintPreview *p) {
        const QImage view = p->view()->grab().toImage();
        return view.pixelColor(view.rect().center());
    };
    QVERIFY2(near(shown(first), chartColour(1)), qPrintable(name(shown(first))));
    QVERIFY2(near(shown(second), chartColour(4)), qPrintable(name(shown(second))));

    // ... and prints it, saved or printed, whatever was printed after it.
    const QString firstPdf = pdfPath(QStringLiteral("chart-first.pdf"));
    const QString firstPrinted = pdfPath(QStringLiteral("chart-first-printed.pdf"));
    const QString secondPdf = pdfPath(QStringLiteral("chart-second.pdf"));
    saveAsPdf(first, firstPdf);
    saveAsPdf(second, secondPdf);
    QSignalSpy printed(first.data(), &PrintPreview::printed);
    printToFile(first, firstPrinted);
    QVERIFY(printed.wait(20000));
    const struct {
        QString pdf;
        int fajta;
    } pages[] = {{firstPdf, 1}, {firstPrinted, 1}, {secondPdf, 4}};
    for (const auto &page : pages) {
        checkPageA4(page.pdf, 1, true);
        QVERIFY(pdftools::images(page.pdf).isEmpty()); // the chart as a drawing
        checkVectorPages(page.pdf);
        pdftools::pagesToPng(page.pdf, 72);
        // The chart fills 275.43 x 184.41 mm from the 10 mm margins.
        const QImage img = pdftools::page(page.pdf, 1, 72);
        const QColor want = chartColour(page.fajta);
        using pdftools::px;
        QVERIFY(near(img.pixelColor(px(11, 72), px(11, 72)), want));
        QVERIFY(near(img.pixelColor(px(284.5, 72), px(193.5, 72)), want));
        QVERIFY(near(img.pixelColor(px(150, 72), px(100, 72)), want));
        QVERIFY(near(img.pixelColor(px(9, 72), px(100, 72)), Qt::white));
        QVERIFY(near(img.pixelColor(px(286.5, 72), px(100, 72)), Qt::white));
        QVERIFY(near(img.pixelColor(px(150, 72), px(195.5, 72)), Qt::white));
        QVERIFY(near(img.pixelColor(px(150, 72), px(9, 72)), Qt::white));
    }

    // Closing the second leaves the first working.
    click(second, second->Close);
    QTRY_VERIFY(!second); // deleted on close
    QVERIFY(first->isVisible());
    click(first, first->ZoomToWidth);
    QCOMPARE(first->view()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    saveAsPdf(first, firstPdf);
    checkPageA4(firstPdf, 1, true);
    click(first, first->Close);
    QTRY_VERIFY(!first);
}

// The chart page of a chart window the user made as small as it goes:
// the chart as a drawing with its labels as text, stretched so that its
// frame lies on the edges of the same 275.43 x 184.41 mm rectangle.
void TestPrinting::chartPageOfASmallWindow()
{
    colourCharts = false;
    QTest::mouseClick(w->mainF.SpeedButton2, Qt::LeftButton); // jacket-flow chart
    w->grTerfKopF.setOuterSize(360, 360);
    QCOMPARE(w->grTerfKopF.clientSize(), QSize(360, 360) - TgrTerfKopF::FrameAllowance);
    clickChartPrint();
    const QList<PrintPreview *> previews = openPreviews();
    QCOMPARE(previews.size(), 1);
    QVERIFY(QTest::qWaitFor([&] { return previews[0]->complete(); }, 20000));
    const QString pdf = pdfPath(QStringLiteral("chart-small.pdf"));
    saveAsPdf(previews[0], pdf);

    checkPageA4(pdf, 1, true);
    QVERIFY(pdftools::images(pdf).isEmpty());
    checkVectorPages(pdf);
    const rating::Model &model = w->mainF.model;
    const QString text = pageText(pdf);
    for (const QString &t : {QString::fromStdString(model.SzTerfaramK), QString::fromStdString(model.SzHoteljesitmeny),
                             w->mainF.LbKopeny->text(), w->mainF.LbSpiral->text(), w->mainF.LbNyomasesesK->text(),
                             w->mainF.DPS->text()})
        QVERIFY2(text.contains(t), qPrintable(t));

    // The black frame of the chart's client area, drawn on its edges,
    // on the edges of the rectangle: dark just inside, white outside.
    pdftools::pagesToPng(pdf, 96);
    const QImage page = pdftools::page(pdf, 1, 96);
    using pdftools::px;
    auto dark = [&](double x, double y) { return qGray(page.pixel(px(x, 96), px(y, 96))) < 100; };
    auto white = [&](double x, double y) { return near(page.pixelColor(px(x, 96), px(y, 96)), Qt::white); };
    const double left = 10, top = 10, right = 10 + 275.43, bottom = 10 + 184.41;
    for (double y : {30.0, 100.0, 150.0}) {
        QVERIFY2(dark(left + 0.2, y) && dark(right - 0.2, y), qPrintable(QString::number(y)));
        QVERIFY(white(left - 0.5, y) && white(right + 0.5, y));
    }
    for (double x : {50.0, 150.0, 250.0}) {
        QVERIFY2(dark(x, top + 0.2) && dark(x, bottom - 0.2), qPrintable(QString::number(x)));
        QVERIFY(white(x, top - 0.5) && white(x, bottom + 0.5));
    }
}

// A chart print request while the previous chart page is still being
// produced opens no preview.
void TestPrinting::chartPrintWhileProducingIsIgnored()
{
    QTest::mouseClick(w->mainF.SpeedButton3, Qt::LeftButton);
    const platform::Drawing chart = w->grTerfKopF.record();
    w->nyomF.printChart(chart);
    w->nyomF.printChart(chart); // before the first page is produced
    QCOMPARE(openPreviews().size(), 1);
    QTRY_VERIFY(openPreviews()[0]->complete());
    w->nyomF.printChart(chart);
    QCOMPARE(openPreviews().size(), 2);
}

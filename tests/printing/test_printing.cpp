// Printing as the user drives it, on the program's own windows and wiring:
// the full report from the report button and the preview's commands, with
// PDFs read back by the poppler tools. The chart window's "Print" is in
// test_printing_chartpage.cpp.
#include "test_printing.h"

#include "widgets/fonts.h"
#include "tests/filesize.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

// Mean difference per channel between a window's image and the same area of
// a page, where the image's top-left corner lies at origin (page pixels).
// At 96 dpi with the image at the 10 mm margin, the right place gives about
// 9 (the image sits 0.2 px off the pixel grid and its text is drawn finer),
// two pixels off about 16, a blank page about 47.
double difference(const QImage &page, QPoint origin, const QImage &window)
{
    const QImage win = window.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    long n = 0;
    for (int y = 2; y < win.height() - 2; y += 3)
        for (int x = 2; x < win.width() - 2; x += 3) {
            const QColor a = page.pixelColor(origin.x() + x, origin.y() + y), b = win.pixelColor(x, y);
            sum += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
            n += 3;
        }
    return n ? sum / n : 255;
}

double differenceAtMargin(const QImage &page, const QImage &window) { return difference(page, {38, 38}, window); }

// The twelve result texts of the defaults, with a point as separator.
const QStringList kDefaultResults = {
    QStringLiteral("98.000 kPa"), QStringLiteral("155.218 kPa"), QStringLiteral("Total heat transfer=46.37 kW"),
    QStringLiteral("74.15 °C"),   QStringLiteral("60.09 °C"),    QStringLiteral("1.89 kg/s"),
    QStringLiteral("1.33 m/s"),   QStringLiteral("24194 W/m2°C"), QStringLiteral("0.28 kg/s"),
    QStringLiteral("2.44 m/s"),   QStringLiteral("29794 W/m2°C"),
    QStringLiteral("Overall heat transfer coefficient 7698 W/m2°C")};

} // namespace

// Check box off: one page with the main window; the chart window was
// shown, sized for the report, drawn with chart 1 and hidden again.
void TestPrinting::reportWithoutCharts()
{
    w->grTerfKopF.setOuterSize(500, 400); // the user's size does not count
    QVERIFY(!w->mainF.CbPwc->isChecked());
    const QString pdf = pdfPath(QStringLiteral("report-main.pdf"));
    withReportPreview([&](PrintPreview *p) {
        QCOMPARE(p->windowTitle(), QStringLiteral("Print Preview"));
        QVERIFY(p->isModal());
        QVERIFY(p->windowState() & Qt::WindowMaximized);
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        QCOMPARE(p->statusText(), QStringLiteral("Page 1 of 1"));
        saveAsPdf(p, pdf);
    });
    QCOMPARE(w->mainF.model.NyomLap, 2);
    QCOMPARE(charts, QList<int>{3});
    checkChartWindowAtReportSize(3);
    QVERIFY(errors.isEmpty());

    checkPageA4(pdf, 1, false);
    checkVectorPages(pdf);
    pdftools::pagesToPng(pdf, 96);
    const QImage page = pdftools::page(pdf, 1, 96);
    QVERIFY(differenceAtMargin(page, w->mainF.grab().toImage()) < 12);
    // Nothing but white below the image.
    QVERIFY(near(page.pixelColor(400, 38 + 571 + 20), Qt::white));
    QVERIFY(near(page.pixelColor(400, 900), Qt::white));
}

// Check box on: five images on three pages in the order main window,
// chart buttons 1 to 4. Also the time from the report button to the last
// page.
void TestPrinting::reportWithCharts()
{
    QTest::mouseClick(w->mainF.CbPwc, Qt::LeftButton);
    QVERIFY(w->mainF.CbPwc->isChecked());
    const QString pdf = pdfPath(QStringLiteral("report-charts.pdf"));
    QElapsedTimer clock;
    qint64 producedAfter = -1;
    clock.start();
    withReportPreview([&](PrintPreview *p) {
        connect(p, &PrintPreview::productionFinished, this, [&] { producedAfter = clock.elapsed(); });
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        QCOMPARE(p->statusText(), QStringLiteral("Page 1 of 3"));
        saveAsPdf(p, pdf);
    });
    qInfo("Full report with the charts: %lld ms from the report button to the last page "
          "(five 200 ms waits included)", producedAfter);
    QVERIFY(producedAfter >= 5 * TnyomALLF::CaptureDelay);
    QCOMPARE(w->mainF.model.NyomLap, 6);
    QCOMPARE(charts, QList<int>({3, 1, 2, 4}));
    checkChartWindowAtReportSize(4);

    checkPageA4(pdf, 3, false);
    checkVectorPages(pdf);
    pdftools::pagesToPng(pdf, 96);
    QVERIFY(differenceAtMargin(pdftools::page(pdf, 1, 96), w->mainF.grab().toImage()) < 12);
    // Each chart page: two bands of 475 + 40 pixels from the top margin.
    const int order[2][2] = {{3, 1}, {2, 4}};
    for (int page = 2; page <= 3; ++page) {
        const QImage img = pdftools::page(pdf, page, 96);
        for (int band = 0; band < 2; ++band) {
            const int top = 38 + band * 515;
            const QColor want = chartColour(order[page - 2][band]);
            QVERIFY2(near(img.pixelColor(38 + 5, top + 5), want), qPrintable(name(img.pixelColor(43, top + 5))));
            QVERIFY(near(img.pixelColor(38 + 710, top + 470), want));
            QVERIFY(near(img.pixelColor(38 + 357, top + 237), want));
            QVERIFY(near(img.pixelColor(38 + 357, top + 475 + 20), Qt::white)); // the 40 px below
            QVERIFY(near(img.pixelColor(38 + 730, top + 237), Qt::white));
        }
    }
}

// The report with the charts, saved and printed: every result, caption,
// list entry and chart label is text in an embedded face on its page,
// the pages look as the windows do at one and at three device pixels
// per layout pixel, and the file is small.
void TestPrinting::reportIsTextOnPaper()
{
    colourCharts = false;
    QTest::mouseClick(w->mainF.CbPwc, Qt::LeftButton);
    const QString saved = pdfPath(QStringLiteral("report-text.pdf"));
    const QString printed = pdfPath(QStringLiteral("report-text-printed.pdf"));
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        saveAsPdf(p, saved);
        QSignalSpy done(p, &PrintPreview::printed);
        printToFile(p, printed);
        QVERIFY(done.wait(20000));
    });
    QVERIFY(errors.isEmpty());

    const TmainF &m = w->mainF;
    const QStringList results = {m.DPK->text(),          m.DPS->text(),       m.QLabel->text(),
                                 m.LbTKK->text(),        m.LbTSK->text(),     m.LbTomegaramK->text(),
                                 m.LbArsebK->text(),     m.LbHoatadK->text(), m.LbTomegaramS->text(),
                                 m.LbArsebS->text(),     m.LbHoatadS->text(), m.LbHoatbocsT->text()};
    QStringList dotted;
    for (const QString &r : results) dotted << QString(r).replace(platform::decimalSeparator(), QStringLiteral("."));
    QCOMPARE(dotted, kDefaultResults);
    QStringList mainTexts = results;
    for (const widgets::Label *l : m.labels())
        if (!l->text().trimmed().isEmpty()) mainTexts << l->text().simplified();
    mainTexts << m.CbPwc->text() << m.ComboBox1->currentText() << m.CbTipus->currentText()
              << m.CbMVk->currentText() << m.CbMVs->currentText() << m.MVkEd->text() << m.tkbEd->text();
    const rating::Model &model = m.model;
    auto phrase = [](const std::string &t) { return QString::fromStdString(t); };
    // Every chart: its axis title and units, its table with the
    // installation; each chart page its two titles.
    QStringList chartTexts = {phrase(model.SzHoteljesitmeny), QStringLiteral("kW"), QStringLiteral("°C"),
                              m.LbKopeny->text(), m.LbSpiral->text(), m.LbTerfaramK->text(),
                              m.LbBelhomK->text(), m.LbKilhomK->text(), m.LbNyomasesesK->text(),
                              m.CbTipus->currentText() + QLatin1Char(' ') + phrase(model.SzHocserelo)};
    const QStringList titles[2] = {{phrase(model.SzBelhomK), phrase(model.SzTerfaramK)},
                                   {phrase(model.SzTerfaramS), phrase(model.SzBelhomS)}};

    for (const QString &pdf : {saved, printed}) {
        checkPageA4(pdf, 3, false);
        checkVectorPages(pdf);
        for (const pdftools::Font &f : pdftools::fonts(pdf))
            QVERIFY2(f.name.startsWith(QLatin1String("DejaVuSansCondensed")), qPrintable(f.name));
        QVERIFY2(QFileInfo(pdf).size() <= 300 * 1024, qPrintable(QString::number(QFileInfo(pdf).size())));
        const QString first = pageText(pdf, 1);
        for (const QString &t : std::as_const(mainTexts)) QVERIFY2(first.contains(t), qPrintable(t));
        for (int page = 2; page <= 3; ++page) {
            const QString text = pageText(pdf, page);
            for (const QString &t : titles[page - 2]) QVERIFY2(text.contains(t), qPrintable(t));
            for (const QString &t : std::as_const(chartTexts))
                QVERIFY2(text.count(t) >= 2, qPrintable(QStringLiteral("page %1: %2").arg(page).arg(t)));
        }
    }

    // The main window and the last chart (the coil-side inlet chart,
    // second on page 3) as the captures of the windows show them: the
    // main window as on the screen, the chart with the faces lent for
    // paper (their heights set the chart's grid), and both as the
    // 288-dpi captures for paper drew them. The text is drawn by the
    // PDF's renderer rather than by the font engine's hinting: a mean
    // difference remains where everything is in place, about 9 levels
    // at 96 dpi (one pixel off gives about twice as much) and 1.5 at
    // 288 dpi (a third of a layout pixel off gives 2.5 to 3.5, a whole
    // one 7 to 10). The chart's grid lines
    // are centred on their layout coordinates, as in a capture for paper:
    // on the page at 96 dpi they lie half a pixel up and left of the
    // screen's pixel rows, so its capture matches one pixel further in.
    pdftools::pagesToPng(saved, 96);
    QWidget *chartView = w->grTerfKopF.clientArea();
    const QImage screenMain = w->mainF.grab().toImage();
    QImage fineMain, screenChart;
    {
        const fonts::ScalableFaces faces(&w->mainF);
        fineMain = platform::captureClient(&w->mainF, 3);
    }
    {
        const fonts::ScalableFaces faces(&w->grTerfKopF);
        screenChart = platform::captureClient(chartView, 1);
    }
    const QImage fineChart = w->grTerfKopF.capture(3);
    const struct {
        int page, dpi;
        QPoint origin;
        const QImage *window;
        double limit;
    } looks[] = {{1, 96, {38, 38}, &screenMain, 12},
                 {3, 96, {37, 37 + 515}, &screenChart, 12},
                 {1, 288, {113, 113}, &fineMain, 3},
                 {3, 288, {113, 113 + 3 * 515}, &fineChart, 3}};
    for (const auto &look : looks) {
        const QImage page = pdftools::page(saved, look.page, look.dpi);
        const double d = difference(page, look.origin, *look.window);
        qInfo("page %d at %d dpi: mean difference %.1f", look.page, look.dpi, d);
        QVERIFY2(d < look.limit, qPrintable(QString::number(d)));
    }
}

// "Print" produces the report again for the printer, reading the check
// box again; here the printer is a PDF file chosen in the print dialog.
void TestPrinting::printProducesTheReportAgain()
{
    const QString pdf = pdfPath(QStringLiteral("report-printed.pdf"));
    QString progressTitle, progressButton;
    int printedSignals = 0;
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        QCOMPARE(p->statusText(), QStringLiteral("Page 1 of 1"));
        QCOMPARE(charts, QList<int>{3});
        // The check box cannot be reached behind the modal preview; the
        // print run must still read it afresh.
        w->mainF.CbPwc->setChecked(true);
        QSignalSpy printed(p, &PrintPreview::printed);
        whenModal<QProgressDialog>([&](QProgressDialog *d) {
            progressTitle = d->windowTitle();
            if (auto *b = d->findChild<QPushButton *>()) progressButton = b->text();
        });
        printToFile(p, pdf);
        QVERIFY(printed.wait(20000));
        printedSignals = printed.size();
        QVERIFY(!p->producing());
        QVERIFY(p->Print->isEnabled());
    });
    QCOMPARE(printedSignals, 1);
    QCOMPARE(progressTitle, QStringLiteral("Printing progress"));
    QCOMPARE(progressButton, QStringLiteral("Cancel"));
    QCOMPARE(w->mainF.model.NyomLap, 6);
    QCOMPARE(charts, QList<int>({3, 3, 1, 2, 4}));
    checkChartWindowAtReportSize(4);
    checkPageA4(pdf, 3, false);
    checkVectorPages(pdf);
    pdftools::pagesToPng(pdf, 50);
}

// "Cancel" in the printing progress stops the run for the printer: no
// file; the preview produces its pages again and can print once more.
void TestPrinting::cancelPrinting()
{
    QTest::mouseClick(w->mainF.CbPwc, Qt::LeftButton);
    const QString pdf = pdfPath(QStringLiteral("report-cancelled.pdf"));
    int requestsWhenCancelled = -1;
    bool producingAfterCancel = false, printableAfterCancel = true;
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        QCOMPARE(charts.size(), 4);
        QSignalSpy printed(p, &PrintPreview::printed);
        // Cancel right after the print run's second request (its first
        // chart): the click waits in the queue ahead of the next request.
        connect(&w->mainF, &TmainF::chartWindowRequested, p, [&, p] {
            auto *d = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
            if (!d || requestsWhenCancelled >= 0) return;
            QMetaObject::invokeMethod(d, [&, p, d] {
                requestsWhenCancelled = charts.size();
                QTest::mouseClick(d->findChild<QPushButton *>(), Qt::LeftButton);
                producingAfterCancel = p->producing();
                printableAfterCancel = p->Print->isEnabled();
            }, Qt::QueuedConnection);
        });
        printToFile(p, pdf);
        QVERIFY(QTest::qWaitFor([&] { return requestsWhenCancelled >= 0 && p->complete(); }, 20000));
        QCOMPARE(p->statusText(), QStringLiteral("Page 1 of 3"));
        QVERIFY(p->Print->isEnabled());
        QCOMPARE(printed.size(), 0);
    });
    QVERIFY(!QFile::exists(pdf));
    // The preview's four charts, one of the print run, four again.
    QCOMPARE(requestsWhenCancelled, 5);
    QVERIFY(producingAfterCancel);
    QVERIFY(!printableAfterCancel);
    QCOMPARE(charts, QList<int>({3, 1, 2, 4, 3, 3, 1, 2, 4}));
    QCOMPARE(w->mainF.model.NyomLap, 6);
    checkChartWindowAtReportSize(4);
}

// The preview's commands through its toolbar: pages appear as they are
// finished, printing waits for all of them, navigation and zoom.
void TestPrinting::previewCommands()
{
    QTest::mouseClick(w->mainF.CbPwc, Qt::LeftButton);
    QList<int> pagesShown;
    QList<bool> printable;
    QString setupTitle;
    // Watched at each chart request: pages shown so far, and whether
    // printing is offered yet.
    auto hook = connect(&w->mainF, &TmainF::chartWindowRequested, this, [&] {
        auto *p = qobject_cast<PrintPreview *>(QApplication::activeModalWidget());
        QVERIFY(p);
        pagesShown << p->view()->pageCount();
        printable << (p->Print->isEnabled() || p->PrinterSetup->isEnabled() || p->SaveAsPdf->isEnabled());
    });
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        QVERIFY(p->Print->isEnabled() && p->PrinterSetup->isEnabled() && p->SaveAsPdf->isEnabled());

        const struct {
            QAction *command;
            const char *status;
        } steps[] = {
            {p->LastPage, "Page 3 of 3"},  {p->PreviousPage, "Page 2 of 3"}, {p->NextPage, "Page 3 of 3"},
            {p->NextPage, "Page 3 of 3"},  {p->FirstPage, "Page 1 of 3"},    {p->PreviousPage, "Page 1 of 3"},
            {p->NextPage, "Page 2 of 3"},
        };
        QCOMPARE(p->statusText(), QStringLiteral("Page 1 of 3"));
        for (const auto &step : steps) {
            click(p, step.command);
            QCOMPARE(p->statusText(), QLatin1String(step.status));
            QCOMPARE(p->view()->currentPage(), QString::fromLatin1(step.status).split(' ')[1].toInt());
        }

        click(p, p->Zoom100);
        QCOMPARE(p->view()->zoomMode(), QPrintPreviewWidget::CustomZoom);
        QCOMPARE(p->view()->zoomFactor(), 1.0);
        click(p, p->ZoomToWidth);
        QCOMPARE(p->view()->zoomMode(), QPrintPreviewWidget::FitToWidth);
        click(p, p->ZoomToFit);
        QCOMPARE(p->view()->zoomMode(), QPrintPreviewWidget::FitInView);
        QCOMPARE(p->statusText(), QStringLiteral("Page 2 of 3"));

        whenModal<QPageSetupDialog>([&](QPageSetupDialog *d) {
            setupTitle = d->windowTitle();
            d->reject();
        });
        click(p, p->PrinterSetup);
        QCOMPARE(p->view()->pageCount(), 3);

        click(p, p->Close);
        QVERIFY(!p->isVisible());
    });
    disconnect(hook);
    // Page 1 is shown once the second band has opened page 2; nothing
    // can be printed before the last page exists.
    QCOMPARE(pagesShown, QList<int>({0, 1, 1, 2}));
    QCOMPARE(printable, QList<bool>({false, false, false, false}));
    QVERIFY(!setupTitle.isEmpty());
}

// Closing the preview while it produces: no further page request, and
// the chart window stays as the last request left it.
void TestPrinting::closingStopsProduction()
{
    QTest::mouseClick(w->mainF.CbPwc, Qt::LeftButton);
    // Close as soon as request 2 has begun: the click waits in the queue
    // behind that request, ahead of request 3.
    auto hook = connect(&w->mainF, &TmainF::chartWindowRequested, this, [] {
        auto *p = qobject_cast<PrintPreview *>(QApplication::activeModalWidget());
        QVERIFY(p);
        QMetaObject::invokeMethod(p, [p] { click(p, p->Close); }, Qt::QueuedConnection);
    });
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return !p->isVisible(); }, 20000));
        QVERIFY(!p->producing());
        QTest::qWait(600); // three more requests would have run by now
    });
    disconnect(hook);
    QCOMPARE(w->mainF.model.NyomLap, 2);
    QCOMPARE(charts, QList<int>{3});
    QVERIFY(w->grTerfKopF.isVisible());
    QCOMPARE(w->grTerfKopF.clientSize(), TgrTerfKopF::ReportClient);
    QCOMPARE(w->grTerfKopF.GrafikonFajta, 3);
    QVERIFY(errors.isEmpty());
    // The next report starts afresh.
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        QCOMPARE(p->statusText(), QStringLiteral("Page 1 of 3"));
    });
    QCOMPARE(w->mainF.model.NyomLap, 6);
}

// An arithmetic error in a page request is reported once and ends the
// report.
void TestPrinting::arithmeticErrorEndsTheReport()
{
    QTest::mouseClick(w->mainF.CbPwc, Qt::LeftButton);
    w->mainF.ParhEd->setFocus(Qt::TabFocusReason);
    w->mainF.ParhEd->selectAll();
    QTest::keyClicks(w->mainF.ParhEd, QStringLiteral("0"));
    QTest::keyClick(w->mainF.ParhEd, Qt::Key_Tab); // the window reports it itself
    QCOMPARE(errors, QStringList{"Floating point division by zero"});
    errors.clear();
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        QCOMPARE(p->statusText(), QStringLiteral("Page 0 of 0"));
        QVERIFY(!p->Print->isEnabled() && !p->SaveAsPdf->isEnabled());
    });
    QCOMPARE(errors, QStringList{"Floating point division by zero"});
    QCOMPARE(w->mainF.model.NyomLap, 1);
    QVERIFY(charts.isEmpty());
    QVERIFY(!w->grTerfKopF.isVisible());
}

// A PDF the disk takes only part of (here the file may not grow beyond a few
// kilobytes, as on a full disk) is said to have failed, and the file of that
// name is as it was before: no truncated PDF, nothing new beside it.
void TestPrinting::failedPdfWriteKeepsTheFileAsItWas()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    {
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older report\n");
    }
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        whenModal<QFileDialog>([&](QFileDialog *d) {
            auto *edit = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(pdf);
            // Answer "replace it?" the way a user who means it does.
            whenModal<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
            QTest::mouseClick(acceptButton(d), Qt::LeftButton);
        });
        const FileSizeLimit limit(4096);
        QVERIFY(limit.set());
        click(p, p->SaveAsPdf);
    });
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QStringLiteral("Cannot write %1: ").arg(pdf)), qPrintable(errors.first()));
    QFile kept(pdf);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("an older report\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("report.pdf")});
}

QTEST_MAIN(TestPrinting)

// A project with its details and a comparison ticked: the details head the
// first page above the main window, the comparison is the last page, both
// as text, its marks on paper too; the PDF, saved or printed to a file,
// carries the project's name, author, customer and reference.
void TestPrinting::reportWithTheProject()
{
    w->document.setDetails({"Boiler house B, hot water", "Thermo Kft.", "ENQ-2026-114", "B", "K. Szabó", "2026-12-11",
                            "Boiler water 80 °C, 7 m3/h.\nCoil side 1 m3/h from 20 °C."});
    rating::Case other = w->mainF.inputs();
    other.MVk = 8.5;
    QCOMPARE(w->document.addCase(other, QStringLiteral("Alternative")), 1);
    w->compareF.compare({w->caseIds.at(0), w->caseIds.at(1)});
    QVERIFY(w->compareF.isVisible());
    QTest::mouseClick(w->compareF.printBox, Qt::LeftButton, {}, QPoint(6, w->compareF.printBox->height() / 2));
    QVERIFY(w->compareF.printWithComparison());
    w->compareF.close();

    const QString saved = pdfPath(QStringLiteral("report-project.pdf"));
    const QString printed = pdfPath(QStringLiteral("report-project-printed.pdf"));
    int header = 0; // the header block's band, in layout pixels
    withReportPreview([&](PrintPreview *p) {
        QVERIFY(QTest::qWaitFor([&] { return p->complete(); }, 20000));
        QCOMPARE(p->statusText(), QStringLiteral("Page 1 of 2"));
        header = qRound(w->nyomALLF.QRHeader.Height + TnyomALLF::HeaderGap);
        saveAsPdf(p, saved);
        QSignalSpy done(p, &PrintPreview::printed);
        printToFile(p, printed);
        QVERIFY(done.wait(20000));
    });
    QVERIFY(errors.isEmpty());

    const QString sep = platform::decimalSeparator();
    for (const QString &pdf : {saved, printed}) {
        checkPageA4(pdf, 2, false);
        const pdftools::Info info = pdftools::info(pdf);
        QCOMPARE(info.title, QStringLiteral("Boiler house B, hot water"));
        QCOMPARE(info.author, QStringLiteral("K. Szabó"));
        QCOMPARE(info.subject, QStringLiteral("Thermo Kft. \u2013 ENQ-2026-114"));
        const QString first = pageText(pdf, 1);
        for (const char *t : {"Boiler house B, hot water", "Customer: Thermo Kft.", "Reference: ENQ-2026-114",
                              "Revision: B", "Author: K. Szabó", "Date: 2026-12-11",
                              "Notes: Boiler water 80 °C, 7 m3/h. Coil side 1 m3/h from 20 °C."})
            QVERIFY2(first.contains(QString::fromUtf8(t)), qPrintable(first));
        QVERIFY(first.contains(w->mainF.QLabel->text()));
        // The table read row by row, as it is laid out.
        const QString last = pdftools::text(pdf, 2, true).simplified();
        for (const QString &t : {QStringLiteral("Comparison of cases \u2013 Boiler house B, hot water"),
                                 QStringLiteral("Case 1 Alternative"),
                                 QStringLiteral("Volume flow rate, shell side 7 m3/h 8") + sep + QStringLiteral("5 m3/h"),
                                 QStringLiteral("Heat duty kW 46") + sep + QStringLiteral("37"),
                                 QStringLiteral("Bold on a tint: differs from the first case.")})
            QVERIFY2(last.contains(t), qPrintable(t + QStringLiteral(" in: ") + last));
    }

    // The main window's image lies below the header block, where it
    // would lie at the top of a page without one.
    QVERIFY2(header > 60 && header < 300, qPrintable(QString::number(header)));
    pdftools::pagesToPng(saved, 96);
    const QImage page1 = pdftools::page(saved, 1, 96), page2 = pdftools::page(saved, 2, 96);
    QVERIFY(difference(page1, {38, 38 + header}, w->mainF.grab().toImage()) < 12);
    // The marks show on paper: the tint behind the differing cells, on
    // the comparison's page only.
    const QColor tint(QString::fromLatin1(platform::markedTint));
    auto tinted = [&](const QImage &img) {
        int n = 0;
        for (int y = 0; y < img.height(); y += 2)
            for (int x = 0; x < img.width(); x += 2) n += near(img.pixelColor(x, y), tint, 12);
        return n;
    };
    QVERIFY(tinted(page2) > 500);
    QCOMPARE(tinted(page1), 0);
}

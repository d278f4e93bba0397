// Printing as the user drives it, on the program's own windows and wiring:
// the full report from the report button, the chart page from the chart
// window's "Print", and the preview's commands, with PDFs read back by the
// poppler tools.
#include "mainwindow/NumEdit.h"
#include "mainwindow/fonts.h"
#include "pdftools.h"
#include "platform/PrintPreview.h"
#include "platform/platform.h"
#include "printing/windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using platform::PrintPreview;

namespace {

// The charts paint over their client area in a colour of their own, so the
// pages show which chart was captured whatever the charts draw.
QColor chartColour(int fajta)
{
    static const QColor colours[] = {Qt::white, QColor(255, 0, 0), QColor(0, 160, 0), QColor(0, 0, 255),
                                     QColor(255, 0, 255)};
    return colours[qBound(0, fajta, 4)];
}

bool near(QColor a, QColor b, int tolerance = 40)
{
    return qAbs(a.red() - b.red()) < tolerance && qAbs(a.green() - b.green()) < tolerance &&
           qAbs(a.blue() - b.blue()) < tolerance;
}

QString name(QColor c) { return c.name(); }

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

// The text of a PDF page (0: all) in one line: pdftotext breaks it where
// the layout does.
QString pageText(const QString &pdf, int page = 0)
{
    return pdftools::text(pdf, page).simplified();
}

QString pdfPath(const QString &name) { return pdftools::outputDir() + QLatin1Char('/') + name; }

void click(PrintPreview *p, QAction *a)
{
    QWidget *button = p->toolBar->widgetForAction(a);
    QVERIFY2(button && button->isVisible(), qPrintable(a->text()));
    QTest::mouseClick(button, Qt::LeftButton);
}

QPushButton *acceptButton(QWidget *dialog)
{
    const auto *box = dialog->findChild<QDialogButtonBox *>();
    if (!box) return nullptr;
    for (QAbstractButton *b : box->buttons())
        if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) return qobject_cast<QPushButton *>(b);
    return nullptr;
}

QList<PrintPreview *> openPreviews()
{
    QList<PrintPreview *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<PrintPreview *>(w); p && p->isVisible()) out << p;
    return out;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    std::unique_ptr<Windows> w;
    QStringList errors;
    platform::ErrorHandler previous;
    std::unique_ptr<QObject> timers; // parent of the dialog watchers of one test
    QList<int> charts;                // chart numbers the buttons asked for, in order
    bool colourCharts = true;         // the charts paint their colour over themselves

    // Runs body on the next modal dialog of type T that becomes active.
    template <class T, class F> void whenModal(F body)
    {
        auto *timer = new QTimer(timers.get());
        timer->setInterval(5);
        auto waited = std::make_shared<QElapsedTimer>();
        waited->start();
        connect(timer, &QTimer::timeout, timer, [timer, waited, body] {
            T *d = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!d && waited->elapsed() < 30000) return;
            timer->stop();
            if (!d) {
                qWarning("no %s opened", T::staticMetaObject.className());
                return;
            }
            body(d);
        });
        timer->start();
    }

    // Clicks the report button; body runs in the modal preview that opens,
    // which is closed afterwards if body left it open.
    template <class F> void withReportPreview(F body)
    {
        bool ran = false;
        whenModal<PrintPreview>([&](PrintPreview *p) {
            ran = true;
            QPointer<PrintPreview> guard(p);
            body(p);
            if (guard && guard->isVisible()) guard->close();
        });
        QTest::mouseClick(w->mainF.SpeedButton5, Qt::LeftButton);
        QVERIFY(ran);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // "Save as PDF…" in a preview, the file name typed into the file dialog.
    void saveAsPdf(PrintPreview *p, const QString &file)
    {
        QFile::remove(file);
        whenModal<QFileDialog>([file](QFileDialog *d) {
            auto *edit = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(file);
            QTest::mouseClick(acceptButton(d), Qt::LeftButton);
        });
        click(p, p->SaveAsPdf);
        QVERIFY2(QFile::exists(file), qPrintable(file));
    }

    // "Print" in a preview, printing to a PDF file through the print dialog
    // (the machine has no printer).
    void printToFile(PrintPreview *p, const QString &file)
    {
        QFile::remove(file);
        whenModal<QPrintDialog>([file](QPrintDialog *d) {
            auto *printers = d->findChild<QComboBox *>(QStringLiteral("printers"));
            QVERIFY(printers);
            const int toFile = printers->findText(QStringLiteral("Print to File (PDF)"));
            QVERIFY(toFile >= 0);
            printers->setCurrentIndex(toFile);
            auto *edit = d->findChild<QLineEdit *>(QStringLiteral("filename"));
            QVERIFY(edit);
            edit->setText(file);
            QTest::mouseClick(acceptButton(d), Qt::LeftButton);
        });
        click(p, p->Print);
    }

    void clickChartPrint()
    {
        QMenuBar *bar = w->grTerfKopF.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(w->grTerfKopF.Print1).center());
    }

    void checkPageA4(const QString &pdf, int pages, bool landscape)
    {
        const pdftools::Info info = pdftools::info(pdf);
        QCOMPARE(info.pages, pages);
        QCOMPARE(info.paper, QStringLiteral("A4"));
        const QSizeF a4 = landscape ? QSizeF(841.89, 595.276) : QSizeF(595.276, 841.89);
        QVERIFY2(qAbs(info.size.width() - a4.width()) < 0.5 && qAbs(info.size.height() - a4.height()) < 0.5,
                 qPrintable(QStringLiteral("%1 x %2").arg(info.size.width()).arg(info.size.height())));
    }

    // The windows reach the paper as drawings: what is left of pixels are
    // the pictures the style keeps of the main window's lists and field
    // buttons and its 16-pixel button pictures, one pixel per layout pixel;
    // nothing larger, and nothing on the chart pages. Every font embedded.
    void checkVectorPages(const QString &pdf)
    {
        for (const pdftools::Image &img : pdftools::images(pdf)) {
            QVERIFY2(img.page == 1 && img.width <= 100 && img.height <= 32 && qAbs(img.xppi - 96) <= 1,
                     qPrintable(QStringLiteral("page %1: %2 x %3 at %4 ppi")
                                    .arg(img.page).arg(img.width).arg(img.height).arg(img.xppi)));
        }
        const QList<pdftools::Font> fonts = pdftools::fonts(pdf);
        QVERIFY(!fonts.isEmpty());
        for (const pdftools::Font &f : fonts) QVERIFY2(f.embedded, qPrintable(f.name));
    }

    void checkChartWindowAtReportSize(int fajta)
    {
        QVERIFY(!w->grTerfKopF.isVisible());
        QCOMPARE(w->grTerfKopF.clientSize(), TgrTerfKopF::ReportClient);
        QCOMPARE(w->grTerfKopF.GrafikonFajta, fajta);
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        previous = platform::setErrorHandler([this](const QString &m) { errors << m; });
    }
    void cleanupTestCase() { platform::setErrorHandler(previous); }

    void init()
    {
        errors.clear();
        charts.clear();
        colourCharts = true;
        timers = std::make_unique<QObject>();
        w = std::make_unique<Windows>();
        connect(&w->mainF, &TmainF::chartRequested, this, [this](int fajta) { charts << fajta; });
        auto *view = qobject_cast<charts::ChartView *>(w->grTerfKopF.clientArea());
        QVERIFY(view);
        connect(view, &charts::ChartView::painting, this, [this, view](QPainter &p) {
            if (colourCharts) p.fillRect(QRect(QPoint(), view->size()), chartColour(w->grTerfKopF.GrafikonFajta));
        });
        w->mainF.show();
        QApplication::setActiveWindow(&w->mainF);
        QVERIFY(QTest::qWaitForWindowActive(&w->mainF));
    }

    void cleanup()
    {
        for (PrintPreview *p : openPreviews()) p->close();
        QApplication::processEvents();
        timers.reset();
        w.reset();
    }

    // Check box off: one page with the main window; the chart window was
    // shown, sized for the report, drawn with chart 1 and hidden again.
    void reportWithoutCharts()
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
    void reportWithCharts()
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
    void reportIsTextOnPaper()
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
        for (const mainwindow::Label *l : m.labels())
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
    void printProducesTheReportAgain()
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
    void cancelPrinting()
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
    void previewCommands()
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
    void closingStopsProduction()
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
    void arithmeticErrorEndsTheReport()
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

    // The chart window's "Print": a preview of its own that leaves the
    // chart window usable; each preview shows and prints its own chart,
    // and closing one leaves the other working.
    void chartPagePreviews()
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
    void chartPageOfASmallWindow()
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
    void chartPrintWhileProducingIsIgnored()
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
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"

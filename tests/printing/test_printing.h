// The printing tests on the program's own windows and wiring: the fixture
// (charts painted in colours of their own, watchers for the modal dialogs,
// the preview's commands as clicks) shared by test_printing.cpp (the full
// report and its preview) and test_printing_chartpage.cpp (the chart
// window's "Print").
#pragma once

#include "widgets/NumEdit.h"
#include "pdftools.h"
#include "platform/PrintPreview.h"
#include "platform/platform.h"
#include "app/windows.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using platform::PrintPreview;

// The charts paint over their client area in a colour of their own, so the
// pages show which chart was captured whatever the charts draw.
inline QColor chartColour(int fajta)
{
    static const QColor colours[] = {Qt::white, QColor(255, 0, 0), QColor(0, 160, 0), QColor(0, 0, 255),
                                     QColor(255, 0, 255)};
    return colours[qBound(0, fajta, 4)];
}

inline bool near(QColor a, QColor b, int tolerance = 40)
{
    return qAbs(a.red() - b.red()) < tolerance && qAbs(a.green() - b.green()) < tolerance &&
           qAbs(a.blue() - b.blue()) < tolerance;
}

inline QString name(QColor c) { return c.name(); }

// The text of a PDF page (0: all) in one line: pdftotext breaks it where
// the layout does.
inline QString pageText(const QString &pdf, int page = 0)
{
    return pdftools::text(pdf, page).simplified();
}

inline QString pdfPath(const QString &name) { return pdftools::outputDir() + QLatin1Char('/') + name; }

inline void click(PrintPreview *p, QAction *a)
{
    QWidget *button = p->toolBar->widgetForAction(a);
    QVERIFY2(button && button->isVisible(), qPrintable(a->text()));
    QTest::mouseClick(button, Qt::LeftButton);
}

inline QPushButton *acceptButton(QWidget *dialog)
{
    const auto *box = dialog->findChild<QDialogButtonBox *>();
    if (!box) return nullptr;
    for (QAbstractButton *b : box->buttons())
        if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) return qobject_cast<QPushButton *>(b);
    return nullptr;
}

inline QList<PrintPreview *> openPreviews()
{
    QList<PrintPreview *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<PrintPreview *>(w); p && p->isVisible()) out << p;
    return out;
}

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

    // The full report and its preview (test_printing.cpp).
    void reportWithoutCharts();
    void reportWithCharts();
    void reportIsTextOnPaper();
    void printProducesTheReportAgain();
    void cancelPrinting();
    void previewCommands();
    void closingStopsProduction();
    void arithmeticErrorEndsTheReport();
    void failedPdfWriteKeepsTheFileAsItWas();
    void reportWithTheProject();

    // The chart window's "Print" (test_printing_chartpage.cpp).
    void chartPagePreviews();
    void chartPageOfASmallWindow();
    void chartPrintWhileProducingIsIgnored();
};

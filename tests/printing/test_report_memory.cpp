// Fifty full reports with the charts in a row, each from the report button
// to a PDF and the preview closed again: the program's resident memory
// grows by less than 5 MB over them.
#include "pdftools.h"
#include "platform/PrintPreview.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "app/windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer)   // clang's way of saying it
#define VENTRANO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VENTRANO_ASAN)
// AddressSanitizer keeps freed memory in quarantine, so resident memory says
// nothing there; a few reports still run every path under its eyes.
constexpr int kReports = 3;
constexpr bool kMeasure = false;
#else
constexpr int kReports = 50;
constexpr bool kMeasure = true;
#endif

} // namespace

class TestReportMemory : public QObject {
    Q_OBJECT

private slots:
    void fiftyReportsInARow()
    {
        QStringList errors;
        const platform::ErrorHandler previous = platform::setErrorHandler([&](const QString &m) { errors << m; });
        Windows w;
        w.mainF.show();
        QApplication::setActiveWindow(&w.mainF);
        QVERIFY(QTest::qWaitForWindowActive(&w.mainF));
        QTest::mouseClick(w.mainF.CbPwc, Qt::LeftButton);
        QVERIFY(w.mainF.CbPwc->isChecked());

        const QString pdf = pdftools::outputDir() + QStringLiteral("/memory-report.pdf");
        long first = 0, last = 0;
        for (int run = 1; run <= kReports; ++run) {
            bool saved = false;
            // In the modal preview, once it is open: wait for the last page,
            // write the PDF from the pages as the preview's commands do, and
            // close it with its "Close".
            QTimer watch;
            watch.setInterval(5);
            connect(&watch, &QTimer::timeout, this, [&] {
                auto *p = qobject_cast<platform::PrintPreview *>(QApplication::activeModalWidget());
                if (!p) return;
                watch.stop();
                if (!QTest::qWaitFor([&] { return p->complete(); }, 20000)) return;
                QPrinter printer(QPrinter::HighResolution);
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(pdf);
                printer.setPageLayout(w.nyomALLF.pageLayout());
                saved = w.nyomALLF.render(&printer);
                QTest::mouseClick(p->toolBar->widgetForAction(p->Close), Qt::LeftButton);
            });
            watch.start();
            QTest::mouseClick(w.mainF.SpeedButton5, Qt::LeftButton);
            QVERIFY(saved);
            QCOMPARE(w.nyomALLF.pageCount(), 0); // the pages went with their preview
            QCoreApplication::processEvents();
            if (run == 1) first = platform::residentMemoryKb();
            last = platform::residentMemoryKb();
        }
        QCOMPARE(pdftools::info(pdf).pages, 3);
        QVERIFY(errors.isEmpty());
        platform::setErrorHandler(previous);
        qInfo("Resident memory after report 1: %ld kB, after report %d: %ld kB (%+ld kB)", first, kReports, last,
              last - first);
        if (kMeasure) QVERIFY2(first > 0, "no resident memory from the system");
        if (kMeasure) QVERIFY2(last - first < 5 * 1024, qPrintable(QString::number(last - first)));
    }
};

QTEST_MAIN(TestReportMemory)
#include "test_report_memory.moc"

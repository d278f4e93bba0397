// Writes the full report with the charts and the chart page as PDF files,
// as "Save as PDF…" (QPdfWriter) and "Print" to a PDF file (QPrinter at its
// high resolution) write them, and prints each file's size.
// Usage: report_pdf [dir]   (default: the current directory)
#include "widgets/fonts.h"
#include "app/windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QTest>

#include <cstdio>

namespace {

bool saveAsPdf(const platform::PageProducer &producer, const QString &file)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    QPdfWriter writer(&out);
    writer.setPageLayout(producer.pageLayout());
    writer.setCreator(QStringLiteral("Ventrano"));
    return producer.render(&writer);
}

bool printToPdf(const platform::PageProducer &producer, const QString &file)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageLayout(producer.pageLayout());
    printer.setFullPage(true);
    return producer.render(&printer);
}

void produce(platform::PageProducer &producer)
{
    producer.start();
    while (!producer.finished()) producer.produceNext();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    fonts::load();
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    Windows w;
    w.mainF.show();
    if (!QTest::qWaitForWindowExposed(&w.mainF)) return 1;
    w.mainF.CbPwc->setChecked(true);
    produce(w.nyomALLF);

    const QString report = dir.filePath(QStringLiteral("report.pdf"));
    const QString printed = dir.filePath(QStringLiteral("report-printed.pdf"));
    bool ok = saveAsPdf(w.nyomALLF, report) && printToPdf(w.nyomALLF, printed);

    // The chart page of the jacket-flow chart at the chart window's first size.
    w.grTerfKopF.setOuterSize(731, 521);
    w.mainF.SpeedButton2Click();
    printing::ChartPage page(w.grTerfKopF.record());
    produce(page);
    const QString chart = dir.filePath(QStringLiteral("chart.pdf"));
    ok = ok && saveAsPdf(page, chart);

    for (const QString &f : {report, printed, chart})
        std::printf("%s %lld\n", qPrintable(QFileInfo(f).fileName()), QFileInfo(f).size());
    return ok ? 0 : 1;
}

#include "printing/nyomALL.h"

#include "charts/grTerfKop.h"
#include "widgets/fonts.h"
#include "mainwindow/main.h"
#include "platform/platform.h"

#include <QCheckBox>

#include <cmath>

TnyomALLF::TnyomALLF(TmainF *mainF, TgrTerfKopF *chart, QWidget *parent)
    : QWidget(parent), mainF_(mainF), chart_(chart),
      report_(printing::Paper::a4(QPageLayout::Portrait, 100))
{
    setObjectName(QStringLiteral("nyomALLF"));
    setWindowTitle(QStringLiteral("nyomALLF"));
    QRImage1.AutoSize = true;
    QRImage1.Stretch = false;
    for (printing::Image *image : {&QRHeader, &QRComparison}) {
        image->AutoSize = true;
        image->Stretch = false;
    }
}

void TnyomALLF::preview()
{
    if (previewOpen_) return;
    previewOpen_ = true;
    platform::PrintPreview preview(this);
    preview.openModal();
    previewOpen_ = false;
    // The pages live as long as their preview.
    report_.clear();
    QRImage1.setPicture(platform::Drawing());
    QRHeader.setPicture(platform::Drawing());
    QRComparison.setPicture(platform::Drawing());
}

namespace {

// Captures for paper, after the report's wait: what the window paints,
// recorded as a drawing for three device pixels per layout pixel (288 dpi)
// with scalable faces, so that lines and text stay vectors and text.
platform::Drawing captureForPaper(TmainF *mainF)
{
    platform::pause(TnyomALLF::CaptureDelay);
    const fonts::ScalableFaces faces(mainF);
    return platform::recordClient(mainF, 3);
}

platform::Drawing captureForPaper(TgrTerfKopF *chart)
{
    platform::pause(TnyomALLF::CaptureDelay);
    return chart->record();
}

} // namespace

void TnyomALLF::QuickRep1BeforePrint() { mainF_->model.NyomLap = 0; }

void TnyomALLF::QuickRepNeedData(bool &MoreData)
{
    MoreData = true;
    const int page = ++mainF_->model.NyomLap;
    switch (page) {
    case 1:
        mainF_->Image1Click();
        QRImage1.setPicture(captureForPaper(mainF_));
        break;
    case 2:
        mainF_->SpeedButton1Click();
        // Every chart of the report is captured at the same size, whatever
        // the user made of the window.
        chart_->setOuterSize(723, 521);
        platform::repaintNow(chart_);
        QRImage1.setPicture(captureForPaper(chart_));
        break;
    case 3:
    case 4:
    case 5:
        if (page == 3) mainF_->SpeedButton2Click();
        else if (page == 4) mainF_->SpeedButton3Click();
        else mainF_->SpeedButton4Click();
        QRImage1.setPicture(captureForPaper(chart_));
        break;
    default:
        MoreData = false;
        break;
    }
    if (!mainF_->printWithCharts() && page > 1) MoreData = false;
    if (!MoreData) platform::closeWindow(chart_);
}

void TnyomALLF::DetailBand1BeforePrint(bool &PrintBand)
{
    DetailBand1Height = QRImage1.Height + 40;
    PrintBand = mainF_->model.NyomLap <= 5;
}

void TnyomALLF::start()
{
    report_.clear();
    finished_ = false;
    windowsDone_ = comparisonDone_ = false;
    project_ = projectSource_ ? projectSource_() : printing::ReportProject();
    QuickRep1BeforePrint();
}

void TnyomALLF::produceNext()
{
    if (finished_) return;
    try {
        const int width = int(std::floor(report_.paper().bandWidthMm() * 960.0 / 254.0));
        if (!windowsDone_) {
            bool MoreData = true;
            QuickRepNeedData(MoreData);
            if (MoreData) {
                bool PrintBand = true;
                DetailBand1BeforePrint(PrintBand);
                if (PrintBand && mainF_->model.NyomLap == 1 && !project_.header.isEmpty()) {
                    // The project's details above the main window.
                    QRHeader.setPicture(printing::headerDrawing(project_.header, width));
                    report_.printBand(QRHeader.Height + HeaderGap, QRHeader);
                }
                if (PrintBand) report_.printBand(DetailBand1Height, QRImage1);
                return;
            }
            windowsDone_ = true;
        }
        if (!comparisonDone_ && !project_.comparison.isEmpty()) {
            // The comparison of cases on a page of its own, last.
            comparisonDone_ = true;
            QRComparison.setPicture(printing::tableDrawing(project_.comparison, width));
            report_.newPage();
            report_.printBand(QRComparison.Height, QRComparison);
            return;
        }
        finished_ = true;
    } catch (const rating::ArithmeticError &e) {
        // Reported once; the report ends with the pages it has.
        finished_ = true;
        platform::showError(QString::fromUtf8(e.what()));
    }
}

int TnyomALLF::pageCount() const
{
    // The last page is complete only when no band can follow it.
    const int n = int(report_.pages().size());
    return finished_ ? n : qMax(0, n - 1);
}

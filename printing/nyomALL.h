// The full report: portrait A4 pages with an image of the main window and,
// with the check box CbPwc on, of the four charts. The report drives the
// main window and the chart window as their buttons do and captures them.
// With a project source, the first page begins with the project's details,
// a comparison of cases ends the report on a page of its own, and a PDF of
// it carries the project's title, author and subject.
#pragma once

#include "platform/PrintPreview.h"
#include "printing/projectpages.h"
#include "printing/report.h"

#include <QWidget>

#include <functional>

class TmainF;
class TgrTerfKopF;

class TnyomALLF : public QWidget, public platform::PageProducer {
    Q_OBJECT
public:
    TnyomALLF(TmainF *mainF, TgrTerfKopF *chart, QWidget *parent = nullptr);

    // The report image of the current page: natural size, sized by its picture.
    printing::Image QRImage1;
    // The detail band's height in pixels, set before each printing.
    double DetailBand1Height = 0;
    // The wait before each capture, in milliseconds.
    static constexpr int CaptureDelay = 200;

    const printing::Report &report() const { return report_; }

    // Opens the report's preview (modal) and produces the pages in it;
    // returns when it is closed. Ignored while a preview is open.
    void preview();

    // What the report prints of the open project, asked at the start of
    // every production run; without a source, nothing.
    using ProjectSource = std::function<printing::ReportProject()>;
    void setProjectSource(ProjectSource source) { projectSource_ = std::move(source); }
    // The project's part of the run under way (or the last one).
    const printing::ReportProject &project() const { return project_; }
    // The header block's band (its drawing and the room below it) and the
    // comparison's page.
    printing::Image QRHeader, QRComparison;
    static constexpr double HeaderGap = 12;

    // The report engine's events.
    void QuickRep1BeforePrint();
    void QuickRepNeedData(bool &MoreData);
    void DetailBand1BeforePrint(bool &PrintBand);

    // A production run: before the report, then one page request and its
    // band per step.
    QPageLayout pageLayout() const override { return report_.pageLayout(); }
    void start() override;
    void produceNext() override;
    bool finished() const override { return finished_; }
    int pageCount() const override;
    bool render(QPagedPaintDevice *device) const override { return report_.render(device, pageCount()); }
    platform::DocumentInfo documentInfo() const override { return project_.pdf; }

private:
    TmainF *mainF_;
    TgrTerfKopF *chart_;
    printing::Report report_;
    bool finished_ = true;
    bool previewOpen_ = false;
    ProjectSource projectSource_;
    printing::ReportProject project_;
    bool windowsDone_ = false;    // the windows' pages are all produced
    bool comparisonDone_ = false; // the comparison's page too
};

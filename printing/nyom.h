// The chart print page: the chart window's drawing on one landscape A4 page,
// shown in a preview from which it is printed.
#pragma once

#include "platform/PrintPreview.h"
#include "printing/report.h"

#include <QList>
#include <QPointer>
#include <QWidget>

namespace printing {

// One chart page: its own copy of the chart and its own page. Each preview
// owns one, so every preview shows and prints the chart it was opened with.
class ChartPage : public platform::PageProducer {
public:
    // Band 1047 x 707 px; QRInyom 1041 x 697 px at the band's corner, the
    // chart stretched into it (275.43 x 184.41 mm) whatever its size.
    static constexpr double BandHeight = 707;
    static constexpr double ImageWidth = 1041, ImageHeight = 697;

    explicit ChartPage(const platform::Drawing &chart);

    Image QRInyom;
    const Report &report() const { return report_; }

    QPageLayout pageLayout() const override { return report_.pageLayout(); }
    void start() override;
    void produceNext() override;
    bool finished() const override { return finished_; }
    int pageCount() const override { return finished_ ? int(report_.pages().size()) : 0; }
    bool render(QPagedPaintDevice *device) const override { return report_.render(device, pageCount()); }

private:
    Report report_;
    bool finished_ = false;
};

} // namespace printing

class TnyomF : public QWidget {
    Q_OBJECT
public:
    explicit TnyomF(QWidget *parent = nullptr);
    ~TnyomF() override;

    // The chart of the last "Print" command of the chart window.
    printing::Image QRInyom;

    // "Print" of the chart window: keeps a copy of the chart and opens a
    // further preview (not modal) of its page. Ignored while the page of
    // the previous command is still being produced.
    void printChart(const platform::Drawing &chart);

private:
    QList<QPointer<platform::PrintPreview>> previews_;
};

// The chart window: shows one of the four characteristic charts, redraws it
// on every paint and resize, hands an image of it to the chart print page
// through its menu command "Print", and copies or saves it ("Copy",
// "Save...").
#pragma once

#include "charts/draw.h"
#include "platform/Canvas.h"
#include "platform/platform.h"

#include <QImage>
#include <QMainWindow>
#include <QSize>

#include <functional>

class TmainF;
class QAction;
class QIODevice;

namespace charts {

// The client area below the menu bar (the window's empty image control):
// every paint draws the chart that the window names.
class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget *parent);

    // The values of the sweep point nearest to column x of the last drawn
    // chart, one line each, labelled in the interface language; empty away
    // from the plot or before a chart.
    using PointText = std::function<QString(const QPoint &)>;
    void setPointText(PointText f) { pointText_ = std::move(f); }

signals:
    void painting(QPainter &painter);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void mouseMoveEvent(QMouseEvent *e) override;

private:
    PointText pointText_;
};

} // namespace charts

class TgrTerfKopF : public QMainWindow {
    Q_OBJECT
public:
    explicit TgrTerfKopF(TmainF *mainF, QWidget *parent = nullptr);
    ~TgrTerfKopF() override;

    // Client sizes: at start, while the full report produces its pages
    // (outer 723 x 521), and the smallest the user can drag it to (outer
    // 360 x 360, through FrameAllowance below).
    static constexpr QSize StartClient{723, 467};
    static constexpr QSize ReportClient{715, 475};
    static constexpr QSize MinimumClient{352, 314};
    // What the window frame, caption and menu bar of the original layout
    // take from an outer size.
    static constexpr QSize FrameAllowance{8, 46};

    // Which chart the window shows: 0 none, 1 jacket flow, 2 coil flow,
    // 3 jacket inlet temperature, 4 coil inlet temperature.
    int GrafikonFajta = 0;

    // The four charts. Each sets GrafikonFajta first, sweeps the main
    // window's state and draws; an arithmetic fault of the sweep propagates
    // to the caller (the button's handler reports it).
    void Tomegaram_a_kopenyben();
    void Tomegaram_a_spiralban();
    void Homerseklet_a_kopenyben();
    void Homerseklet_a_spiralban();

    // Chart number 1..4 as the main window's buttons ask for it.
    void drawChart(int fajta);

    // Menu command "Print": records the chart as a drawing and asks for the
    // chart print page (printRequested).
    void Print1Click();

    // Menu command "Copy" (Ctrl+C): the chart drawn afresh at two device
    // pixels per layout pixel, and its sweep as a table (text with tabs and
    // HTML, the regional decimal separator), on the clipboard.
    void Copy1Click();
    // Menu command "Save..." (Ctrl+S): asks for a file and saves the chart
    // there (saveChart).
    void Save1Click();
    // Writes the chart as the window shows it, drawn afresh: PNG at three
    // device pixels per layout pixel (288 dpi), SVG (lines and texts as
    // vectors), or CSV of the sweep; the format from the name's extension,
    // else from the dialog's filter (the name then gains its extension).
    // The file appears complete or not at all; a failure is shown and
    // gives false.
    bool saveChart(const QString &fileName, const QString &selectedFilter = QString());

    // The client area (below the menu bar) and its size.
    QWidget *clientArea() const;
    QSize clientSize() const;
    void setClientSize(const QSize &size);
    // Outer size as the original layout counts it: the client becomes the
    // outer size less FrameAllowance (723 x 521 gives the report's 715 x 475).
    void setOuterSize(int width, int height);

    // An image of the client area with the current chart; scale 3 gives
    // the 288-dpi image that goes on paper (its logical size is the client).
    QImage capture(qreal scale = 1);
    // What the client area paints, the current chart, recorded for paper:
    // a drawing for three device pixels per layout pixel (the scale of the
    // capture for paper), lines as vectors and text as text.
    platform::Drawing record();

    // The drawing surface; its pen, brush and font state lasts from one
    // chart to the next.
    platform::Canvas &canvas() { return canvas_; }

    // What the last drawing of the window computed (sweep table, axes).
    const charts::ChartResult &lastChart() const { return last_; }

    // The chart the window shows, computed afresh for its client size from
    // the main window's state as it stands now, on a copy of that state (the
    // main window's is left as it was), whether or not it was ever drawn:
    // what "Copy" and a CSV file hold. A fault of the sweep keeps the points
    // before it; chart 0 when the window shows none.
    charts::ChartResult currentSweep() const;

    // What the charts read from the main window, as it stands now.
    charts::ChartTexts texts() const;

    // Text of the sweep point nearest to a point of the client area.
    QString pointText(const QPoint &pos) const;

    QAction *Print1 = nullptr;
    QAction *Copy1 = nullptr;
    QAction *Save1 = nullptr;

signals:
    // "Print" was chosen: the recorded chart, for the chart print page.
    void printRequested(const platform::Drawing &chart);

protected:
    void showEvent(QShowEvent *e) override;

private:
    void FormPaint(QPainter &painter);
    // Sweeps chart GrafikonFajta and draws it on the window's surface as it
    // is bound (or unbound: then only the sweep and the surface state).
    void runChart();
    // As a paint does: a fault of the sweep ends the drawing and keeps
    // what was reached.
    void runChartAsPaint();
    void writeSvg(QIODevice *out);
    void applyLanguage();

    TmainF *mainF_;
    charts::ChartView *view_ = nullptr;
    platform::Canvas canvas_;
    charts::ChartResult last_;
    bool shownBefore_ = false;
    QString saveDirectory_, saveFilter_; // of the last save, for the next
};

// Makes the chart window the main window's: the language list sets its
// font, and a chart button shows it and then (after the recalculation)
// draws its chart.
void attachChartWindow(TmainF &mainF, TgrTerfKopF &chart);

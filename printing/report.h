// The report page model shared by the chart page and the full report: paper
// and margins, one column, one detail band printed again and again below the
// previous one, and report images. Lengths on paper are millimetres; lengths
// of the screen layout are pixels at 96 per inch.
#pragma once

#include "platform/platform.h"

#include <QList>
#include <QPageLayout>
#include <QRectF>

class QPagedPaintDevice;
class QPainter;

namespace printing {

// Pixels of the screen layout on paper: 96 pixels per inch. (254 / 960 keeps
// whole pixels exact in tenths of a millimetre.)
constexpr double pixelsToMm(double px) { return px * 254.0 / 960.0; }

// Paper and margins in tenths of a millimetre; Width and Length are the
// paper as printed (landscape A4 is 2970 wide).
struct Paper {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int Width = 2100, Length = 2970;
    int TopMargin = 100, BottomMargin = 100, LeftMargin = 100, RightMargin = 100;
    int ColumnSpace = 0;

    static Paper a4(QPageLayout::Orientation orientation, int margin);
    // Room for bands between the top and bottom margins, and their width.
    double spaceMm() const { return (Length - TopMargin - BottomMargin) / 10.0; }
    double bandWidthMm() const { return (Width - LeftMargin - RightMargin) / 10.0; }
};

// An image of a band: a rectangle in pixels from the band's top-left corner,
// holding its own copy of a picture: a drawing recorded from a window,
// measured by the window's size in layout pixels.
class Image {
public:
    double Left = 0, Top = 0, Width = 0, Height = 0;
    // Scale the picture to fill the rectangle exactly (each way on its own);
    // off: natural size from the top-left corner, clipped to the rectangle.
    bool Stretch = false;
    // The rectangle takes the picture's size whenever the picture changes.
    bool AutoSize = false;

    void setPicture(const platform::Drawing &picture);
    const platform::Drawing &picture() const { return picture_; }

private:
    platform::Drawing picture_;
};

// A band as printed: where it lies on its sheet and what it shows, in
// millimetres from the paper's top-left corner.
struct PrintedBand {
    QRectF band;
    QRectF image;
    platform::Drawing picture;
    bool stretch = false;
};
using Page = QList<PrintedBand>;

class Report {
public:
    explicit Report(const Paper &paper) : paper_(paper) {}

    const Paper &paper() const { return paper_; }
    // A4 (or whatever the paper is) without margins, for printers and PDF.
    QPageLayout pageLayout() const;

    // Drops the pages: a new production run begins.
    void clear();
    // Prints the detail band once, heightPx high, holding the image: below
    // the previous band, or on a new page when it does not fit above the
    // bottom margin; a band taller than the whole space between the margins
    // is printed where it is. The first band starts the first page.
    void printBand(double heightPx, const Image &image);
    // The next band starts a new page, wherever the previous one ended.
    void newPage() { breakBefore_ = true; }

    const QList<Page> &pages() const { return pages_; }

    // Draws the first `count` pages onto the device, one per sheet, the
    // pictures as the vector drawings they were recorded as. The device's
    // paper decides the sheet; the drawing starts at its corner. False when
    // the device cannot be painted on.
    bool render(QPagedPaintDevice *device, int count) const;
    // One page, with the painter in millimetres from the paper's corner.
    void paintPage(QPainter &painter, int index) const;

private:
    Paper paper_;
    QList<Page> pages_;
    double y_ = 0; // where the next band goes, in mm below the top margin
    bool breakBefore_ = false;
};

} // namespace printing

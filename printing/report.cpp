#include "printing/report.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

namespace printing {

Paper Paper::a4(QPageLayout::Orientation orientation, int margin)
{
    Paper p;
    p.orientation = orientation;
    const bool landscape = orientation == QPageLayout::Landscape;
    p.Width = landscape ? 2970 : 2100;
    p.Length = landscape ? 2100 : 2970;
    p.TopMargin = p.BottomMargin = p.LeftMargin = p.RightMargin = margin;
    return p;
}

void Image::setPicture(const platform::Drawing &picture)
{
    picture_ = picture;
    if (AutoSize) {
        Width = picture_.size().width();
        Height = picture_.size().height();
    }
}

QPageLayout Report::pageLayout() const
{
    // The paper as printed, named portrait-wise for the page size.
    const bool landscape = paper_.orientation == QPageLayout::Landscape;
    const QSizeF portrait = landscape ? QSizeF(paper_.Length / 10.0, paper_.Width / 10.0)
                                      : QSizeF(paper_.Width / 10.0, paper_.Length / 10.0);
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                       paper_.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void Report::clear()
{
    pages_.clear();
    y_ = 0;
    breakBefore_ = false;
}

void Report::printBand(double heightPx, const Image &image)
{
    const double height = pixelsToMm(heightPx);
    const double space = paper_.spaceMm();
    if (pages_.isEmpty() || breakBefore_ || (y_ + height > space && height <= space)) {
        pages_.append(Page());
        y_ = 0;
    }
    breakBefore_ = false;
    PrintedBand b;
    b.band = QRectF(paper_.LeftMargin / 10.0, paper_.TopMargin / 10.0 + y_, paper_.bandWidthMm(), height);
    b.image = QRectF(b.band.left() + pixelsToMm(image.Left), b.band.top() + pixelsToMm(image.Top),
                     pixelsToMm(image.Width), pixelsToMm(image.Height));
    // Shares the image's own copy; at natural size only as much of it as
    // the image's rectangle holds.
    b.picture = image.Stretch ? image.picture() : image.picture().clipped(QRectF(0, 0, image.Width, image.Height));
    b.stretch = image.Stretch;
    pages_.last().append(b);
    y_ += height;
}

void Report::paintPage(QPainter &painter, int index) const
{
    if (index < 0 || index >= pages_.size()) return;
    for (const PrintedBand &b : pages_[index]) {
        painter.fillRect(b.band, Qt::white);
        if (b.picture.isNull()) continue;
        if (b.stretch) {
            b.picture.paint(painter, b.image);
        } else {
            const QSizeF natural = b.picture.size();
            painter.save();
            painter.setClipRect(b.image, Qt::IntersectClip);
            b.picture.paint(painter, QRectF(b.image.topLeft(), QSizeF(pixelsToMm(natural.width()),
                                                                      pixelsToMm(natural.height()))));
            painter.restore();
        }
    }
}

bool Report::render(QPagedPaintDevice *device, int count) const
{
    count = qMin(count, int(pages_.size()));
    if (count <= 0) return true;
    QPainter painter;
    if (!painter.begin(device)) return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // What remains raster in the drawings (the style's cached frames, the
    // button pictures) keeps its sharp edges in a PDF: no JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    // Millimetres from the paper's corner, whatever margins the device keeps.
    const int dpiX = device->logicalDpiX(), dpiY = device->logicalDpiY();
    const QRect printable = device->pageLayout().paintRectPixels(dpiX);
    for (int i = 0; i < count; ++i) {
        if (i > 0) device->newPage();
        painter.save();
        painter.translate(-printable.left(), -printable.top());
        painter.scale(dpiX / 25.4, dpiY / 25.4);
        paintPage(painter, i);
        painter.restore();
    }
    return painter.end();
}

} // namespace printing

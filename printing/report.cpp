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

void Image::setPicture(const QImage &picture)
{
    picture_.setPicture(picture);
    pictureChanged();
}

void Image::setPicture(QImage &&picture)
{
    picture_.setPicture(std::move(picture));
    pictureChanged();
}

void Image::pictureChanged()
{
    if (AutoSize) {
        const QSizeF size = picture_.picture().deviceIndependentSize();
        Width = size.width();
        Height = size.height();
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
}

namespace {

// The mean of every n x n block: a picture of device pixel ratio n brought
// back to one pixel per layout pixel. Red and blue are summed side by side
// in one word (n * n * 255 fits in 16 bits for n up to 16). Other ratios
// scale smoothly.
QImage screenCopy(const QImage &picture)
{
    const qreal ratio = picture.devicePixelRatio();
    if (ratio <= 1) return QImage();
    const QSize size = picture.deviceIndependentSize().toSize();
    const int n = qRound(ratio);
    if (n != ratio || n > 16 || picture.format() != QImage::Format_RGB32)
        return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage out(size, QImage::Format_RGB32);
    const quint32 area = quint32(n * n);
    for (int y = 0; y < size.height(); ++y) {
        auto *dst = reinterpret_cast<quint32 *>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            quint32 rb = 0, g = 0;
            for (int dy = 0; dy < n; ++dy) {
                const auto *src = reinterpret_cast<const quint32 *>(picture.constScanLine(y * n + dy)) + x * n;
                for (int dx = 0; dx < n; ++dx) {
                    rb += src[dx] & 0xff00ffu;
                    g += src[dx] & 0xff00u;
                }
            }
            dst[x] = 0xff000000u | ((rb >> 16) / area) << 16 | ((g >> 8) / area) << 8 | (rb & 0xffffu) / area;
        }
    }
    return out;
}

} // namespace

void Report::printBand(double heightPx, const Image &image)
{
    const double height = pixelsToMm(heightPx);
    const double space = paper_.spaceMm();
    if (pages_.isEmpty() || (y_ + height > space && height <= space)) {
        pages_.append(Page());
        y_ = 0;
    }
    PrintedBand b;
    b.band = QRectF(paper_.LeftMargin / 10.0, paper_.TopMargin / 10.0 + y_, paper_.bandWidthMm(), height);
    b.image = QRectF(b.band.left() + pixelsToMm(image.Left), b.band.top() + pixelsToMm(image.Top),
                     pixelsToMm(image.Width), pixelsToMm(image.Height));
    b.picture = image.picture(); // shares the image's own copy
    b.screen = screenCopy(b.picture);
    b.stretch = image.Stretch;
    pages_.last().append(b);
    y_ += height;
}

void Report::paintPage(QPainter &painter, int index, Target target) const
{
    if (index < 0 || index >= pages_.size()) return;
    for (const PrintedBand &b : pages_[index]) {
        painter.fillRect(b.band, Qt::white);
        if (b.picture.isNull()) continue;
        const QImage &picture = target == ForScreen && !b.screen.isNull() ? b.screen : b.picture;
        if (b.stretch) {
            painter.drawImage(b.image, picture);
        } else {
            const QSizeF natural = b.picture.deviceIndependentSize();
            painter.save();
            painter.setClipRect(b.image, Qt::IntersectClip);
            painter.drawImage(QRectF(b.image.topLeft(), QSizeF(pixelsToMm(natural.width()),
                                                                pixelsToMm(natural.height()))),
                              picture);
            painter.restore();
        }
    }
}

bool Report::render(QPagedPaintDevice *device, int count, Target target) const
{
    count = qMin(count, int(pages_.size()));
    if (count <= 0) return true;
    QPainter painter;
    if (!painter.begin(device)) return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Charts and text keep their sharp edges in a PDF: no JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    // Millimetres from the paper's corner, whatever margins the device keeps.
    const int dpiX = device->logicalDpiX(), dpiY = device->logicalDpiY();
    const QRect printable = device->pageLayout().paintRectPixels(dpiX);
    for (int i = 0; i < count; ++i) {
        if (i > 0) device->newPage();
        painter.save();
        painter.translate(-printable.left(), -printable.top());
        painter.scale(dpiX / 25.4, dpiY / 25.4);
        paintPage(painter, i, target);
        painter.restore();
    }
    return painter.end();
}

} // namespace printing

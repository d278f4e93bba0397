#include "assets/assets.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initAssetResources()
{
    Q_INIT_RESOURCE(assets);
}

namespace assets {

namespace {

void ensureResources()
{
    static const bool done = (initAssetResources(), true);
    Q_UNUSED(done);
}

// Renders an SVG resource onto an image already filled with `fill`: `size`
// layout pixels at `scale` device pixels each.
QImage render(const QString &path, QSize size, QImage::Format format, QRgb fill, qreal scale = 1)
{
    ensureResources();
    QImage image(size * scale, format);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        qWarning("assets: cannot load %s", qPrintable(path));
        return image;
    }
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

QIcon buttonIcon(const QString &path)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        const QImage normal = render(path, QSize(16, 16) * scale, QImage::Format_ARGB32_Premultiplied, 0);
        QPixmap n = QPixmap::fromImage(normal);
        QPixmap d = QPixmap::fromImage(greyed(normal, scale));
        n.setDevicePixelRatio(scale);
        d.setDevicePixelRatio(scale);
        icon.addPixmap(n, QIcon::Normal);
        icon.addPixmap(d, QIcon::Disabled);
    }
    return icon;
}

} // namespace

QImage schematic()
{
    static const QImage picture = render(QStringLiteral(":/assets/schematic.svg"), schematicSize,
                                         QImage::Format_RGB32, schematicBackground);
    return picture.copy();
}

void drawSchematic(QPainter &painter)
{
    ensureResources();
    static QSvgRenderer renderer(QStringLiteral(":/assets/schematic.svg"));
    const QRectF rect(QPointF(0, 0), schematicSize);
    painter.fillRect(rect, QColor::fromRgb(schematicBackground));
    renderer.render(&painter, rect);
}

QImage schematic(qreal scale)
{
    if (scale == 1) return schematic();
    return render(QStringLiteral(":/assets/schematic.svg"), schematicSize, QImage::Format_RGB32, schematicBackground,
                  scale);
}

QIcon chartIcon()
{
    return buttonIcon(QStringLiteral(":/assets/chart.svg"));
}

QIcon printerIcon()
{
    return buttonIcon(QStringLiteral(":/assets/printer.svg"));
}

QImage greyed(const QImage &image, int offset)
{
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    QImage mask(src.size(), QImage::Format_ARGB32);
    mask.fill(0);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const QRgb p = src.pixel(x, y);
            if (qAlpha(p) >= 128 && qGray(p) < 192)
                mask.setPixel(x, y, 0xff000000);
        }
    QImage out(src.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(0);
    const QRgb white = 0xffffffff, grey = 0xff808080;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (mask.pixel(x, y) && x + offset < out.width() && y + offset < out.height())
                out.setPixel(x + offset, y + offset, white);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (mask.pixel(x, y))
                out.setPixel(x, y, grey);
    return out;
}

} // namespace assets

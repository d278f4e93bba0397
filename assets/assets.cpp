#include "assets/assets.h"
#include "assets/render.h"

#include <QResource>
#include <QPixmap>
#include <QtGlobal>

#include <functional>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initPrerenderedResources()
{
    Q_INIT_RESOURCE(prerendered);
}

namespace assets {

namespace {

// The pictures rendered from their SVG at build time (the prerender step in
// assets/CMakeLists.txt), pixel for pixel what rendering them here would
// give. They are kept as raw, uncompressed pixels and the image is a
// read-only view of them in the program's data: the start spends no time on
// the SVG renderer, an image decoder or copies (every megabyte touched costs
// page faults). Rendered here when the build left one out.
QImage prerendered(const QString &name, QSize size, QImage::Format format, const std::function<QImage()> &render)
{
    static const bool done = (initPrerenderedResources(), true);
    Q_UNUSED(done);
    const QResource resource(QStringLiteral(":/prerendered/") + name);
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() != bytesPerLine * size.height() || quintptr(resource.data()) % 4 != 0)
        return render();
    return QImage(resource.data(), size.width(), size.height(), bytesPerLine, format);
}

QIcon buttonIcon(const QString &name)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        const QImage normal = prerendered(buttonImageName(name, scale), QSize(16, 16) * scale,
                                          QImage::Format_ARGB32_Premultiplied, [&] { return renderButton(name, scale); });
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
    static const QImage picture =
        prerendered(QStringLiteral("schematic.rgb32"), schematicSize, QImage::Format_RGB32, [] { return renderSchematic(); });
    return picture.copy();
}

QImage schematic(qreal scale)
{
    return scale == 1 ? schematic() : renderSchematic(scale);
}

QIcon chartIcon()
{
    static const QIcon icon = buttonIcon(QStringLiteral("chart"));
    return icon;
}

QIcon printerIcon()
{
    return buttonIcon(QStringLiteral("printer"));
}

QIcon selectionIcon()
{
    return buttonIcon(QStringLiteral("selection"));
}

QIcon newIcon() { return buttonIcon(QStringLiteral("new")); }
QIcon openIcon() { return buttonIcon(QStringLiteral("open")); }
QIcon saveIcon() { return buttonIcon(QStringLiteral("save")); }
QIcon saveAsIcon() { return buttonIcon(QStringLiteral("saveas")); }
QIcon detailsIcon() { return buttonIcon(QStringLiteral("details")); }

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

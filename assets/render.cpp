#include "assets/render.h"

#include "assets/assets.h"

#include <QPainter>
#include <QSvgRenderer>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initAssetResources()
{
    Q_INIT_RESOURCE(assets);
}

namespace assets {

namespace {

// Renders an SVG resource unscaled onto an image already filled with `fill`.
QImage render(const QString &path, QSize size, QImage::Format format, QRgb fill)
{
    static const bool done = (initAssetResources(), true);
    Q_UNUSED(done);
    QImage image(size, format);
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

} // namespace

QImage renderSchematic()
{
    return render(QStringLiteral(":/assets/schematic.svg"), schematicSize, QImage::Format_RGB32, schematicBackground);
}

QImage renderButton(const QString &name, int scale)
{
    return render(QStringLiteral(":/assets/%1.svg").arg(name), QSize(16, 16) * scale,
                  QImage::Format_ARGB32_Premultiplied, 0);
}

QString buttonImageName(const QString &name, int scale)
{
    return QStringLiteral("%1_%2x.argb32").arg(name).arg(scale);
}

} // namespace assets

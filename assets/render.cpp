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

} // namespace

QImage renderSchematic(qreal scale)
{
    return render(QStringLiteral(":/assets/schematic.svg"), schematicSize, QImage::Format_RGB32, schematicBackground,
                  scale);
}

void drawSchematic(QPainter &painter)
{
    ensureResources();
    static QSvgRenderer renderer(QStringLiteral(":/assets/schematic.svg"));
    const QRectF rect(QPointF(0, 0), schematicSize);
    painter.fillRect(rect, QColor::fromRgb(schematicBackground));
    renderer.render(&painter, rect);
}

QImage renderButton(const QString &name, int scale)
{
    return render(QStringLiteral(":/assets/%1.svg").arg(name), QSize(16, 16) * scale,
                  QImage::Format_ARGB32_Premultiplied, 0);
}

QStringList buttonNames()
{
    return {QStringLiteral("chart"), QStringLiteral("printer"), QStringLiteral("selection"), QStringLiteral("new"),
            QStringLiteral("open"),  QStringLiteral("save"),    QStringLiteral("saveas"),    QStringLiteral("details")};
}

QString buttonImageName(const QString &name, int scale)
{
    return QStringLiteral("%1_%2x.argb32").arg(name).arg(scale);
}

} // namespace assets

#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>

namespace platform {

Canvas::Canvas() : m_font(defaultFont()) {}
Canvas::Canvas(const QFont &font) : m_font(font) {}
Canvas::~Canvas() { end(); }

QFont Canvas::defaultFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(8);
    return f;
}

void Canvas::setFontSize(int points)
{
    if (points > 0)
        m_font.setPointSize(points);
}

void Canvas::begin(QPainter &painter)
{
    end();
    m_painter = &painter;
}

bool Canvas::begin(QPaintDevice *device)
{
    end();
    if (!device)
        return false;
    m_ownPainter = std::make_unique<QPainter>();
    if (!m_ownPainter->begin(device)) {
        m_ownPainter.reset();
        return false;
    }
    m_painter = m_ownPainter.get();
    return true;
}

void Canvas::end()
{
    if (m_ownPainter)
        m_ownPainter->end();
    m_ownPainter.reset();
    m_painter = nullptr;
}

void Canvas::applyClip() const
{
    if (!m_clip.isNull()) m_painter->setClipRect(m_clip, Qt::IntersectClip);
}

void Canvas::prepare(bool fill) const
{
    QPainter &p = *m_painter;
    applyClip();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const int width = qMax(1, m_penWidth);
    QPen pen(m_penColor);
    if (width == 1) {
        // A cosmetic one-pixel pen with flat caps leaves out the end point of
        // the last segment, which is how the layouts count their pixels. On a
        // device with more pixels per logical pixel (a high-density screen,
        // an image for paper) the line keeps its logical width instead.
        pen.setWidth(1);
        pen.setCosmetic(p.deviceTransform().m22() <= 1);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setWidth(width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    p.setPen(pen);
    p.setBrush(fill ? QBrush(m_brushColor) : QBrush(Qt::NoBrush));
}

void Canvas::polyline(const QList<QPoint> &points)
{
    if (!m_painter || points.size() < 2)
        return;
    m_painter->save();
    prepare(false);
    m_painter->drawPolyline(QPolygon(points));
    m_painter->restore();
}

void Canvas::polygon(const QList<QPoint> &points)
{
    if (!m_painter || points.isEmpty())
        return;
    m_painter->save();
    prepare(true);
    m_painter->drawPolygon(QPolygon(points), Qt::OddEvenFill);
    m_painter->restore();
}

void Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    if (!m_painter)
        return;
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (x2 == x1 || y2 == y1)
        return;
    m_painter->save();
    prepare(false);
    m_painter->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), m_brushColor);
    QPen pen = m_painter->pen();
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter->setPen(pen);
    // A stroked QRect covers width+1 pixels: this one covers x1..x2-1.
    m_painter->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    m_painter->restore();
}

void Canvas::textOut(int x, int y, const QString &text)
{
    if (!m_painter)
        return;
    m_painter->save();
    applyClip();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setFont(m_font);
    const QFontMetrics fm(m_font, m_painter->device());
    const QRect box(x, y, fm.horizontalAdvance(text), fm.height());
    m_painter->fillRect(box, m_brushColor);
    m_painter->setPen(m_fontColor);
    m_painter->drawText(QPoint(x, y + fm.ascent()), text);
    m_painter->restore();
}

int Canvas::textWidth(const QString &text) const
{
    const QFontMetrics fm = m_painter ? QFontMetrics(m_font, m_painter->device()) : QFontMetrics(m_font);
    return fm.horizontalAdvance(text);
}

int Canvas::textHeight(const QString &) const
{
    const QFontMetrics fm = m_painter ? QFontMetrics(m_font, m_painter->device()) : QFontMetrics(m_font);
    return fm.height();
}

} // namespace platform

#include "platform/Canvas.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <QPainter>
#include <QPen>
#include <QPolygon>

namespace platform {

namespace {

// Layouts kept per font before the cache starts afresh.
constexpr int kLaidLimit = 4096;

} // namespace

Canvas::Canvas() : m_font(defaultFont()) {}
Canvas::Canvas(const QFont &font) : m_font(font) {}
Canvas::~Canvas() { end(); }

QFont Canvas::defaultFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(8);
    return f;
}

void Canvas::setFont(const QFont &f)
{
    if (f == m_font && f.resolveMask() == m_font.resolveMask()) return;
    m_font = f;
    fontChanged();
}

void Canvas::setFontName(const QString &family)
{
    m_font.setFamily(family);
    fontChanged();
}

void Canvas::setFontSize(int points)
{
    if (points <= 0) return;
    m_font.setPointSize(points);
    fontChanged();
}

void Canvas::setFontBold(bool bold)
{
    m_font.setBold(bold);
    fontChanged();
}

void Canvas::fontChanged()
{
    m_metrics.reset();
    m_laid.clear();
    m_applied.font = false;
}

void Canvas::begin(QPainter &painter)
{
    end();
    bind(painter);
}

void Canvas::bind(QPainter &painter)
{
    m_painter = &painter;
    // The caller's painter gets its own state back when the binding ends.
    m_painter->save();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    m_applied = Applied();
}

bool Canvas::begin(QPaintDevice *device)
{
    end();
    if (!device) return false;
    m_ownPainter = std::make_unique<QPainter>();
    if (!m_ownPainter->begin(device)) {
        m_ownPainter.reset();
        return false;
    }
    bind(*m_ownPainter);
    return true;
}

void Canvas::end()
{
    if (m_painter) m_painter->restore();
    if (m_ownPainter) m_ownPainter->end();
    m_ownPainter.reset();
    m_painter = nullptr;
}

void Canvas::applyPen(const QColor &color, int requested)
{
    const int width = qMax(1, requested);
    // A cosmetic one-pixel pen with flat caps leaves out the end point of the
    // last segment, which is how the layouts count their pixels. On a device
    // with more pixels per layout pixel (a high-density screen, an image for
    // paper) the line keeps its layout width instead.
    const bool cosmetic = width == 1 && m_painter->deviceTransform().m22() <= 1;
    if (m_applied.pen && m_applied.penColor == color && m_applied.penWidth == width && m_applied.cosmetic == cosmetic)
        return;
    QPen pen(color);
    pen.setWidth(width);
    if (width == 1) {
        pen.setCosmetic(cosmetic);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    m_painter->setPen(pen);
    m_applied.pen = true;
    m_applied.penColor = color;
    m_applied.penWidth = width;
    m_applied.cosmetic = cosmetic;
}

void Canvas::applyBrush(bool fill)
{
    if (m_applied.brush && m_applied.fill == fill && (!fill || m_painter->brush().color() == m_brushColor)) return;
    m_painter->setBrush(fill ? QBrush(m_brushColor) : QBrush(Qt::NoBrush));
    m_applied.brush = true;
    m_applied.fill = fill;
}

void Canvas::applyClip()
{
    if (m_applied.clip && m_applied.clipRect == m_clip) return;
    if (m_clip.isNull()) m_painter->setClipping(false);
    else m_painter->setClipRect(m_clip);
    m_applied.clip = true;
    m_applied.clipRect = m_clip;
}

void Canvas::applyFont()
{
    if (m_applied.font) return;
    m_painter->setFont(m_font);
    m_applied.font = true;
}

void Canvas::polyline(const QList<QPoint> &points)
{
    if (!m_painter || points.size() < 2) return;
    applyClip();
    applyPen(m_penColor, m_penWidth);
    applyBrush(false);
    if (points.size() == 2) m_painter->drawLine(points[0], points[1]);
    else m_painter->drawPolyline(QPolygon(points));
}

void Canvas::polygon(const QList<QPoint> &points)
{
    if (!m_painter || points.isEmpty()) return;
    applyClip();
    applyPen(m_penColor, m_penWidth);
    applyBrush(true);
    m_painter->drawPolygon(QPolygon(points), Qt::OddEvenFill);
}

void Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    if (!m_painter) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1) return;
    applyClip();
    m_painter->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), m_brushColor);
    applyPen(m_penColor, m_penWidth);
    applyBrush(false);
    QPen pen = m_painter->pen();
    pen.setCapStyle(Qt::SquareCap);
    m_painter->setPen(pen);
    // A stroked QRect covers width+1 pixels: this one covers x1..x2-1.
    m_painter->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    m_applied.pen = false;
}

const QFontMetrics &Canvas::metrics() const
{
    // Without a device, text measures as on the screen.
    static const int screenDpi = [] {
        const QScreen *s = QGuiApplication::primaryScreen();
        return s ? qRound(s->logicalDotsPerInchY()) : 96;
    }();
    const int dpi = m_painter ? m_painter->device()->logicalDpiY() : screenDpi;
    if (!m_metrics || dpi != m_metricsDpi) {
        m_metrics.emplace(m_painter ? QFontMetrics(m_font, m_painter->device()) : QFontMetrics(m_font));
        m_metricsDpi = dpi;
        m_laid.clear();
    }
    return *m_metrics;
}

Canvas::Laid &Canvas::laid(const QString &text) const
{
    const QFontMetrics &fm = metrics();
    auto it = m_laid.find(text);
    if (it == m_laid.end()) {
        if (m_laid.size() >= kLaidLimit) m_laid.clear();
        Laid l;
        l.width = fm.horizontalAdvance(text);
        l.text.setText(text);
        l.text.setTextFormat(Qt::PlainText);
        l.text.setPerformanceHint(QStaticText::AggressiveCaching);
        it = m_laid.insert(text, l);
    }
    return it.value();
}

void Canvas::textOut(int x, int y, const QString &text)
{
    if (!m_painter) return;
    applyClip();
    Laid &l = laid(text);
    m_painter->fillRect(QRect(x, y, l.width, metrics().height()), m_brushColor);
    applyFont();
    // The text is drawn in the font colour (a pen of width 0 stands for it
    // in the bookkeeping, so the next line sets its own pen again).
    if (!(m_applied.pen && m_applied.penWidth == 0 && m_applied.penColor == m_fontColor)) {
        m_painter->setPen(m_fontColor);
        m_applied.pen = true;
        m_applied.penWidth = 0;
        m_applied.penColor = m_fontColor;
    }
    m_painter->drawStaticText(QPoint(x, y), l.text);
}

int Canvas::textWidth(const QString &text) const { return laid(text).width; }

int Canvas::textHeight(const QString &) const { return metrics().height(); }

} // namespace platform

// Drawing surface with a state that outlives a paint.
//
// A Canvas belongs to a window or an image and remembers its pen colour and
// width, brush colour, font, font colour and character set from one paint to
// the next, so a drawing can rely on what the previous one left behind (the
// charts do with the pen width). It draws through a QPainter only while it is
// bound to one: inside paintEvent bind the widget's painter, or bind an image.
//
//     void Chart::paintEvent(QPaintEvent *) {
//         QPainter p(this);
//         platform::Canvas::Scope scope(m_canvas, p);
//         m_canvas.rectangle(0, 0, width(), height());
//     }
//
// Pixel rules (no antialiasing, integer coordinates, x to the right and y
// downwards from the top left):
//  - polyline: a 1-pixel pen covers every pixel of each segment except the
//    very last point of the polyline, so a line from (0,563) to (150,563)
//    colours x = 0..149 on y = 563; a following segment that starts at
//    (150,563) covers that pixel. Wider pens get round ends and joins.
//  - rectangle(x1,y1,x2,y2): covers x1..x2-1 and y1..y2-1; the border is in
//    the pen, the inside in the brush.
//  - polygon: filled with the brush (alternate fill rule), outlined in the pen
//    through all vertices and back to the first.
//  - textOut(x,y,text): the box of textWidth by textHeight at (x,y) is filled
//    with the brush colour (white unless set), then the text is drawn in the
//    font colour with its top-left corner at (x,y).
// The character set is kept as a font attribute (1 default, 204 Cyrillic);
// texts are Unicode, so it changes nothing visible.
#pragma once

#include "platform/Surface.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QList>
#include <QPoint>
#include <QStaticText>
#include <QString>
#include <memory>
#include <optional>

class QPainter;
class QPaintDevice;
class QImage;

namespace platform {

class Canvas : public Surface {
public:
    enum Charset { DefaultCharset = 1, CyrillicCharset = 204 };

    Canvas();
    explicit Canvas(const QFont &font);
    ~Canvas() override;
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    // The font a surface starts with: "MS Sans Serif", 8 points.
    static QFont defaultFont();

    // Binding. begin(QPainter&) uses the caller's painter (which must outlive
    // the binding); begin(QPaintDevice*) opens a painter of its own, for an
    // image. end() releases either. Drawing while unbound does nothing.
    void begin(QPainter &painter);
    bool begin(QPaintDevice *device);
    void end();
    bool isActive() const { return m_painter != nullptr; }

    class Scope {
    public:
        Scope(Canvas &canvas, QPainter &painter) : m_canvas(canvas) { m_canvas.begin(painter); }
        Scope(Canvas &canvas, QPaintDevice *device) : m_canvas(canvas) { m_canvas.begin(device); }
        ~Scope() { m_canvas.end(); }
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        Canvas &m_canvas;
    };

    // ---- state ----
    void setPenColor(const QColor &c) override { m_penColor = c; }
    QColor penColor() const override { return m_penColor; }
    // Widths below 1 draw as 1 pixel.
    void setPenWidth(int w) override { m_penWidth = w; }
    int penWidth() const override { return m_penWidth; }
    void setBrushColor(const QColor &c) override { m_brushColor = c; }
    QColor brushColor() const { return m_brushColor; }
    void setFontColor(const QColor &c) override { m_fontColor = c; }
    QColor fontColor() const { return m_fontColor; }

    void setFont(const QFont &f);
    QFont font() const { return m_font; }
    void setFontName(const QString &family);
    void setFontSize(int points);
    int fontSize() const { return m_font.pointSize(); }
    void setFontBold(bool bold);
    void setCharset(int charset) { m_charset = charset; }
    int charset() const { return m_charset; }

    // ---- drawing ----
    void polyline(const QList<QPoint> &points) override;
    void polygon(const QList<QPoint> &points) override;
    void rectangle(int x1, int y1, int x2, int y2) override;
    void textOut(int x, int y, const QString &text) override;
    int textWidth(const QString &text) const override;
    int textHeight(const QString &text) const override;
    void setClipRect(const QRect &r) override { m_clip = r; }

private:
    void bind(QPainter &painter);
    // The painter's pen, brush, font and clip are set only when they differ
    // from what the canvas last gave it: a chart makes some thousand
    // drawing calls a paint, most with the same state as the one before.
    void applyPen(const QColor &color, int width);
    void applyBrush(bool fill);
    void applyClip();
    void applyFont();
    void fontChanged();
    const QFontMetrics &metrics() const;

    struct Applied {
        bool pen = false, brush = false, font = false, clip = false;
        QColor penColor;
        int penWidth = 0;
        bool cosmetic = true;
        bool fill = false;
        QRect clipRect;
    };
    Applied m_applied;

    QColor m_penColor = Qt::black;
    int m_penWidth = 1;
    QColor m_brushColor = Qt::white;
    QColor m_fontColor = Qt::black;
    QFont m_font;
    int m_charset = DefaultCharset;
    QRect m_clip;

    QPainter *m_painter = nullptr;
    std::unique_ptr<QPainter> m_ownPainter;

    // Text laid out once per font: its width and its glyph positions.
    struct Laid {
        int width = 0;
        QStaticText text;
    };
    mutable std::optional<QFontMetrics> m_metrics;
    mutable int m_metricsDpi = 0;
    mutable QHash<QString, Laid> m_laid;
    Laid &laid(const QString &text) const;
};

} // namespace platform

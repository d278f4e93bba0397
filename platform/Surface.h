// What a drawing asks of a surface: pen, brush and font colour, lines,
// polygons, rectangles and text with its extent, and a clip rectangle.
// Canvas draws on a window or an image; a test can record the same calls.
#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

namespace platform {

class Surface {
public:
    virtual ~Surface() = default;

    virtual void setPenColor(const QColor &c) = 0;
    virtual QColor penColor() const = 0;
    virtual void setPenWidth(int w) = 0;
    virtual int penWidth() const = 0;
    virtual void setBrushColor(const QColor &c) = 0;
    virtual void setFontColor(const QColor &c) = 0;

    virtual void polyline(const QList<QPoint> &points) = 0;
    void line(int x1, int y1, int x2, int y2) { polyline({QPoint(x1, y1), QPoint(x2, y2)}); }
    virtual void polygon(const QList<QPoint> &points) = 0;
    virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void textOut(int x, int y, const QString &text) = 0;
    virtual int textWidth(const QString &text) const = 0;
    virtual int textHeight(const QString &text) const = 0;

    // Limits the following drawing to the rectangle; a null rectangle lifts
    // the limit.
    virtual void setClipRect(const QRect &r) = 0;
};

} // namespace platform

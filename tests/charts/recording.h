// A drawing surface that writes every operation down instead of drawing
// it. Texts measure 6 pixels a character and 13 pixels high, so the
// expected coordinates can be worked out by hand.
#pragma once

#include "platform/Surface.h"

#include <QStringList>

class RecordingSurface : public platform::Surface {
public:
    QStringList log;

    void setPenColor(const QColor &c) override
    {
        pen_ = c;
        log << QStringLiteral("pen %1").arg(name(c));
    }
    QColor penColor() const override { return pen_; }
    void setPenWidth(int w) override
    {
        width_ = w;
        log << QStringLiteral("width %1").arg(w);
    }
    int penWidth() const override { return width_; }
    void setBrushColor(const QColor &c) override { log << QStringLiteral("brush %1").arg(name(c)); }
    void setFontColor(const QColor &c) override { log << QStringLiteral("font %1").arg(name(c)); }
    void polyline(const QList<QPoint> &points) override
    {
        QStringList p;
        for (const QPoint &pt : points) p << QStringLiteral("%1,%2").arg(pt.x()).arg(pt.y());
        log << QStringLiteral("line ") + p.join(QLatin1Char(' '));
    }
    void polygon(const QList<QPoint> &) override { log << QStringLiteral("polygon"); }
    void rectangle(int x1, int y1, int x2, int y2) override
    {
        log << QStringLiteral("rect %1,%2 %3,%4").arg(x1).arg(y1).arg(x2).arg(y2);
    }
    void textOut(int x, int y, const QString &text) override
    {
        log << QStringLiteral("text %1,%2 '%3'").arg(x).arg(y).arg(text);
    }
    int textWidth(const QString &text) const override { return 6 * int(text.size()); }
    int textHeight(const QString &) const override { return 13; }
    void setClipRect(const QRect &r) override
    {
        log << (r.isNull() ? QStringLiteral("clip off")
                           : QStringLiteral("clip %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
    }

private:
    static QString name(const QColor &c)
    {
        static const std::pair<QRgb, const char *> names[] = {
            {qRgb(0, 0, 0), "black"},   {qRgb(128, 128, 128), "gray"}, {qRgb(255, 0, 0), "red"},
            {qRgb(0, 255, 0), "green"}, {qRgb(0, 0, 255), "blue"},     {qRgb(255, 128, 64), "orange"},
            {qRgb(255, 255, 255), "white"}};
        for (const auto &[rgb, n] : names)
            if (c.rgb() == rgb) return QString::fromLatin1(n);
        return c.name();
    }
    QColor pen_ = Qt::black;
    int width_ = 1;
};

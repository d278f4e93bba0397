// Level bar: a position between Min and Max shown as a filled length.
//
// With L the length along the bar, a = round(L * (Position - Min) / (Max - Min));
// the fill is a - 2 pixels long, at most L - 7, and nothing while a <= 2. It
// grows from the bottom (vertical) or the left (horizontal), starting just
// inside a two-pixel border, and is shaded across the thickness from
// BarColorFrom to BarColorTo (one plain colour when they are equal). The rest
// shows Color inside a light 3-D frame.
#pragma once

#include <QColor>
#include <QWidget>

class LevelBar : public QWidget {
    Q_OBJECT
public:
    explicit LevelBar(QWidget *parent = nullptr);

    // Distance from the start end of the bar to the first filled pixel.
    static constexpr int FillStart = 2;
    // Fill length in pixels for a bar of the given length.
    static int fillLength(int length, int minimum, int maximum, int position);
    int fillLength() const;

    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int position() const { return m_position; }
    void setMinimum(int v);
    void setMaximum(int v);
    // Stored clamped to minimum..maximum.
    void setPosition(int v);

    Qt::Orientation orientation() const { return m_orientation; }
    void setOrientation(Qt::Orientation o);
    QColor barColorFrom() const { return m_from; }
    void setBarColorFrom(const QColor &c);
    QColor barColorTo() const { return m_to; }
    void setBarColorTo(const QColor &c);
    bool smooth() const { return m_smooth; }
    void setSmooth(bool on);
    QColor color() const { return m_color; }
    void setColor(const QColor &c);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    Qt::Orientation m_orientation = Qt::Horizontal;
    QColor m_from = Qt::blue;
    QColor m_to = Qt::blue;
    bool m_smooth = true;
    QColor m_color = Qt::white;
};

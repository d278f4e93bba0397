#include "widgets/LevelBar.h"

#include <QPainter>
#include <cmath>

LevelBar::LevelBar(QWidget *parent) : QWidget(parent) {}

QSize LevelBar::sizeHint() const
{
    return m_orientation == Qt::Vertical ? QSize(10, 80) : QSize(80, 10);
}

int LevelBar::fillLength(int length, int minimum, int maximum, int position)
{
    if (maximum <= minimum || length <= 0)
        return 0;
    const long long span = static_cast<long long>(maximum) - minimum;
    const long long pos = qBound<long long>(0, static_cast<long long>(position) - minimum, span);
    const long long a = std::llround(static_cast<double>(length) * static_cast<double>(pos) / static_cast<double>(span));
    if (a <= 2)
        return 0;
    return static_cast<int>(qMax(0LL, qMin(a - 2, static_cast<long long>(length) - 7)));
}

int LevelBar::fillLength() const
{
    const int length = m_orientation == Qt::Vertical ? height() : width();
    return fillLength(length, m_min, m_max, m_position);
}

void LevelBar::setMinimum(int v)
{
    m_min = v;
    if (m_max < v)
        m_max = v;
    m_position = qBound(m_min, m_position, m_max);
    update();
}

void LevelBar::setMaximum(int v)
{
    m_max = v;
    if (m_min > v)
        m_min = v;
    m_position = qBound(m_min, m_position, m_max);
    update();
}

void LevelBar::setPosition(int v)
{
    m_position = qBound(m_min, v, m_max);
    update();
}

void LevelBar::setOrientation(Qt::Orientation o)
{
    m_orientation = o;
    updateGeometry();
    update();
}

void LevelBar::setBarColorFrom(const QColor &c)
{
    m_from = c;
    update();
}

void LevelBar::setBarColorTo(const QColor &c)
{
    m_to = c;
    update();
}

void LevelBar::setSmooth(bool on)
{
    m_smooth = on;
    update();
}

void LevelBar::setColor(const QColor &c)
{
    m_color = c;
    update();
}

namespace {
QColor blend(const QColor &a, const QColor &b, int i, int n)
{
    if (n <= 1 || a == b)
        return a;
    const auto mix = [&](int x, int y) { return x + (y - x) * i / (n - 1); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}
} // namespace

void LevelBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int w = width();
    const int h = height();
    p.fillRect(rect(), m_color);

    // Light 3-D frame: a grey line on the top and left, a lighter one on the
    // bottom and right, with a one-pixel white margin inside.
    const QColor dark(160, 160, 160);
    const QColor light(224, 224, 224);
    p.setPen(dark);
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(light);
    p.drawLine(1, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 1, w - 1, h - 1);

    const int len = fillLength();
    if (len <= 0)
        return;
    const bool vertical = m_orientation == Qt::Vertical;
    const int thickness = (vertical ? w : h) - 2 * FillStart;
    if (thickness <= 0)
        return;

    // Shade line by line across the thickness.
    for (int i = 0; i < thickness; ++i) {
        const QColor c = blend(m_from, m_to, i, thickness);
        const int across = FillStart + i;
        if (m_smooth) {
            if (vertical)
                p.fillRect(across, h - FillStart - len, 1, len, c);
            else
                p.fillRect(FillStart, across, len, 1, c);
        } else {
            // Blocks as long as the bar is thick, one pixel apart.
            const int block = qMax(2, thickness);
            for (int s = 0; s < len; s += block + 1) {
                const int n = qMin(block, len - s);
                if (vertical)
                    p.fillRect(across, h - FillStart - s - n, 1, n, c);
                else
                    p.fillRect(FillStart + s, across, n, 1, c);
            }
        }
    }
}

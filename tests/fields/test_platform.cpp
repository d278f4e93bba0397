// Drawing surface and window services.
#include "platform/Canvas.h"
#include "platform/platform.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QWidget>

namespace {

// A window that draws with a canvas it keeps, like the chart window: the
// first paint sets a wide red pen, later paints only draw.
class PaintedWindow : public QWidget {
public:
    platform::Canvas canvas;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        platform::Canvas::Scope scope(canvas, p);
        if (paints++ == 0) {
            canvas.setPenColor(Qt::red);
            canvas.setPenWidth(3);
        }
        canvas.line(0, 10, 40, 10);
    }
};

int countInColumn(const QImage &img, int x, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        n += img.pixel(x, y) == c;
    return n;
}

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(200, 200, 200));
    return img;
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void stateOutlivesAPaint();
    void polylineLeavesOutLastPoint();
    void rectangleExcludesRightAndBottom();
    void polygonFilledAndOutlined();
    void textOutOnBrushBox();
    void unboundCanvasIsHarmless();
    void captureOfAWindow();
    void drawingPlaysWhereTheLayoutPutsIt();
    void drawingKeepsToItsClientArea();
    void errorHandlerIsReplaceable();
    void outerSizeAndPause();
};

void TestPlatform::stateOutlivesAPaint()
{
    PaintedWindow w;
    w.resize(50, 30);
    const QImage first = w.grab().toImage();
    const QImage second = w.grab().toImage();
    QCOMPARE(w.paints, 2);
    QCOMPARE(countInColumn(first, 20, qRgb(255, 0, 0)), 3);
    QCOMPARE(countInColumn(second, 20, qRgb(255, 0, 0)), 3);   // pen kept
    QCOMPARE(w.canvas.penWidth(), 3);
    QCOMPARE(w.canvas.charset(), 1);
    w.canvas.setCharset(platform::Canvas::CyrillicCharset);
    w.grab();
    QCOMPARE(w.canvas.charset(), 204);
}

void TestPlatform::polylineLeavesOutLastPoint()
{
    QImage img = blank(200, 20);
    platform::Canvas c;
    c.setPenColor(Qt::black);
    {
        platform::Canvas::Scope s(c, &img);
        c.polyline({{0, 5}, {150, 5}});
        c.polyline({{0, 10}, {150, 10}, {150, 15}});
    }
    const QRgb black = qRgb(0, 0, 0);
    int n = 0;
    for (int x = 0; x < 200; ++x)
        n += img.pixel(x, 5) == black;
    QCOMPARE(n, 150);   // x = 0..149
    QCOMPARE(img.pixel(149, 5), black);
    QCOMPARE(img.pixel(150, 5), qRgb(200, 200, 200));
    // The corner pixel belongs to the next segment; the very end is left out.
    QCOMPARE(img.pixel(150, 10), black);
    QCOMPARE(img.pixel(150, 14), black);
    QCOMPARE(img.pixel(150, 15), qRgb(200, 200, 200));
}

void TestPlatform::rectangleExcludesRightAndBottom()
{
    QImage img = blank(12, 12);
    platform::Canvas c;
    c.setPenColor(Qt::black);
    c.setBrushColor(Qt::yellow);
    c.begin(&img);
    c.rectangle(2, 2, 8, 7);
    c.end();
    const QRgb black = qRgb(0, 0, 0), yellow = qRgb(255, 255, 0), bg = qRgb(200, 200, 200);
    QCOMPARE(img.pixel(2, 2), black);
    QCOMPARE(img.pixel(7, 6), black);   // right and bottom border at x2-1, y2-1
    QCOMPARE(img.pixel(8, 4), bg);
    QCOMPARE(img.pixel(4, 7), bg);
    QCOMPARE(img.pixel(3, 3), yellow);
    QCOMPARE(img.pixel(6, 5), yellow);
    QCOMPARE(img.pixel(1, 1), bg);
}

void TestPlatform::polygonFilledAndOutlined()
{
    QImage img = blank(20, 20);
    platform::Canvas c;
    c.setPenColor(Qt::blue);
    c.setBrushColor(Qt::green);
    {
        platform::Canvas::Scope s(c, &img);
        c.polygon({{2, 2}, {16, 2}, {16, 16}, {2, 16}});
    }
    QCOMPARE(img.pixel(2, 2), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(16, 16), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(9, 9), qRgb(0, 255, 0));
    QCOMPARE(img.pixel(18, 9), qRgb(200, 200, 200));
}

void TestPlatform::textOutOnBrushBox()
{
    QImage img = blank(120, 40);
    platform::Canvas c;
    c.setFontColor(Qt::red);
    int w = 0, h = 0;
    {
        platform::Canvas::Scope s(c, &img);
        w = c.textWidth(QStringLiteral("kW 99"));
        h = c.textHeight(QStringLiteral("kW 99"));
        c.textOut(10, 5, QStringLiteral("kW 99"));
    }
    QVERIFY(w > 10 && h > 8);
    // The box is white (default brush), exactly w by h at (10, 5).
    QCOMPARE(img.pixel(10 + w - 1, 5), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(10, 5 + h - 1), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(10 + w, 5), qRgb(200, 200, 200));
    QCOMPARE(img.pixel(10, 5 + h), qRgb(200, 200, 200));
    QCOMPARE(img.pixel(9, 5), qRgb(200, 200, 200));
    bool ink = false;
    for (int y = 5; y < 5 + h; ++y)
        for (int x = 10; x < 10 + w; ++x) {
            const QColor p = img.pixelColor(x, y);
            ink = ink || (p.red() > 128 && p.green() < 100);
        }
    QVERIFY(ink);
}

void TestPlatform::unboundCanvasIsHarmless()
{
    platform::Canvas c;
    QVERIFY(!c.isActive());
    c.polyline({{0, 0}, {5, 5}});
    c.polygon({});
    c.rectangle(0, 0, 5, 5);
    c.textOut(0, 0, QStringLiteral("x"));
    QVERIFY(c.textHeight(QStringLiteral("x")) > 0);
    QImage none;
    QVERIFY(!c.begin(&none));   // a null image cannot be painted on
    QVERIFY(!c.isActive());
}

void TestPlatform::captureOfAWindow()
{
    PaintedWindow w;
    w.resize(60, 25);
    w.setAutoFillBackground(true);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, QColor(206, 255, 255));
    w.setPalette(pal);
    QVERIFY(!w.isVisible());
    QImage shot = platform::captureClient(&w);
    QCOMPARE(shot.size(), QSize(60, 25));
    QCOMPARE(shot.pixel(50, 20), qRgb(206, 255, 255));
    QCOMPARE(shot.pixel(20, 10), qRgb(255, 0, 0));

    QImage fine = platform::captureClient(&w, 3);
    QCOMPARE(fine.size(), QSize(180, 75));
    QCOMPARE(fine.deviceIndependentSize(), QSizeF(60, 25));
}

// A recorded drawing played onto a device of another resolution (here a
// 300-dpi image) lands where the layout puts it, at the size it has there:
// one layout pixel is 1/96 inch on every device, whatever the resolution a
// picture scales itself by when it is played.
void TestPlatform::drawingPlaysWhereTheLayoutPutsIt()
{
    PaintedWindow w;
    w.resize(60, 25);
    w.setAutoFillBackground(true);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, QColor(206, 255, 255));
    w.setPalette(pal);
    const platform::Drawing d = platform::recordClient(&w, 3);
    QCOMPARE(d.size(), QSize(60, 25));
    QVERIFY(!d.isNull() && d.byteSize() > 0);

    // A copy plays what was recorded, whatever the window paints later.
    const platform::Drawing copy = d;
    pal.setColor(QPalette::Window, Qt::black);
    w.setPalette(pal);

    const struct {
        int dpi;
        QSize image;
    } devices[] = {{96, {60, 25}}, {300, {188, 78}}};
    for (const auto &dev : devices) {
        QImage img(dev.image, QImage::Format_RGB32);
        img.fill(Qt::white);
        img.setDotsPerMeterX(qRound(dev.dpi / 0.0254));
        img.setDotsPerMeterY(qRound(dev.dpi / 0.0254));
        {
            QPainter p(&img);
            p.scale(dev.dpi / 96.0, dev.dpi / 96.0); // layout pixels
            copy.paint(p);
        }
        const double k = dev.dpi / 96.0;
        auto at = [&](double x, double y) { return img.pixel(int(x * k), int(y * k)); };
        QCOMPARE(at(50, 20), qRgb(206, 255, 255));
        QCOMPARE(at(59.5, 24.5), qRgb(206, 255, 255));
        // The 3-pixel red line from (0, 10) to (40, 10): y 8.5 to 11.5.
        QCOMPARE(at(20, 10), qRgb(255, 0, 0));
        QCOMPARE(at(20, 9.2), qRgb(255, 0, 0));
        QCOMPARE(at(20, 10.8), qRgb(255, 0, 0));
        QCOMPARE(at(20, 7.9), qRgb(206, 255, 255));
        QCOMPARE(at(20, 12.1), qRgb(206, 255, 255));
        QCOMPARE(at(42.2, 10), qRgb(206, 255, 255)); // beyond the round end
    }

    // Stretched into a rectangle: twice as wide, half as high.
    QImage img(200, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        copy.paint(p, QRectF(10, 10, 120, 12.5));
    }
    QCOMPARE(img.pixel(15, 15), qRgb(255, 0, 0));  // the line at y 10 / 2 + 10
    QCOMPARE(img.pixel(85, 15), qRgb(255, 0, 0));  // x 40 * 2 + 10 reached
    QCOMPARE(img.pixel(95, 15), qRgb(206, 255, 255));
    QCOMPARE(img.pixel(129, 21), qRgb(206, 255, 255));
    QCOMPARE(img.pixel(131, 15), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(15, 23), qRgb(255, 255, 255));
}

// A child that clips its own painting, and one that reaches beyond the
// window's right edge.
class ClippingChild : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setClipRect(0, 0, width() / 2, height());
        p.fillRect(rect(), Qt::green);
    }
};

class WideChild : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Qt::blue); }
};

// A drawing shows nothing outside its client area, as an image of it
// cannot: when its drawing lifts a clip of its own on the way, and when a
// window's child reaches beyond the window after another child clipped.
void TestPlatform::drawingKeepsToItsClientArea()
{
    QWidget window;
    window.resize(40, 20);
    auto *clipping = new ClippingChild(&window);
    clipping->setGeometry(0, 0, 10, 10);
    auto *wide = new WideChild(&window);
    wide->setGeometry(20, 10, 60, 20);
    const platform::Drawing recorded = platform::recordClient(&window, 3);
    QImage shot(80, 60, QImage::Format_RGB32);
    shot.fill(Qt::white);
    {
        QPainter p(&shot);
        recorded.paint(p, QRectF(20, 20, 40, 20));
    }
    QCOMPARE(shot.pixel(22, 25), qRgb(0, 255, 0));
    QCOMPARE(shot.pixel(27, 25), shot.pixel(35, 25)); // the child's own clip: the window's colour
    QCOMPARE(shot.pixel(50, 35), qRgb(0, 0, 255));
    QCOMPARE(shot.pixel(59, 39), qRgb(0, 0, 255));
    QCOMPARE(shot.pixel(61, 35), qRgb(255, 255, 255));
    QCOMPARE(shot.pixel(50, 41), qRgb(255, 255, 255));

    const platform::Drawing d = platform::Drawing::record(QSize(40, 20), 3, [](QPainter &p) {
        platform::Canvas c;
        platform::Canvas::Scope scope(c, p);
        c.setPenColor(Qt::blue);
        c.setPenWidth(4);
        c.setClipRect(QRect(0, 0, 10, 10));
        c.line(0, 5, 100, 5);
        c.setClipRect(QRect());
        c.line(-20, 15, 100, 15);
        c.line(20, -20, 20, 100);
    });
    QImage img(80, 60, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        d.paint(p, QRectF(20, 20, 40, 20));
    }
    const QRgb blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    QCOMPARE(img.pixel(25, 25), blue);
    QCOMPARE(img.pixel(35, 25), white); // the first line's own clip
    QCOMPARE(img.pixel(21, 35), blue);
    QCOMPARE(img.pixel(59, 35), blue);
    QCOMPARE(img.pixel(40, 21), blue);
    QCOMPARE(img.pixel(40, 38), blue);
    for (const QPoint &outside : {QPoint(19, 35), QPoint(61, 35), QPoint(10, 35), QPoint(40, 19), QPoint(40, 41),
                                  QPoint(40, 50), QPoint(70, 35)})
        QVERIFY2(img.pixel(outside) == white, qPrintable(QStringLiteral("%1,%2").arg(outside.x()).arg(outside.y())));
}

void TestPlatform::errorHandlerIsReplaceable()
{
    QStringList seen;
    const platform::ErrorHandler before = platform::setErrorHandler([&](const QString &m) { seen << m; });
    platform::showError(QStringLiteral("Floating point overflow"));
    QCOMPARE(seen, QStringList{QStringLiteral("Floating point overflow")});
    const platform::ErrorHandler mine = platform::setErrorHandler(before);
    QVERIFY(bool(mine));
    QVERIFY(!platform::decimalSeparator().isEmpty());
}

void TestPlatform::outerSizeAndPause()
{
    QWidget w;
    platform::setOuterSize(&w, 360, 360);   // frame unknown: applied as it is
    QCOMPARE(platform::clientSize(&w), QSize(360, 360));
    QElapsedTimer t;
    t.start();
    platform::pause(60);
    QVERIFY(t.elapsed() >= 59);
}

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"

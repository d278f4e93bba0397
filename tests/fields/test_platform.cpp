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
    void captureAndReportImage();
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

void TestPlatform::captureAndReportImage()
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

    platform::ReportImage report;
    QVERIFY(report.isEmpty());
    report.setPicture(shot);
    shot.fill(Qt::black);   // the caller reuses its image
    QCOMPARE(report.picture().pixel(50, 20), qRgb(206, 255, 255));
    QVERIFY(report.picture().constBits() != shot.constBits());

    // A fresh capture handed over is kept without a copy; one that someone
    // else still holds is copied.
    QImage fresh = platform::captureClient(&w, 3);
    const uchar *pixels = fresh.constBits();
    report.setPicture(std::move(fresh));
    QCOMPARE(report.picture().constBits(), pixels);
    QCOMPARE(report.picture().deviceIndependentSize(), QSizeF(60, 25));
    QImage held = platform::captureClient(&w);
    QImage alsoHeld = held;
    report.setPicture(std::move(held));
    QVERIFY(report.picture().constBits() != alsoHeld.constBits());

    // The wait before a report's capture: the full time, then the same image.
    QElapsedTimer clock;
    clock.start();
    const QImage late = platform::pauseThenCapture(&w, 120, 3);
    QVERIFY(clock.elapsed() >= 120);
    QCOMPARE(late, platform::captureClient(&w, 3));
    QCOMPARE(late.devicePixelRatio(), 3.0);
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

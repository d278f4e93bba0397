// Level bar: fill rule checked on the bar's pixels.
#include "widgets/LevelBar.h"

#include <QImage>
#include <QTest>

class TestLevelBar : public QObject {
    Q_OBJECT
private slots:
    void fillOnPixels_data();
    void fillOnPixels();
    void fillRule_data();
    void fillRule();
    void shading();
};

namespace {
// Filled pixels along the middle line of the bar, and where the fill starts
// (counted from the bottom or the left end).
struct Run {
    int count = 0;
    int first = -1;
};
Run fillRun(const QImage &img, Qt::Orientation o, QRgb colour)
{
    Run r;
    const int len = o == Qt::Vertical ? img.height() : img.width();
    for (int i = 0; i < len; ++i) {
        const QRgb p = o == Qt::Vertical ? img.pixel(img.width() / 2, img.height() - 1 - i)
                                         : img.pixel(i, img.height() / 2);
        if (p == colour) {
            if (r.first < 0)
                r.first = i;
            ++r.count;
        }
    }
    return r;
}
} // namespace

void TestLevelBar::fillOnPixels_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("fill");
    for (const Qt::Orientation o : {Qt::Vertical, Qt::Horizontal}) {
        const char *name = o == Qt::Vertical ? "vertical" : "horizontal";
        QTest::addRow("%s 50", name) << o << 50 << 50 << 25;
        QTest::addRow("%s -3", name) << o << -3 << 0 << 0;
        QTest::addRow("%s 200", name) << o << 200 << 150 << 73;
        QTest::addRow("%s 150", name) << o << 150 << 150 << 73;
        QTest::addRow("%s 37", name) << o << 37 << 37 << 18;
    }
}

void TestLevelBar::fillOnPixels()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(int, position);
    QFETCH(int, stored);
    QFETCH(int, fill);
    LevelBar bar;
    bar.setOrientation(orientation);
    bar.resize(orientation == Qt::Vertical ? QSize(10, 80) : QSize(80, 10));
    bar.setMinimum(0);
    bar.setMaximum(150);
    bar.setBarColorFrom(Qt::red);
    bar.setBarColorTo(Qt::red);
    bar.setPosition(position);
    QCOMPARE(bar.position(), stored);
    const QImage img = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const Run run = fillRun(img, orientation, qRgb(255, 0, 0));
    QCOMPARE(run.count, fill);
    if (fill > 0)
        QCOMPARE(run.first, LevelBar::FillStart);
    // Unfilled inside is the bar's colour.
    const QPoint inside = orientation == Qt::Vertical ? QPoint(5, 3) : QPoint(76, 5);
    QCOMPARE(img.pixel(inside), qRgb(255, 255, 255));
}

void TestLevelBar::fillRule_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("fill");
    // min 0, max 150
    QTest::newRow("a = 2: nothing") << 80 << 4 << 0;     // a = round(2.13) = 2
    QTest::newRow("a = 3: one pixel") << 80 << 5 << 1;   // a = round(2.67) = 3
    QTest::newRow("half rounds up") << 15 << 75 << 6;     // a = round(7.5) = 8
    QTest::newRow("capped at L - 7") << 80 << 149 << 73;
    QTest::newRow("short bar") << 6 << 150 << 0;          // L - 7 < 0
}

void TestLevelBar::fillRule()
{
    QFETCH(int, length);
    QFETCH(int, position);
    QFETCH(int, fill);
    QCOMPARE(LevelBar::fillLength(length, 0, 150, position), fill);
}

void TestLevelBar::shading()
{
    LevelBar bar;
    bar.setOrientation(Qt::Vertical);
    bar.resize(10, 80);
    bar.setMaximum(150);
    bar.setPosition(150);
    bar.setBarColorFrom(QColor(255, 0, 0));
    bar.setBarColorTo(QColor(0, 0, 255));
    const QImage img = bar.grab().toImage();
    const int y = 40;
    QCOMPARE(img.pixel(LevelBar::FillStart, y), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(10 - 1 - LevelBar::FillStart, y), qRgb(0, 0, 255));
    const QColor mid = img.pixelColor(5, y);
    QVERIFY(mid.red() > 0 && mid.blue() > 0);
}

QTEST_MAIN(TestLevelBar)
#include "test_levelbar.moc"

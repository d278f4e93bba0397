// Pixel checks of the schematic and the button images: the main window lays
// its level bars, arrows and labels against these positions.
#include "assets/assets.h"
#include "assets/render.h"

#include <QFile>
#include <QPixmap>
#include <QPolygon>
#include <QTest>

namespace {

const QRgb kBackground = qRgb(152, 255, 253);

bool isBlack(QRgb p)
{
    return qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) < 40;
}

bool isRed(QRgb p)
{
    return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
}

bool isBlue(QRgb p)
{
    return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60;
}

QString rgb(QRgb p)
{
    return QString("(%1, %2, %3)").arg(qRed(p)).arg(qGreen(p)).arg(qBlue(p));
}

// Where the main window draws over the picture.
const QRect kBars[4] = {{150, 36, 10, 80}, {588, 36, 10, 80}, {147, 298, 10, 80}, {398, 405, 80, 10}};
const QPolygon kArrows[4] = {
    QPolygon({{34, 122}, {70, 106}, {60, 122}, {70, 138}}),
    QPolygon({{624, 122}, {660, 106}, {650, 122}, {660, 138}}),
    QPolygon({{65, 384}, {29, 368}, {39, 384}, {29, 400}}),
    QPolygon({{377, 433}, {393, 443}, {409, 433}, {393, 469}}),
};

} // namespace

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureFormat();
    void background_data();
    void background();
    void lines_data();
    void lines();
    void thermometersUnderBars_data();
    void thermometersUnderBars();
    void arrowAreasFree();
    void icons_data();
    void icons();
    void greyedVariant();
    void renderedAtBuildTimeAsHere();

private:
    QImage pic;
};

void TestAssets::initTestCase()
{
    pic = assets::schematic();
}

void TestAssets::pictureFormat()
{
    QCOMPARE(pic.size(), QSize(699, 485));
    QCOMPARE(assets::schematicSize, QSize(699, 485));
    QCOMPARE(pic.format(), QImage::Format_RGB32);
    QCOMPARE(assets::schematicBackground, kBackground);
    // Each call hands out its own picture: arrows painted into one stay there.
    QImage painted = assets::schematic();
    painted.fill(Qt::red);
    QCOMPARE(assets::schematic(), pic);
}

void TestAssets::background_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::newRow("top left corner") << QPoint(0, 0);
    QTest::newRow("bottom right corner") << QPoint(698, 484);
    QTest::newRow("left margin") << QPoint(20, 250);
    QTest::newRow("inside the jacket loop") << QPoint(230, 250);
    QTest::newRow("inside the coil loop") << QPoint(440, 300);
    QTest::newRow("right of the coil loop") << QPoint(620, 300);
    QTest::newRow("inside the shell, left of the coil") << QPoint(363, 260);
    QTest::newRow("under the heat-duty line") << QPoint(200, 478);
    QTest::newRow("instrument interior, no pipe through it") << QPoint(303, 244);
    QTest::newRow("pump interior, no pipe through it") << QPoint(106, 383);
    // Two-pixel lines on the grid: the rows and columns next to them are clean.
    QTest::newRow("above the upper pipe") << QPoint(100, 120);
    QTest::newRow("below the upper pipe") << QPoint(100, 123);
    QTest::newRow("above the lower pipe") << QPoint(250, 381);
    QTest::newRow("below the lower pipe") << QPoint(250, 384);
    QTest::newRow("left of the jacket cross line") << QPoint(301, 200);
    QTest::newRow("right of the jacket cross line") << QPoint(304, 200);
    QTest::newRow("left of the coil cross line") << QPoint(486, 320);
    QTest::newRow("right of the coil cross line") << QPoint(489, 320);
    QTest::newRow("beyond the left pipe ends") << QPoint(66, 122);
    QTest::newRow("beyond the right pipe end") << QPoint(620, 122);
    QTest::newRow("beyond the lower left pipe end") << QPoint(66, 383);
    QTest::newRow("below the coil outlet end") << QPoint(393, 437);
    QTest::newRow("beyond the branch end") << QPoint(490, 383);
}

void TestAssets::background()
{
    QFETCH(QPoint, at);
    QVERIFY2(pic.pixel(at) == kBackground, qPrintable(rgb(pic.pixel(at))));
}

void TestAssets::lines_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("exact"); // straight 2-px line on the grid: pure black
    // Straight pipes are two pixels wide: the coordinate and the one before it.
    for (int y : {121, 122}) {
        QTest::addRow("upper pipe x100 y%d", y) << QPoint(100, y) << true;
        QTest::addRow("upper pipe x600 y%d", y) << QPoint(600, y) << true;
        QTest::addRow("upper left pipe end y%d", y) << QPoint(68, y) << true;
        QTest::addRow("upper right pipe end y%d", y) << QPoint(617, y) << true;
    }
    for (int y : {382, 383}) {
        QTest::addRow("lower pipe x250 y%d", y) << QPoint(250, y) << true;
        QTest::addRow("lower pipe end y%d", y) << QPoint(68, y) << true;
        QTest::addRow("coil branch y%d", y) << QPoint(450, y) << true;
    }
    for (int x : {302, 303})
        QTest::addRow("jacket cross x%d", x) << QPoint(x, 200) << true;
    for (int x : {487, 488})
        QTest::addRow("coil cross x%d", x) << QPoint(x, 320) << true;
    QTest::newRow("jacket riser") << QPoint(370, 140) << true;
    QTest::newRow("coil riser") << QPoint(393, 140) << true;
    QTest::newRow("coil outlet") << QPoint(393, 425) << true;
    QTest::newRow("coil outlet end") << QPoint(393, 434) << true;
    QTest::newRow("lower jacket riser") << QPoint(370, 370) << true;
    // Exchanger outline.
    QTest::newRow("shell left") << QPoint(358, 250) << true;
    QTest::newRow("shell right") << QPoint(407, 250) << true;
    QTest::newRow("top cap") << QPoint(382, 161) << true;
    QTest::newRow("bottom cap") << QPoint(382, 345) << true;
    // Coil vertices.
    const QPoint coil[] = {{393, 188}, {371, 200}, {392, 213}, {371, 227}, {392, 239}, {371, 253},
                           {392, 266}, {371, 279}, {392, 292}, {371, 305}, {393, 318}};
    for (const QPoint &v : coil)
        QTest::addRow("coil vertex %d,%d", v.x(), v.y()) << v << false;
    // Pump and instrument circles, on their topmost point.
    QTest::newRow("pump") << QPoint(117, 368) << false;
    QTest::newRow("pump triangle") << QPoint(110, 383) << false;
    QTest::newRow("instrument lower pipe") << QPoint(209, 366) << false;
    QTest::newRow("instrument jacket cross") << QPoint(303, 237) << false;
    QTest::newRow("instrument upper coil pipe") << QPoint(528, 107) << false;
    QTest::newRow("instrument coil cross") << QPoint(488, 237) << false;
}

void TestAssets::lines()
{
    QFETCH(QPoint, at);
    QFETCH(bool, exact);
    if (exact) {
        QCOMPARE(rgb(pic.pixel(at)), rgb(qRgb(0, 0, 0)));
        return;
    }
    // Vertices and curves are antialiased: accept the darkest pixel of the
    // 2 x 2 block whose lower right corner is the point.
    QRgb darkest = 0xffffffff;
    for (int dy = -1; dy <= 0; ++dy)
        for (int dx = -1; dx <= 0; ++dx) {
            const QRgb p = pic.pixel(at + QPoint(dx, dy));
            if (qGray(p) < qGray(darkest))
                darkest = p;
        }
    QVERIFY2(isBlack(darkest), qPrintable(rgb(darkest)));
}

void TestAssets::thermometersUnderBars_data()
{
    QTest::addColumn<int>("bar");
    QTest::addColumn<bool>("red");
    QTest::newRow("bar 1, upper jacket pipe") << 0 << true;
    QTest::newRow("bar 2, upper coil pipe") << 1 << false;
    QTest::newRow("bar 3, lower jacket pipe") << 2 << false;
    QTest::newRow("bar 4, coil outlet") << 3 << true;
}

void TestAssets::thermometersUnderBars()
{
    QFETCH(int, bar);
    QFETCH(bool, red);
    const QRect r = kBars[bar];
    int filled = 0, otherFill = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = pic.pixel(x, y);
            filled += red ? isRed(p) : isBlue(p);
            otherFill += red ? isBlue(p) : isRed(p);
        }
    QVERIFY2(filled >= 40, qPrintable(QString::number(filled)));
    QCOMPARE(otherFill, 0);
    // The tube lies wholly under the bar. Around it there is only background,
    // except towards the pipe, where the stem runs (black, never tube colours).
    const bool vertical = r.height() > r.width();
    const QRect around = r.adjusted(-8, -8, 8, 8);
    for (int y = around.top(); y <= around.bottom(); ++y)
        for (int x = around.left(); x <= around.right(); ++x) {
            if (r.contains(x, y))
                continue;
            const QRgb p = pic.pixel(x, y);
            const bool pipeSide = vertical ? y > r.bottom() : x < r.left();
            const bool ok = pipeSide ? !isRed(p) && !isBlue(p) && qRed(p) <= qRed(kBackground)
                                     : p == kBackground;
            if (!ok)
                QFAIL(qPrintable(QString("tube shows at %1,%2: %3").arg(x).arg(y).arg(rgb(p))));
        }
}

void TestAssets::arrowAreasFree()
{
    // The flow arrows are painted into the picture at run time; their areas
    // hold nothing but background so that an arrow hides nothing.
    for (int i = 0; i < 4; ++i) {
        const QRect box = kArrows[i].boundingRect();
        int inside = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                if (!kArrows[i].containsPoint(QPoint(x, y), Qt::OddEvenFill))
                    continue;
                ++inside;
                if (pic.pixel(x, y) != kBackground)
                    QFAIL(qPrintable(QString("arrow %1 covers %2,%3").arg(i + 1).arg(x).arg(y)));
            }
        QVERIFY(inside > 200);
    }
}

void TestAssets::icons_data()
{
    QTest::addColumn<QIcon>("icon");
    QTest::addColumn<bool>("chart");
    QTest::newRow("chart") << assets::chartIcon() << true;
    QTest::newRow("printer") << assets::printerIcon() << false;
    QTest::newRow("new project") << assets::newIcon() << false;
    QTest::newRow("open project") << assets::openIcon() << false;
    QTest::newRow("save project") << assets::saveIcon() << false;
    QTest::newRow("save project as") << assets::saveAsIcon() << false;
    QTest::newRow("project details") << assets::detailsIcon() << false;
}

void TestAssets::icons()
{
    QFETCH(QIcon, icon);
    QFETCH(bool, chart);
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));

    const QImage normal = icon.pixmap(QSize(16, 16), 1.0, QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).toImage();
    QCOMPARE(normal.size(), QSize(16, 16));
    QCOMPARE(disabled.size(), QSize(16, 16));

    int opaque = 0, reds = 0, blues = 0, blacks = 0, colouredDisabled = 0, opaqueDisabled = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb p = normal.pixel(x, y);
            if (qAlpha(p) == 255) {
                ++opaque;
                reds += isRed(p);
                blues += isBlue(p);
                blacks += isBlack(p);
            }
            const QRgb d = disabled.pixel(x, y);
            if (qAlpha(d) > 0) {
                ++opaqueDisabled;
                colouredDisabled += qRed(d) != qGreen(d) || qGreen(d) != qBlue(d);
            }
        }
    QVERIFY(opaque > 30);
    QVERIFY(opaque < 256); // a picture on a transparent ground, not a filled square
    QVERIFY(blacks >= 10);
    if (chart) {
        QVERIFY2(reds >= 6, qPrintable(QString::number(reds)));
        QVERIFY2(blues >= 6, qPrintable(QString::number(blues)));
    }
    QVERIFY(opaqueDisabled > 20);
    QCOMPARE(colouredDisabled, 0);
    QVERIFY(disabled != normal);
}

void TestAssets::greyedVariant()
{
    QImage src(4, 4, QImage::Format_ARGB32);
    src.fill(0);
    src.setPixel(0, 0, qRgb(0, 0, 0));       // dark: grey, white shadow at (1, 1)
    src.setPixel(2, 0, qRgb(255, 0, 0));     // red counts as dark
    src.setPixel(0, 2, qRgb(255, 255, 255)); // light: disappears
    src.setPixel(3, 3, qRgb(0, 0, 255));     // shadow would fall outside
    const QImage g = assets::greyed(src).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(g.size(), src.size());
    QCOMPARE(g.pixel(0, 0), qRgb(128, 128, 128));
    QCOMPARE(g.pixel(1, 1), qRgb(255, 255, 255));
    QCOMPARE(g.pixel(2, 0), qRgb(128, 128, 128));
    QCOMPARE(g.pixel(3, 1), qRgb(255, 255, 255));
    QCOMPARE(qAlpha(g.pixel(0, 2)), 0);
    QCOMPARE(g.pixel(3, 3), qRgb(128, 128, 128));
    QCOMPARE(qAlpha(g.pixel(1, 0)), 0);
    // A grey pixel wins over a shadow falling on it.
    src.fill(0);
    src.setPixel(0, 0, qRgb(0, 0, 0));
    src.setPixel(1, 1, qRgb(0, 0, 0));
    QCOMPARE(assets::greyed(src).convertToFormat(QImage::Format_ARGB32).pixel(1, 1), qRgb(128, 128, 128));
}


// The pictures the program loads were rendered from the SVGs when it was
// built: pixel for pixel what rendering the SVGs now gives.
void TestAssets::renderedAtBuildTimeAsHere()
{
    QVERIFY(QFile::exists(":/prerendered/schematic.rgb32"));
    QCOMPARE(pic, assets::renderSchematic());
    const std::pair<QIcon, QString> icons[] = {{assets::chartIcon(), "chart"},   {assets::printerIcon(), "printer"},
                                               {assets::newIcon(), "new"},       {assets::openIcon(), "open"},
                                               {assets::saveIcon(), "save"},     {assets::saveAsIcon(), "saveas"},
                                               {assets::detailsIcon(), "details"}};
    for (const auto &[icon, name] : icons)
        for (int scale : {1, 2}) {
            const QImage shown = icon.pixmap(QSize(16, 16), qreal(scale), QIcon::Normal)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QImage rendered = assets::renderButton(name, scale);
            rendered.setDevicePixelRatio(scale);
            QCOMPARE(shown, rendered);
        }
}
QTEST_MAIN(TestAssets)
#include "test_assets.moc"

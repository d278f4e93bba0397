// Renders a numeric field, its open calculator, a field with the focus and
// level bars of both orientations into a PNG, to look at.
//   fields_demo [out.png]     (QT_QPA_PLATFORM=offscreen works)
#include "widgets/Calculator.h"
#include "widgets/LevelBar.h"
#include "widgets/NumEdit.h"
#include "platform/system.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QDir::temp().filePath(QStringLiteral("fields_demo.png"));
    QFontDatabase::addApplicationFont(QString::fromStdString(platform::windowFontDirectory()) +
                                      QStringLiteral("ms_sans_serif.ttf"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    app.setFont(font);

    QWidget w;
    w.resize(330, 230);
    w.setAutoFillBackground(true);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, QColor(206, 255, 255));
    w.setPalette(pal);

    const auto field = [&](int x, int y, const NumEdit::Settings &s, const QString &caption) {
        auto *label = new QLabel(caption, &w);
        label->move(x, y - 15);
        auto *e = new NumEdit(&w);
        e->setDecimalSeparator(QLatin1Char('.'));
        e->setThousandsSeparator(QLatin1Char(','));
        e->setSettings(s);
        e->setGeometry(x, y, 65, 19);
        return e;
    };
    NumEdit *tsb = field(10, 25, {20, -5, 150, QStringLiteral(",0.##"), 2, false, false, true, true}, QStringLiteral("tsbEd"));
    NumEdit *mvk = field(10, 70, {0.125, 0, 150, QStringLiteral("0.###"), 2, false, false, true, true}, QStringLiteral("MVkEd"));
    NumEdit *tkb = field(120, 130, {80, -5, 150, QStringLiteral("0.##"), 2, true, true, false, true}, QStringLiteral("tkbEd"));
    field(100, 25, {0, 0, 150, QStringLiteral(",0.###"), 2, false, false, true, true}, QStringLiteral("zero"));

    const auto bar = [&](int x, int y, int bw, int bh, Qt::Orientation o, QColor c, int pos) {
        auto *b = new LevelBar(&w);
        b->setGeometry(x, y, bw, bh);
        b->setOrientation(o);
        b->setMinimum(0);
        b->setMaximum(150);
        b->setBarColorFrom(c);
        b->setBarColorTo(c);
        b->setPosition(pos);
        return b;
    };
    bar(200, 20, 10, 80, Qt::Vertical, Qt::red, 50);
    bar(220, 20, 10, 80, Qt::Vertical, Qt::blue, 150);
    bar(240, 20, 10, 80, Qt::Vertical, Qt::blue, 3);
    LevelBar *shaded = bar(260, 20, 10, 80, Qt::Vertical, Qt::red, 110);
    shaded->setBarColorTo(Qt::blue);
    bar(200, 110, 80, 10, Qt::Horizontal, Qt::red, 50);
    bar(200, 125, 80, 10, Qt::Horizontal, Qt::blue, 120);

    w.show();
    QApplication::setActiveWindow(&w);
    if (!QTest::qWaitForWindowActive(&w)) {
        std::fprintf(stderr, "fields_demo: the window did not become active\n");
        return 1;
    }

    // tsbEd entered and edited; MVkEd left with its display format.
    tsb->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(tsb, QStringLiteral("37.5"));
    mvk->setFocus(Qt::TabFocusReason);
    // tkbEd with the calculator open in the middle of "80 + 0.125".
    tkb->setFocus(Qt::TabFocusReason);
    QTest::keyClick(tkb, Qt::Key_Down, Qt::AltModifier);
    CalculatorPopup *popup = tkb->calculator();
    QTest::keyClicks(popup, QStringLiteral("+0.125"));

    QImage shot = w.grab().toImage();
    QImage canvas(shot.width(), 280, QImage::Format_RGB32);
    canvas.fill(QColor(206, 255, 255));
    QPainter p(&canvas);
    p.drawImage(0, 0, shot);
    const QPoint at = w.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0)));
    p.drawPixmap(at, popup->grab());
    p.end();
    const QImage big = canvas.scaled(canvas.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return big.save(out) ? 0 : 1;
}

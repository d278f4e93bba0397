// Writes the picture assets as PNG files for looking at them:
//   schematic.png          the picture as the main window gets it
//   schematic_overlay.png  with the four flow arrows and the four level-bar
//                          rectangles painted where the main window puts them
//   schematic_x3.png       the overlay enlarged three times
//   icons_x8.png           the button images, normal and disabled, 8 times
#include "assets/assets.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);

    QImage pic = assets::schematic();
    pic.save(dir + "/schematic.png");

    QImage over = pic.copy();
    {
        QPainter p(&over);
        const QPolygon arrows[4] = {
            QPolygon({{34, 122}, {70, 106}, {60, 122}, {70, 138}, {34, 122}}),
            QPolygon({{624, 122}, {660, 106}, {650, 122}, {660, 138}, {624, 122}}),
            QPolygon({{65, 384}, {29, 368}, {39, 384}, {29, 400}, {65, 384}}),
            QPolygon({{377, 433}, {393, 443}, {409, 433}, {393, 469}, {377, 433}}),
        };
        const QColor colours[4] = {Qt::red, Qt::blue, Qt::red, Qt::red};
        for (int i = 0; i < 4; ++i) {
            p.setPen(colours[i]);
            p.setBrush(colours[i]);
            p.drawPolygon(arrows[i]);
        }
        const QRect bars[4] = {{150, 36, 10, 80}, {588, 36, 10, 80}, {147, 298, 10, 80}, {398, 405, 80, 10}};
        for (const QRect &r : bars) {
            p.fillRect(r, Qt::white);
            p.setPen(QColor(255, 0, 255));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    over.save(dir + "/schematic_overlay.png");
    over.scaled(over.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(dir + "/schematic_x3.png");

    const QIcon icons[2] = {assets::chartIcon(), assets::printerIcon()};
    QImage sheet(2 * 2 * 16 + 3, 16, QImage::Format_RGB32);
    sheet.fill(QColor(0xd4, 0xd0, 0xc8));
    {
        QPainter p(&sheet);
        int x = 0;
        for (const QIcon &icon : icons) {
            p.drawPixmap(x, 0, icon.pixmap(16, 16, QIcon::Normal));
            p.drawPixmap(x + 17, 0, icon.pixmap(16, 16, QIcon::Disabled));
            x += 35;
        }
    }
    sheet.scaled(sheet.size() * 8, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(dir + "/icons_x8.png");
    std::printf("written to %s\n", qPrintable(dir));
    return 0;
}

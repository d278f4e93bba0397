// The floor of bench/startup.sh: a bare Qt Widgets window with one label,
// started and measured the same way as the program.
#include "platform/firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char **argv)
{
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Total heat transfer=46.37 kW")));
    window.resize(701, 571);
    platform::reportFirstPaint(&window);
    window.show();
    return app.exec();
}

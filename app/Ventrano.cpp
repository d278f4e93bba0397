// Entry module: creates the four windows in order, connects them and runs
// the event loop until the main window is closed.
#include "widgets/fonts.h"
#include "platform/firstpaint.h"
#include "platform/system.h"
#include "app/windows.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Without a display the toolkit would abort with a long message; say in
    // one line what is missing and how to get a display.
    if (!platform::haveDisplay()) {
        std::fprintf(stderr, "Ventrano needs a graphical display (DISPLAY is not set); "
                             "without one, run it under Xvfb: xvfb-run -a %s\n", argv[0]);
        return 2;
    }
    // The layout is in pixels at 96 dpi, whatever the desktop says.
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Ventrano"));
    // The installed menu entry share/applications/ventrano.desktop.
    app.setDesktopFileName(QStringLiteral("ventrano"));
    fonts::load();

    // Closing the main window ends the program (Windows connects it), not
    // the last window closed.
    app.setQuitOnLastWindowClosed(false);
    Windows windows;

    platform::reportFirstPaint(&windows.mainF);
    windows.mainF.show();
    return app.exec();
}

#include "app/windows.h"

#include "platform/platform.h"
#include "platform/system.h"

#include <QCoreApplication>

Windows::Windows()
{
    platform::tuneAllocatorForWindows();

    attachChartWindow(mainF, grTerfKopF);
    // Report button: the full report's preview.
    QObject::connect(&mainF, &TmainF::reportRequested, &nyomALLF, [this] { nyomALLF.preview(); });
    // The chart window's "Print": the chart page.
    QObject::connect(&grTerfKopF, &TgrTerfKopF::printRequested, &nyomF,
                     [this](const platform::Drawing &chart) { nyomF.printChart(chart); });
    // The selection window: its button on the schematic, Ctrl+F and the
    // context menu open it; an arrangement it puts into the main window
    // shows at once in an open chart.
    QObject::connect(&mainF, &TmainF::selectionRequested, &selectionF, &SelectionWindow::open);
    mainF.addContextAction(selectionF.openAction());
    QObject::connect(&selectionF, &SelectionWindow::applied, &grTerfKopF, [this] {
        if (grTerfKopF.isVisible()) grTerfKopF.clientArea()->update();
    });
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(&mainF, &TmainF::closed, qApp, &QCoreApplication::quit);
}

#include "printing/windows.h"

#include "platform/platform.h"
#include "platform/system.h"

#include <QCoreApplication>

Windows::Windows()
{
    // A report's images (some 60 MB with the charts, 12 to 14 MB each) go
    // back to the system when its preview closes: allocations that large
    // get pages of their own. Without a fixed threshold the allocator raises
    // it after the first report and keeps the next reports' images on its
    // heap for good; a lower one would give every backing store and pixmap
    // fresh pages, and page faults, on each paint.
    platform::setLargeAllocationThreshold(8 << 20);

    mainF.setChartWindow(&grTerfKopF);

    // Chart buttons: show the chart window, then (after the recalculation)
    // draw the chart.
    QObject::connect(&mainF, &TmainF::chartWindowRequested, &grTerfKopF,
                     [this] { platform::showToFront(&grTerfKopF); });
    QObject::connect(&mainF, &TmainF::chartRequested, &grTerfKopF,
                     [this](int fajta) { grTerfKopF.drawChart(fajta); });
    // Report button: the full report's preview.
    QObject::connect(&mainF, &TmainF::reportRequested, &nyomALLF, [this] { nyomALLF.preview(); });
    // The chart window's "Print": the chart page.
    QObject::connect(&grTerfKopF, &TgrTerfKopF::printRequested, &nyomF,
                     [this](const QImage &chart) { nyomF.printChart(chart); });
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(&mainF, &TmainF::closed, qApp, &QCoreApplication::quit);
}

#include "app/windows.h"

#include "platform/platform.h"
#include "platform/system.h"
#include "projectwindows/casetexts.h"

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
    // The cases window: Ctrl+K and the context menu open it; its Compare
    // opens the comparison; the selection window's rows go into the project
    // through it.
    mainF.addContextAction(casesF.openAction());
    QObject::connect(&casesF, &projects::CasesWindow::compareRequested, &compareF,
                     [this](const std::vector<projects::CaseIds::Id> &cases) { compareF.compare(cases); });
    QObject::connect(&selectionF, &SelectionWindow::addToProjectRequested, &casesF,
                     [this](const SelectionWindow::NamedCases &cases) { selectionF.showAdded(casesF.addCases(cases)); });
    nyomALLF.setProjectSource([this] { return reportProject(); });
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(&mainF, &TmainF::closed, qApp, &QCoreApplication::quit);
}

printing::ReportProject Windows::reportProject() const
{
    const int nyelv = mainF.language();
    const project::Details &d = document.project().details;
    printing::ReportProject r;
    r.header.title = QString::fromStdString(d.name).trimmed();
    r.header.fields = projects::detailFields(d, nyelv);
    r.header.notesCaption = projects::notesCaption(nyelv);
    r.header.notes = QString::fromStdString(d.notes);
    if (compareF.printWithComparison())
        if (const std::optional<platform::Table> t = compareF.table()) {
            r.comparison.title = compareF.pageTitle();
            r.comparison.table = *t;
            r.comparison.legend = compareF.legend();
        }
    // The PDF: the project's name as its title, the author, and the
    // customer with the reference as its subject.
    r.pdf.title = r.header.title;
    r.pdf.author = QString::fromStdString(d.author).trimmed();
    QStringList subject;
    for (const std::string *s : {&d.customer, &d.reference})
        if (const QString t = QString::fromStdString(*s).trimmed(); !t.isEmpty()) subject << t;
    r.pdf.subject = subject.join(QStringLiteral(" \u2013 "));
    return r;
}

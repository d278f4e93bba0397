// The program's windows in the order they are created, and the
// connections between them. The program and the tests use the same wiring.
#pragma once

#include "charts/grTerfKop.h"
#include "mainwindow/ReachDialog.h"
#include "mainwindow/fouling.h"
#include "mainwindow/main.h"
#include "printing/nyom.h"
#include "printing/nyomALL.h"
#include "projectwindows/CaseIds.h"
#include "projectwindows/CasesWindow.h"
#include "projectwindows/CompareWindow.h"
#include "projectwindows/ProjectDocument.h"
#include "projectwindows/ProjectFiles.h"
#include "selectionwindow/SelectionWindow.h"

struct Windows {
    Windows();
    Windows(const Windows &) = delete;
    Windows &operator=(const Windows &) = delete;

    TmainF mainF;
    mainwindow::ReachDialog reachF{&mainF};     // "Reach a value…", hidden until opened
    mainwindow::FoulingDialog foulingF{&mainF}; // "Fouling resistance…", hidden until opened
    TgrTerfKopF grTerfKopF{&mainF}; // hidden until a chart button shows it
    TnyomF nyomF;                   // never shown itself
    TnyomALLF nyomALLF{&mainF, &grTerfKopF};
    SelectionWindow selectionF{&mainF}; // hidden until opened from the main window
    projects::ProjectDocument document{&mainF}; // the open project; the main window shows its current case
    projects::ProjectFiles files{&mainF, &document}; // the project as a file: open, save, recovery
    projects::CaseIds caseIds{&document};       // the cases as the project's windows keep to them
    projects::CasesWindow casesF{&caseIds};     // hidden until opened from the main window
    projects::CompareWindow compareF{&caseIds}; // hidden until cases are compared

    // What the full report prints of the project: the details above the
    // main window, the comparison when ticked, the PDF's title, author and
    // subject.
    printing::ReportProject reportProject() const;
};

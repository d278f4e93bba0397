// The program's windows in the order they are created, and the
// connections between them. The program and the tests use the same wiring.
#pragma once

#include "charts/grTerfKop.h"
#include "mainwindow/ReachDialog.h"
#include "mainwindow/fouling.h"
#include "mainwindow/main.h"
#include "printing/nyom.h"
#include "printing/nyomALL.h"
#include "projectwindows/ProjectDocument.h"
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
};

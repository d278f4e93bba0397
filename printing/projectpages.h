// What the full report prints of the project beyond the windows: a header
// block above the main window's image naming the project and its details,
// and a page with a table (the comparison of cases). The texts come
// ready-made from the windows; here they are laid out and drawn for paper,
// as text, in the face the captured windows use on paper.
#pragma once

#include "platform/pdfinfo.h"
#include "platform/platform.h"
#include "platform/table.h"

#include <QList>
#include <QPair>
#include <QString>

namespace printing {

struct ProjectHeader {
    QString title;                         // the project's name
    QList<QPair<QString, QString>> fields; // caption and value of each detail given, in order
    QString notesCaption, notes;           // notes: any number of lines
    bool isEmpty() const { return title.trimmed().isEmpty() && fields.isEmpty() && notes.trimmed().isEmpty(); }
};

struct TablePage {
    QString title;
    platform::Table table; // its first row heads the columns; marked cells bold on a tint
    QString legend;        // below the table
    bool isEmpty() const { return table.rows.isEmpty(); }
};

// The project's part of one production run of the report, taken when the
// run starts.
struct ReportProject {
    ProjectHeader header;         // empty: no header block
    TablePage comparison;         // empty: no comparison page
    platform::DocumentInfo pdf;   // a PDF's title, author and subject
};

// Longest notes the header block holds; more lines end in an ellipsis.
inline constexpr int maxNoteLines = 8;

// The header block, widthPx layout pixels wide and as high as it needs.
platform::Drawing headerDrawing(const ProjectHeader &header, int widthPx);
// The table page's drawing: the title, the table (its font made smaller
// until eight cases fit the width), the legend.
platform::Drawing tableDrawing(const TablePage &page, int widthPx);

} // namespace printing

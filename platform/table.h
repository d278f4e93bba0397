// A small table for the clipboard, given both ways at once: plain text with
// a tab between cells and a line per row (a spreadsheet takes it cell by
// cell) and an HTML table (a document keeps its rows and columns).
#pragma once

#include <QList>
#include <QString>

class QMimeData;

namespace platform {

struct TableCell {
    QString text;
    int span = 1;         // columns the cell takes
    bool heading = false; // a caption (th) rather than a value (td)
    bool number = false;  // right-aligned in the HTML table
    // Singled out (a value that differs from its neighbour's, say): bold on
    // a tint in the HTML table and on paper; the plain text cannot show it.
    bool marked = false;
};

// The tint behind a marked cell, as #rrggbb.
inline constexpr const char *markedTint = "#ffe6a0";

struct Table {
    QList<QList<TableCell>> rows;
};

// Rows joined by '\n', cells by '\t'. A cell spanning n columns is followed
// by n - 1 empty ones so that the next cell lands in its column; empty cells
// at the end of a row are left out. Tabs and line breaks inside a cell
// become blanks.
QString tableText(const Table &table);

// A complete UTF-8 HTML document holding the table; texts are escaped.
QString tableHtml(const Table &table);

// Clipboard data holding the table as text and as HTML (the caller may add
// more, an image say, before handing it to the clipboard, which owns it).
QMimeData *tableMimeData(const Table &table);
// Puts the table on the system clipboard.
void copyTable(const Table &table);

} // namespace platform

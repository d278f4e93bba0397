// Reads PDFs back with the poppler tools: page count and size, the text,
// the fonts and the embedded images, and pages rendered to pixels.
#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QSizeF>
#include <QString>

namespace pdftools {

// Where the tests leave their PDFs and rendered pages (beside the test).
QString outputDir();

struct Info {
    int pages = 0;
    QSizeF size; // of the first page, in points
    QString paper; // "A4" when pdfinfo recognises it
    QString title, author, subject; // the document information, as UTF-8
};
Info info(const QString &pdf);

// The text of one page (from 1), or of every page, as pdftotext reads it;
// with layout, line by line as the page lays it out (a table row a line).
QString text(const QString &pdf, int page = 0, bool layout = false);

struct Font {
    QString name; // without the subset prefix
    QString type;
    bool embedded = false;
};
QList<Font> fonts(const QString &pdf);

struct Image {
    int page = 0, width = 0, height = 0;
    double xppi = 0, yppi = 0;
};
QList<Image> images(const QString &pdf);

// One page (from 1) rendered at the given resolution; with an area (in
// pixels of that resolution), only that part of it.
QImage page(const QString &pdf, int number, int dpi, const QRect &area = QRect());
// Every page as PNG beside the PDF (name-1.png, ...), for looking at them.
void pagesToPng(const QString &pdf, int dpi);

// Millimetres on the paper to pixels of a page rendered at dpi.
inline int px(double mm, int dpi) { return int(mm * dpi / 25.4); }

} // namespace pdftools

// The pictures the main window is built on: the schematic of the installation
// and the images of the picture buttons. Resources are initialised on first
// use; callers need no Q_INIT_RESOURCE.
#pragma once

#include <QColor>
#include <QPainter>
#include <QIcon>
#include <QImage>
#include <QSize>

namespace assets {

// Size and background colour of the schematic.
inline constexpr QSize schematicSize{699, 485};
inline constexpr QRgb schematicBackground = 0xff98fffd; // (152, 255, 253)

// The schematic, 699 x 485, Format_RGB32, without arrows. Rendered once;
// every call returns a copy that the caller may paint on.
QImage schematic();
// The same drawn afresh at `scale` device pixels per layout pixel: an image
// of that device pixel ratio, sharp on a high-density screen or on paper.
QImage schematic(qreal scale);
// Draws the schematic, background included, at the painter's origin in
// layout pixels, at whatever resolution the painter has.
void drawSchematic(QPainter &painter);

// Button images, 16 x 16 (with 32 x 32 for high-density screens). The
// Disabled mode holds the greyed variant. Needs a QGuiApplication (pixmaps).
QIcon chartIcon();
QIcon printerIcon();
// The selection window's button: a magnifier over a list.
QIcon selectionIcon();
// The project's buttons: a new sheet, a folder, a diskette, the diskette
// with a pencil, a written sheet with an "i".
QIcon newIcon();
QIcon openIcon();
QIcon saveIcon();
QIcon saveAsIcon();
QIcon detailsIcon();

// The greyed look of a disabled button image: every dark pixel becomes a grey
// pixel with a white one below right of it; light and transparent pixels
// become transparent. `offset` is the shadow offset in pixels.
QImage greyed(const QImage &image, int offset = 1);

} // namespace assets

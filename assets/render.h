// Rendering of the SVG pictures, shared by the library and the build step
// that renders them ahead (assets/prerender.cpp).
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace assets {

// The schematic, schematicSize, Format_RGB32 on its background colour, at
// `scale` device pixels per layout pixel (an image of that ratio).
QImage renderSchematic(qreal scale = 1);

// The names of the button images: "chart", "printer", "selection" and the
// project's "new", "open", "save", "saveas", "details".
QStringList buttonNames();

// A button image (one of buttonNames()) at 16 x 16 times scale, transparent
// background, Format_ARGB32_Premultiplied.
QImage renderButton(const QString &name, int scale);

// The resource name of a rendered button image ("chart_2x.argb32").
QString buttonImageName(const QString &name, int scale);

} // namespace assets

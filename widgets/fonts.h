// Fonts of the windows. The layout is in pixels at 96 dots per inch with
// "MS Sans Serif" and "Tahoma"; the program loads metric-compatible faces
// itself and falls back to a face of the same pixel heights without them.
#pragma once

#include <QFont>
#include <QList>
#include <QPointer>
#include <QString>

class QWidget;

namespace fonts {

// Loads the faces once; true when "MS Sans Serif" is available.
bool load();

// Pixel height of a font size in points at 96 dpi, rounded as the layout
// was made (8 pt -> 11 px, 10 pt -> 13 px, 7 pt -> 9 px).
int pointsToPixels(int points);

// "MS Sans Serif" (or its stand-in) at the given size.
QFont sansSerif(int points, bool bold = false);
// "Tahoma" (or its stand-in) at the given size.
QFont tahoma(int points, bool bold = false);

// Font size in points and character set as widget attributes. The texts are
// Unicode, so the character set changes no glyph; it is kept so that the
// windows report the set a language asked for.
int pointSize(const QWidget *w);
void setPointSize(QWidget *w, int points);
int charset(const QWidget *w);
void setCharset(QWidget *w, int charset);

// The loaded "MS Sans Serif" is a bitmap face: it has glyphs for 13, 16
// and 20 pixels only and cannot be drawn at two or three device pixels per
// layout pixel. On a high-density screen the program uses its scalable
// stand-in from the start; for an image made for paper, this scope lends
// the stand-in (same pixel height, nearly the same widths) to every widget
// under root that draws with the bitmap face or with "Tahoma" (whose hinted
// widths and bold do not hold at that size), antialiased and without
// ligatures, and gives the fonts back when it ends.
bool isBitmapFace(const QFont &f);
class ScalableFaces {
public:
    explicit ScalableFaces(QWidget *root);
    ~ScalableFaces();
    ScalableFaces(const ScalableFaces &) = delete;
    ScalableFaces &operator=(const ScalableFaces &) = delete;

private:
    struct Saved {
        QPointer<QWidget> widget;
        QFont font;
    };
    QList<Saved> saved_;
};

} // namespace fonts

// Thin layer over Qt that every window uses: window operations, capture,
// recorded drawings for paper, pause, the error box, the beep and the user's
// regional decimal separator.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;
class QRectF;
class QWidget;

namespace platform {

// ---- windows --------------------------------------------------------------

// The client area is the widget itself (for a QMainWindow, pass the window;
// its size is what the caller laid out).
QSize clientSize(const QWidget *w);
int clientWidth(const QWidget *w);
int clientHeight(const QWidget *w);

// Sets the outer size of a top-level window. When the window manager has
// told us the frame (frameGeometry differs from geometry) the client area
// becomes the outer size less the frame; otherwise the frame is unknown and
// the size is applied to the client area as it is.
void setOuterSize(QWidget *w, int outerWidth, int outerHeight);

// Redraws the widget and its children at once; returns when done.
void repaintNow(QWidget *w);

// Shows the window (not modal) and brings it to the front.
void showToFront(QWidget *w);

// Closes the window by hiding it; it can be shown again.
void closeWindow(QWidget *w);

// ---- images ---------------------------------------------------------------

// A new image of client width by client height pixels, filled with the
// widget's background colour, into which the widget and its children paint
// themselves. Works for hidden and covered widgets. The caller owns it.
//
// With a scale above 1 the image has scale times as many pixels each way
// and that device pixel ratio: its logical size (deviceIndependentSize) is
// still the client size and every logical coordinate is where it was, but
// text and lines are drawn at the finer resolution (3 gives 288 dpi paper).
QImage captureClient(QWidget *w, qreal scale = 1);

// What a window paints, recorded: its paint commands (lines, fills, text as
// text with its font, the schematic's paths) to be played onto any painter
// at any resolution, a printer's or a PDF's included. It is a value: copies
// share the recording, which never changes once made.
class Drawing {
public:
    Drawing() = default;

    // Records what paint draws on a painter in layout pixels that stands
    // for a device of scale device pixels per layout pixel (so text and
    // lines are drawn for that resolution), clipped to size.
    static Drawing record(QSize size, qreal scale, const std::function<void(QPainter &)> &paint);

    bool isNull() const { return size_.isEmpty(); }
    // The size it was recorded at, in layout pixels.
    QSize size() const { return size_; }
    // The bytes of the recording.
    qint64 byteSize() const { return picture_.size(); }

    // Plays it with its top-left corner at the painter's origin, one layout
    // pixel per painter unit.
    void paint(QPainter &painter) const;
    // Plays it scaled to fill the rectangle exactly, each way on its own,
    // and nothing of it outside the rectangle. A clip the painter had
    // before holds until the drawing lifts a clip of its own (a recorded
    // picture cannot give back the clip it is played in); from then on the
    // drawing keeps to its own rectangle. For less of it, play clipped().
    void paint(QPainter &painter, const QRectF &target) const;

    // The same drawing, showing nothing outside the area (layout pixels).
    Drawing clipped(const QRectF &area) const;

private:
    friend Drawing recordClient(QWidget *w, qreal scale);
    static Drawing make(QSize size, qreal scale, const QRectF &area, const std::function<void(QPainter &)> &paint);
    QPicture picture_;
    QSize size_;
    qreal scale_ = 1;
};

// Records what captureClient would paint into an image of that scale: the
// widget's background and the widget and its children painting themselves,
// as they do for a device of scale device pixels per layout pixel (so text
// and lines are drawn for the finer resolution, and the schematic from its
// drawing). Works for hidden and covered widgets. Nothing of it shows
// outside the client area, as in an image of it.
Drawing recordClient(QWidget *w, qreal scale = 3);

// ---- files ----------------------------------------------------------------

// Writes data as the file of that name, completely or not at all: the bytes
// go to a new file beside it, which takes the name only once all of them
// are on the disk; after a failure whatever had the name is as it was and
// no new file is left. Only a regular file is replaced, keeping its
// permissions; a name that is a folder, a named pipe, a device or a socket
// is refused and left as it is. A symbolic link (or a chain of them) stays:
// the file it leads to is written, and made where a link points to nothing
// yet. Returns an empty text, or what went wrong.
QString writeWholeFile(const QString &fileName, const QByteArray &data);

// ---- misc services ----------------------------------------------------------

// Blocks the calling (GUI) thread for the given time; no events are handled.
void pause(int ms);

// Shows an error message box (stop symbol, OK button). All error boxes go
// through one handler, so tests can intercept them.
using ErrorHandler = std::function<void(const QString &)>;
void showError(const QString &message);
// Installs a handler and returns the previous one; an empty function puts
// the message box back.
ErrorHandler setErrorHandler(ErrorHandler handler);

// The warning beep of a refused key; replaceable like the error box.
using BeepHandler = std::function<void()>;
void beep();
BeepHandler setBeepHandler(BeepHandler handler);

// The user's regional decimal separator and thousands separator.
QString decimalSeparator();
QString thousandsSeparator();

} // namespace platform

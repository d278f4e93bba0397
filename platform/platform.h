// Thin layer over Qt that every window uses: window operations, capture,
// the report image holder, pause, the error box, the beep and the user's
// regional decimal separator.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

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

// Waits ms milliseconds (as pause does), then captures as captureClient
// does. The window is drawn after the wait; only the image's memory is made
// ready during it.
QImage pauseThenCapture(QWidget *w, int ms, qreal scale = 1);

// Holder of a report picture: it keeps its own deep copy of what it is given,
// so the source can be changed or dropped right after.
class ReportImage {
public:
    void setPicture(const QImage &image);
    // A picture that nothing else holds (a fresh capture) is kept as it is,
    // without copying its pixels.
    void setPicture(QImage &&image);
    const QImage &picture() const { return m_picture; }
    bool isEmpty() const { return m_picture.isNull(); }
    void clear() { m_picture = QImage(); }

private:
    QImage m_picture;
};

// ---- files ----------------------------------------------------------------

// Writes data as the file of that name, completely or not at all: the bytes
// go to a new file beside it, which takes the name only once all of them
// are on the disk; after a failure whatever had the name is as it was and
// no new file is left. Returns an empty text, or what went wrong.
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

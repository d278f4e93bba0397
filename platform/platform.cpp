// Thin layer over Qt: window operations, capture, recorded drawings, pause,
// error box, beep and regional separators.
#include "platform/platform.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QThread>
#include <QWidget>

namespace platform {

QSize clientSize(const QWidget *w) { return w->size(); }
int clientWidth(const QWidget *w) { return w->width(); }
int clientHeight(const QWidget *w) { return w->height(); }

void setOuterSize(QWidget *w, int outerWidth, int outerHeight)
{
    const QRect frame = w->frameGeometry();
    const QRect client = w->geometry();
    const int dw = frame.width() - client.width();
    const int dh = frame.height() - client.height();
    if (w->isWindow() && w->isVisible() && (dw > 0 || dh > 0))
        w->resize(qMax(0, outerWidth - dw), qMax(0, outerHeight - dh));
    else
        w->resize(outerWidth, outerHeight);
}

void repaintNow(QWidget *w) { w->repaint(); }

void showToFront(QWidget *w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

void closeWindow(QWidget *w) { w->hide(); }

namespace {

// The image a fine capture is drawn into: scale times the client size in
// pixels at that device pixel ratio, filled with the window's colour.
QImage blankCapture(const QWidget *w, qreal scale)
{
    QImage image(w->size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(w->palette().color(w->backgroundRole()));
    return image;
}

// render() paints the widget and its children straight into the image at
// its device pixel ratio, so nothing is scaled up from screen pixels.
void renderInto(QWidget *w, QImage &image)
{
    w->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
}

} // namespace

QImage captureClient(QWidget *w, qreal scale)
{
    if (!(scale >= 1)) scale = 1;
    if (scale == 1) {
        // grab() renders hidden and covered widgets alike. Compose onto an
        // image of exactly the client size so a high-density screen or a
        // translucent widget still gives client width by client height
        // opaque pixels.
        const QPixmap shot = w->grab();
        QImage image(w->size(), QImage::Format_RGB32);
        image.fill(w->palette().color(w->backgroundRole()));
        QPainter p(&image);
        p.drawPixmap(QRect(QPoint(0, 0), w->size()), shot);
        return image;
    }
    QImage image = blankCapture(w, scale);
    renderInto(w, image);
    return image;
}

Drawing Drawing::make(QSize size, qreal scale, bool clip, const std::function<void(QPainter &)> &paint)
{
    if (!(scale >= 1)) scale = 1;
    Drawing d;
    d.size_ = size;
    d.scale_ = scale;
    QPainter painter(&d.picture_);
    painter.scale(scale, scale);
    if (clip) painter.setClipRect(QRect(QPoint(0, 0), size), Qt::IntersectClip);
    paint(painter);
    painter.end();
    return d;
}

Drawing Drawing::record(QSize size, qreal scale, const std::function<void(QPainter &)> &paint)
{
    return make(size, scale, true, paint);
}

Drawing recordClient(QWidget *w, qreal scale)
{
    return Drawing::make(w->size(), scale, false, [w](QPainter &painter) {
        painter.fillRect(QRect(QPoint(0, 0), w->size()), w->palette().color(w->backgroundRole()));
        w->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    });
}

void Drawing::paint(QPainter &painter) const { paint(painter, QRectF(QPointF(0, 0), QSizeF(size_))); }

void Drawing::paint(QPainter &painter, const QRectF &target) const
{
    if (isNull() || !painter.isActive()) return;
    const QPaintDevice *device = painter.device();
    painter.save();
    // Nothing outside the client area, as in an image of it.
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(target.width() / size_.width(), target.height() / size_.height());
    // Playing a picture scales it by the device's resolution over the one
    // it was recorded at (the screen's), for a painter in device pixels;
    // this painter is in layout pixels already. The recording is in device
    // pixels of its scale.
    painter.scale(qreal(picture_.logicalDpiX()) / (scale_ * device->logicalDpiX()),
                  qreal(picture_.logicalDpiY()) / (scale_ * device->logicalDpiY()));
    painter.drawPicture(0, 0, picture_);
    painter.restore();
}

void pause(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

namespace {

void defaultError(const QString &message)
{
    QString title = QApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QStringLiteral("Ventrano");
    QMessageBox::critical(QApplication::activeWindow(), title, message, QMessageBox::Ok);
}

void defaultBeep() { QApplication::beep(); }

ErrorHandler &errorHandler()
{
    static ErrorHandler handler = defaultError;
    return handler;
}

BeepHandler &beepHandler()
{
    static BeepHandler handler = defaultBeep;
    return handler;
}

} // namespace

void showError(const QString &message)
{
    // Call a copy: the handler may replace itself while it runs.
    const ErrorHandler handler = errorHandler();
    handler(message);
}

ErrorHandler setErrorHandler(ErrorHandler handler)
{
    ErrorHandler previous = errorHandler();
    errorHandler() = handler ? std::move(handler) : ErrorHandler(defaultError);
    return previous;
}

void beep()
{
    const BeepHandler handler = beepHandler();
    handler();
}

BeepHandler setBeepHandler(BeepHandler handler)
{
    BeepHandler previous = beepHandler();
    beepHandler() = handler ? std::move(handler) : BeepHandler(defaultBeep);
    return previous;
}

QString decimalSeparator() { return QLocale::system().decimalPoint(); }
QString thousandsSeparator() { return QLocale::system().groupSeparator(); }

} // namespace platform

// Thin layer over Qt: window operations, capture, recorded drawings, pause,
// error box, beep and regional separators.
#include "platform/platform.h"
#include "platform/system.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSaveFile>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstring>


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

namespace {

// The paint engine a drawing is recorded through: it hands every command on
// to a painter on the picture and keeps the recording within its client
// area. A picture records "no clip" where a painter goes back to a state
// without one (after a child widget's paint that clipped, or a restore);
// played on a page that lifts the page's clip as well, and a caption wider
// than its window would run beyond the window's edge, where an image of the
// window ends. Here every clip is laid over the area, and "no clip" is the
// area itself.
class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine(QPainter &out, const QRectF &area, qreal scale)
        : QPaintEngine(AllFeatures), out_(out), area_(area), scale_(scale)
    {
    }

    bool begin(QPaintDevice *) override
    {
        clipToArea();
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::Picture; }

    void updateState(const QPaintEngineState &s) override
    {
        const DirtyFlags f = s.state();
        if (f & DirtyTransform) out_.setWorldTransform(s.transform());
        if (f & DirtyPen) out_.setPen(s.pen());
        if (f & DirtyBrush) out_.setBrush(s.brush());
        if (f & DirtyBrushOrigin) out_.setBrushOrigin(s.brushOrigin());
        if (f & DirtyFont) out_.setFont(s.font());
        if (f & DirtyHints) out_.setRenderHints(s.renderHints());
        if (f & DirtyCompositionMode) out_.setCompositionMode(s.compositionMode());
        if (f & DirtyOpacity) out_.setOpacity(s.opacity());
        // Background mode and colour stay with the painter, which fills the
        // box behind opaque text itself; handed on, the box would be filled
        // twice.
        if (f & (DirtyClipRegion | DirtyClipPath)) {
            const Qt::ClipOperation op = s.clipOperation();
            // A clip laid over no clip is the only one.
            if (op != Qt::IntersectClip || !clipping_) clips_.clear();
            if (op != Qt::NoClip) {
                Clip c;
                c.path = f & DirtyClipPath;
                c.clipPath = s.clipPath();
                c.clipRegion = s.clipRegion();
                c.transform = s.transform();
                clips_.append(c);
            }
            clipping_ = op != Qt::NoClip;
            applyClips();
        } else if (f & DirtyClipEnabled) {
            clipping_ = s.isClipEnabled();
            applyClips();
        }
    }

    void drawPath(const QPainterPath &path) override { out_.drawPath(path); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        switch (mode) {
        case PolylineMode: out_.drawPolyline(points, count); break;
        case ConvexMode: out_.drawConvexPolygon(points, count); break;
        case WindingMode: out_.drawPolygon(points, count, Qt::WindingFill); break;
        case OddEvenMode: out_.drawPolygon(points, count, Qt::OddEvenFill); break;
        }
    }
    void drawRects(const QRectF *rects, int count) override { out_.drawRects(rects, count); }
    void drawLines(const QLineF *lines, int count) override { out_.drawLines(lines, count); }
    void drawEllipse(const QRectF &r) override { out_.drawEllipse(r); }
    void drawPoints(const QPointF *points, int count) override { out_.drawPoints(points, count); }
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override { out_.drawPixmap(r, pm, sr); }
    void drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags flags) override
    {
        out_.drawImage(r, image, sr, flags);
    }
    void drawTiledPixmap(const QRectF &r, const QPixmap &pm, const QPointF &s) override
    {
        out_.drawTiledPixmap(r, pm, s);
    }
    void drawTextItem(const QPointF &p, const QTextItem &ti) override { out_.drawTextItem(p, ti); }

private:
    struct Clip {
        bool path = false;
        QPainterPath clipPath;
        QRegion clipRegion;
        QTransform transform; // the one the clip was given in
    };

    // The area, then the clips asked for (while clipping is on) over it,
    // each in the transform it was given in.
    void applyClips()
    {
        const QTransform current = out_.worldTransform();
        clipToArea();
        if (clipping_)
            for (const Clip &c : std::as_const(clips_)) {
                out_.setWorldTransform(c.transform);
                if (c.path) out_.setClipPath(c.clipPath, Qt::IntersectClip);
                else out_.setClipRegion(c.clipRegion, Qt::IntersectClip);
            }
        out_.setWorldTransform(current);
    }
    void clipToArea()
    {
        const QTransform current = out_.worldTransform();
        out_.setWorldTransform(QTransform::fromScale(scale_, scale_));
        out_.setClipRect(area_, Qt::ReplaceClip);
        out_.setWorldTransform(current);
    }

    QPainter &out_;
    QRectF area_;
    qreal scale_;
    QList<Clip> clips_;
    bool clipping_ = false;
};

// The device the windows paint on while they are recorded: it reports the
// screen's resolution, as a picture does, and paints through the engine.
class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(QPainter &out, QSize size, const QRectF &area, qreal scale)
        : engine_(out, area, scale), size_(size * scale)
    {
    }
    ~RecordingDevice() override = default;
    QPaintEngine *paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        static const QPicture screen;
        switch (m) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return qRound(size_.width() * 25.4 / screen.logicalDpiX());
        case PdmHeightMM: return qRound(size_.height() * 25.4 / screen.logicalDpiY());
        case PdmDpiX: case PdmPhysicalDpiX: return screen.logicalDpiX();
        case PdmDpiY: case PdmPhysicalDpiY: return screen.logicalDpiY();
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        case PdmDepth: return screen.depth();
        case PdmNumColors: return screen.colorCount();
        default: return 0;
        }
    }

private:
    mutable RecordingEngine engine_;
    QSize size_;
};

} // namespace

Drawing Drawing::make(QSize size, qreal scale, const QRectF &area,
                      const std::function<void(QPainter &)> &paint)
{
    if (!(scale >= 1)) scale = 1;
    Drawing d;
    d.size_ = size;
    d.scale_ = scale;
    QPainter out(&d.picture_);
    {
        RecordingDevice device(out, size, area, scale);
        QPainter painter(&device);
        painter.scale(scale, scale);
        paint(painter);
    }
    out.end();
    return d;
}

Drawing Drawing::record(QSize size, qreal scale, const std::function<void(QPainter &)> &paint)
{
    return make(size, scale, QRectF(QPointF(0, 0), QSizeF(size)), paint);
}

Drawing Drawing::clipped(const QRectF &area) const
{
    if (isNull() || area.contains(QRectF(QPointF(0, 0), QSizeF(size_)))) return *this;
    return make(size_, scale_, area, [this](QPainter &painter) { paint(painter); });
}

Drawing recordClient(QWidget *w, qreal scale)
{
    return Drawing::make(w->size(), scale, QRectF(QPointF(0, 0), QSizeF(w->size())), [w](QPainter &painter) {
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

namespace {

// The kind of a file that is not a regular one, for a message.
QString kindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Folder: return QStringLiteral("a folder");
    case FileKind::NamedPipe: return QStringLiteral("a named pipe");
    case FileKind::CharacterDevice: return QStringLiteral("a character device");
    case FileKind::BlockDevice: return QStringLiteral("a block device");
    case FileKind::Socket: return QStringLiteral("a socket");
    default: return {};
    }
}

// Why a name whose file is not a regular one is not written: named with
// what it is, and for a link with the file it leads to.
QString notARegularFile(const QString &fileName, const FileTarget &target)
{
    const QString name = QDir::toNativeSeparators(fileName);
    const QString kind = kindName(target.kind);
    if (!target.throughLink)
        return kind.isEmpty() ? QStringLiteral("%1 is not a regular file").arg(name)
                              : QStringLiteral("%1 is %2, not a regular file").arg(name, kind);
    const QString end = QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(target.path)));
    return kind.isEmpty() ? QStringLiteral("%1 leads to %2, which is not a regular file").arg(name, end)
                          : QStringLiteral("%1 leads to %2, %3, not a regular file").arg(name, end, kind);
}

} // namespace

QString writeWholeFile(const QString &fileName, const QByteArray &data)
{
    // The new file takes the name by a rename, which would put a regular
    // file in place of a named pipe, a device or a socket, and in place of
    // a link: only a regular file is replaced, and through a link the file
    // it leads to, the link staying as it is.
    const FileTarget target = followLinks(QFile::encodeName(fileName).toStdString());
    if (target.error) return QString::fromLocal8Bit(target.error.message());
    if (target.kind != FileKind::Missing && target.kind != FileKind::Regular)
        return notARegularFile(fileName, target);
    QSaveFile file(target.throughLink ? QFile::decodeName(QByteArray::fromStdString(target.path)) : fileName);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    // QSaveFile::commit() moves the file onto the name even when the rest
    // of its buffer could not be written (a full disk): push everything out
    // and onto the disk first, and let it take the name only when that
    // worked. A write the disk takes only part of comes back short with no
    // error of the file's own ("Unknown error"): errno says why.
    errno = 0;
    bool ok = file.write(data) == data.size() && file.flush() && file.error() == QFileDevice::NoError;
    if (ok && !syncToDisk(file.handle())) ok = false;
    if (ok) {
        errno = 0;
        if (file.commit()) return {};
    }
    const QString error = errno ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString();
    file.cancelWriting();
    return error;
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

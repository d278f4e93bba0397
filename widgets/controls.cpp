#include "widgets/controls.h"

#include "assets/assets.h"
#include "widgets/fonts.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// The four arrows: tip, barb, notch, barb, tip.
const QPoint kArrows[4][5] = {
    {{34, 122}, {70, 106}, {60, 122}, {70, 138}, {34, 122}},
    {{624, 122}, {660, 106}, {650, 122}, {660, 138}, {624, 122}},
    {{65, 384}, {29, 368}, {39, 384}, {29, 400}, {65, 384}},
    {{377, 433}, {393, 443}, {409, 433}, {393, 469}, {377, 433}},
};

} // namespace

namespace widgets {

// ---------------------------------------------------------------- Label

Label::Label(QWidget *parent, const char *name, int left, int top, int width, int height, Anchor anchor,
             Qt::Alignment fixedAlignment)
    : ::QLabel(parent), anchor_(anchor), left_(left), right_(left + width)
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(left, top, width, height);
    setMargin(0);
    setIndent(0);
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    if (anchor == Fixed) setAlignment(fixedAlignment | Qt::AlignTop);
    else setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ::QLabel::setFont(fonts::sansSerif(8));
}

void Label::setCaption(const QString &text)
{
    setText(text);
    setAccessibleName(text);
    fit();
}

void Label::setFont(const QFont &f)
{
    ::QLabel::setFont(f);
    fit();
}

void Label::changeEvent(QEvent *e)
{
    ::QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange) fit();
}

void Label::fit()
{
    if (anchor_ == Fixed) return;
    const QFontMetrics fm(font());
    const int w = std::max(1, fm.horizontalAdvance(text()));
    const int h = fm.height();
    if (anchor_ == AutoRight) setGeometry(right_ - w, y(), w, h);
    else setGeometry(left_, y(), w, h);
}

// ---------------------------------------------------------------- PictureBox

PictureBox::PictureBox(QWidget *parent) : QWidget(parent), picture_(assets::schematic())
{
    setObjectName(QStringLiteral("Image1"));
    setAccessibleName(QStringLiteral("Schematic"));
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const qreal scale = p.deviceTransform().m11();
    if (scale <= 1) {
        p.drawImage(0, 0, picture_);
        return;
    }
    // The screen's ratio is kept as an image; another one (a capture for
    // paper) is drawn straight onto the capture.
    if (scale == devicePixelRatioF()) {
        if (sharp_.isNull() || sharp_.devicePixelRatio() != scale) sharp_ = sharpPicture(scale);
        p.drawImage(0, 0, sharp_);
        return;
    }
    p.save();
    p.setClipRect(QRect(QPoint(0, 0), assets::schematicSize));
    assets::drawSchematic(p);
    p.restore();
    platform::Canvas c;
    platform::Canvas::Scope scope(c, p);
    drawArrows(c);
}

QImage PictureBox::sharpPicture(qreal scale) const
{
    QImage image = assets::schematic(scale);
    platform::Canvas c;
    platform::Canvas::Scope scope(c, &image);
    drawArrows(c);
    return image;
}

void PictureBox::drawArrows(platform::Canvas &c) const
{
    for (int i = 0; i < 4; ++i) {
        if (!arrowColors_[i].isValid()) continue;
        c.setPenColor(arrowColors_[i]);
        c.setBrushColor(arrowColors_[i]);
        c.polygon(QList<QPoint>(std::begin(kArrows[i]), std::end(kArrows[i])));
    }
}

void PictureBox::paintArrow(int i)
{
    if (i < 1 || i > 4) return;
    const QList<QPoint> shape(std::begin(kArrows[i - 1]), std::end(kArrows[i - 1]));
    arrowColors_[i - 1] = canvas_.brushColor();
    canvas_.setPenWidth(1);
    {
        platform::Canvas::Scope scope(canvas_, &picture_);
        canvas_.polygon(shape);
    }
    if (!sharp_.isNull()) {
        platform::Canvas::Scope scope(canvas_, &sharp_);
        canvas_.polygon(shape);
    }
    update();
}

void PictureBox::mousePressEvent(QMouseEvent *e)
{
    pressed_ = e->button() == Qt::LeftButton;
}

void PictureBox::mouseReleaseEvent(QMouseEvent *e)
{
    const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}

// QComboBox hides its list before it makes the chosen entry current and
// emits activated; Esc or a click elsewhere closes the list with no choice.
// So the list's window is watched: when it hides, the close-up waits for a
// choice that follows in the same event and is otherwise reported from the
// event loop, once the closing is over.
CloseUpComboBox::CloseUpComboBox(QWidget *parent) : QComboBox(parent)
{
    view()->window()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, &CloseUpComboBox::chosen);
}

bool CloseUpComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view()->window()) {
        if (event->type() == QEvent::Show) {
            open_ = true;
            picked_ = closing_ = false;
        } else if (event->type() == QEvent::Hide && open_) {
            listHidden();
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void CloseUpComboBox::listHidden()
{
    open_ = false;
    if (picked_) { // a style that shows the choice before it closes the list
        picked_ = false;
        emit closeUp();
        return;
    }
    closing_ = true;
    QMetaObject::invokeMethod(this, &CloseUpComboBox::finishCloseUp, Qt::QueuedConnection);
}

void CloseUpComboBox::chosen()
{
    if (open_) {
        picked_ = true;
        return;
    }
    closing_ = false; // reported here, with the entry in place
    emit closeUp();
}

// The list closed with no choice. A list hidden with its window (closing the
// window, tearing it down) is no choice of the user and reports nothing.
void CloseUpComboBox::finishCloseUp()
{
    if (!closing_) return;
    closing_ = false;
    if (isVisible()) emit closeUp();
}

} // namespace widgets

// The main window's own kinds of control: labels that size themselves as
// the layout's do, the schematic picture with its arrows, and the drop-down
// list that reports its close-up.
#pragma once

#include "platform/Canvas.h"

#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QWidget>

namespace widgets {

// A label that sizes itself to its text like the original layout: an
// auto-sized label keeps its left edge, a right-aligned one its right edge,
// a fixed one keeps its rectangle and aligns the text inside it.
class Label : public ::QLabel {
    Q_OBJECT
public:
    enum Anchor { AutoLeft, AutoRight, Fixed };
    Label(QWidget *parent, const char *name, int left, int top, int width, int height, Anchor anchor,
          Qt::Alignment fixedAlignment = Qt::AlignLeft);
    void setCaption(const QString &text);
    void setFont(const QFont &f);

protected:
    void changeEvent(QEvent *e) override;

private:
    void fit();
    Anchor anchor_;
    int left_, right_;
};

// The schematic picture. Clicking it recalculates; the arrows are painted
// into the picture itself and stay there until painted over.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent);
    QImage &picture() { return picture_; }
    platform::Canvas &canvas() { return canvas_; }
    // Paints arrow 1..4 into the picture in the canvas's pen and brush.
    void paintArrow(int i);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    QImage picture_;
    platform::Canvas canvas_;
    bool pressed_ = false;
    // With more device pixels than layout pixels (a high-density screen, an
    // image for paper) the schematic is drawn afresh from its drawing and
    // the arrows on it as polygons, in the colours last painted.
    QImage sharp_; // kept for the screen's own ratio
    QColor arrowColors_[4];
    QImage sharpPicture(qreal scale) const;
    void drawArrows(platform::Canvas &c) const;
};

// A drop-down list that reports the closing of its list once the entry
// chosen in it, if any, is current. A change of entry made without the list
// (arrow keys, Home/End, the wheel) is reported the same way, so that what
// the box shows and what its handler applied never differ.
class CloseUpComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CloseUpComboBox(QWidget *parent = nullptr);
signals:
    void closeUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void listHidden();
    void chosen();
    void finishCloseUp();

    bool open_ = false;    // the list is dropped down
    bool picked_ = false;  // an entry was chosen while the list was still shown
    bool closing_ = false; // the list closed; its close-up is not yet reported
};

} // namespace widgets

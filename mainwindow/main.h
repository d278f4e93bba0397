// The main window: the schematic of the installation with its inputs,
// results, level bars and arrows, the result table and the title bar.
#pragma once

#include "platform/Canvas.h"
#include "rating/model.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QWidget>

class NumEdit;
class LevelBar;
class QCheckBox;
class QToolButton;

namespace mainwindow {

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

} // namespace mainwindow

class TmainF : public QWidget {
    Q_OBJECT
public:
    explicit TmainF(QWidget *parent = nullptr);
    ~TmainF() override;

    // The calculation state and the rating relations.
    rating::Model model;

    // ---- handlers
    void FormCreate();
    void CbTipusChange();
    void Image1Click();
    void NYIL(int i, const QColor &c);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void NyelvStrings();
    void ComboBox1CloseUp();

    // The chart window whose font the language sets (absent at start).
    void setChartWindow(QWidget *w) { chartWindow_ = w; }
    QWidget *chartWindow() const { return chartWindow_; }

    // Indicator colour of a temperature: red above 37 °C, blue otherwise.
    static QColor indicatorColor(double t);

    // ---- controls, named as in the layout
    QWidget *Panel1 = nullptr;
    mainwindow::PictureBox *Image1 = nullptr;
    QWidget *Panel4 = nullptr;
    QToolButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr, *SpeedButton3 = nullptr,
                *SpeedButton4 = nullptr, *SpeedButton5 = nullptr;
    mainwindow::CloseUpComboBox *ComboBox1 = nullptr;
    QCheckBox *CbPwc = nullptr;
    QComboBox *CbTipus = nullptr, *CbMVs = nullptr, *CbMVk = nullptr;
    NumEdit *SorosEd = nullptr, *ParhEd = nullptr, *MVsEd = nullptr, *tsbEd = nullptr,
            *MVkEd = nullptr, *tkbEd = nullptr;
    LevelBar *JvXPProgressBar1 = nullptr, *JvXPProgressBar2 = nullptr, *JvXPProgressBar3 = nullptr,
             *JvXPProgressBar4 = nullptr;
    mainwindow::Label *LbVARDOTORLEX = nullptr, *LbTipus = nullptr, *LbSoros = nullptr,
                      *LbParhuzamos = nullptr, *Label9 = nullptr, *LbKilhomK = nullptr,
                      *LbTKK = nullptr, *LbTerfaramS = nullptr, *Label4 = nullptr,
                      *LbBelhomS = nullptr, *LbNyomasesesK = nullptr, *DPK = nullptr,
                      *LbNyomasesesS = nullptr, *DPS = nullptr, *Label5 = nullptr,
                      *LbBelhomK = nullptr, *Label7 = nullptr, *LbKilhomS = nullptr,
                      *LbTerfaramK = nullptr, *LbTSK = nullptr, *QLabel = nullptr,
                      *LbKopeny = nullptr, *LbSpiral = nullptr, *LbTomegaramK = nullptr,
                      *LbTomegaram = nullptr, *LbTomegaramS = nullptr, *LbArsebK = nullptr,
                      *LbArseb = nullptr, *LbArsebS = nullptr, *LbHoatadK = nullptr,
                      *LbHoatad = nullptr, *LbHoatadS = nullptr, *LbHoatbocsT = nullptr;

    // All 33 text labels, in creation order.
    const QList<mainwindow::Label *> &labels() const { return labels_; }

signals:
    // The chart buttons: show the chart window first, then, after the
    // recalculation, draw chart 1..4 (1 jacket flow, 2 coil flow,
    // 3 jacket inlet temperature, 4 coil inlet temperature).
    void chartWindowRequested();
    void chartRequested(int fajta);
    // The report button, after the page counter is reset.
    void reportRequested();
    // The window was closed: the program ends.
    void closed();

protected:
    void paintEvent(QPaintEvent *) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void showResults();
    void indicatorUpdate();
    void chartButton(int fajta);
    // Runs one handler for an event: an arithmetic error ends it and is
    // shown; a handler never starts while another one works on the state.
    template <class F> void handle(F &&f);

    platform::Canvas canvas_;
    QWidget *chartWindow_ = nullptr;
    QList<mainwindow::Label *> labels_;
    QList<QWidget *> inputs_;
    QObject *focusedList_ = nullptr; // the input list that has the focus
    bool busy_ = false;
};

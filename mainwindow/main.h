// The main window: the schematic of the installation with its inputs,
// results, level bars and arrows, the result table and the title bar.
#pragma once

#include "languages/languages.h"
#include "platform/Canvas.h"
#include "rating/case.h"
#include "rating/model.h"
#include "widgets/controls.h"

#include <QComboBox>
#include <QList>
#include <QWidget>

#include <functional>

class NumEdit;
class LevelBar;
class QAction;
class QCheckBox;
class QMenu;
class QToolButton;


class TmainF : public QWidget {
    Q_OBJECT
public:
    explicit TmainF(QWidget *parent = nullptr);
    ~TmainF() override;

    // The calculation state and the rating relations.
    rating::Model model;

    // ---- the window's face: what the other windows read and set. They go
    // through these, never through the controls below.

    // The case the controls hold now: each field's value as it is typed
    // (before it is left), the lists as they are set, and the fouling
    // resistance the window rates with.
    rating::Case inputs() const;
    // Puts a case into the controls and recalculates, as changing them and
    // clicking the picture does (the same guard: nothing happens while
    // another handler is at work). False when the run could not start or
    // raised an arithmetic error (which has then been shown). A fouling
    // resistance outside its field is held to it (not a number: the
    // default).
    bool setInputs(const rating::Case &c);

    // The inputs as the window shows them once its fields are left: the
    // fields' display formats and separators, the lists' entries.
    struct InputTexts {
        QString type, series, parallel, jacketFlow, jacketUnit, jacketInlet, coilFlow, coilUnit, coilInlet;
    };
    InputTexts inputTexts() const;

    // The twelve results: the texts the labels show and the numbers behind
    // them. resultsCurrent() is false while the results are out of date
    // (the labels show "***") or the inputs cannot be rated.
    struct ResultTexts {
        QString DPK, DPS, QLabel, LbTKK, LbTSK, LbTomegaramK, LbArsebK, LbHoatadK, LbTomegaramS, LbArsebS,
            LbHoatadS, LbHoatbocsT;
    };
    ResultTexts resultTexts() const;
    const rating::Model::ResultValues &resultValues() const { return model.Values; }
    bool resultsCurrent() const { return resultsCurrent_; }

    // The interface language (index in the language list) and its text for
    // a caption or phrase, as the window shows it.
    int language() const { return model.Nyelv; }
    QString caption(lang::Target t) const;

    // "print with grafikon": the report adds the four charts.
    bool printWithCharts() const;

    // The selection button's tooltip and accessible name (the selection
    // window owns their texts).
    void setSelectionButtonText(const QString &tip, const QString &name);

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
    void SpeedButton6Click();
    void NyelvStrings();
    void ComboBox1CloseUp();

    // The chart window whose font the language sets (absent at start).
    void setChartWindow(QWidget *w) { chartWindow_ = w; }
    QWidget *chartWindow() const { return chartWindow_; }

    // Indicator colour of a temperature: red above 37 °C, blue otherwise.
    static QColor indicatorColor(double t);

    // ---- controls, named as in the layout
    QWidget *Panel1 = nullptr;
    widgets::PictureBox *Image1 = nullptr;
    QWidget *Panel4 = nullptr;
    QToolButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr, *SpeedButton3 = nullptr,
                *SpeedButton4 = nullptr, *SpeedButton5 = nullptr;
    // The selection of an arrangement, beside the exchanger (its tooltip
    // comes from the selection window, in the interface language).
    QToolButton *SpeedButton6 = nullptr;
    static constexpr QRect SpeedButton6Rect{420, 196, 23, 22};
    widgets::CloseUpComboBox *ComboBox1 = nullptr;
    QCheckBox *CbPwc = nullptr;
    QComboBox *CbTipus = nullptr, *CbMVs = nullptr, *CbMVk = nullptr;
    NumEdit *SorosEd = nullptr, *ParhEd = nullptr, *MVsEd = nullptr, *tsbEd = nullptr,
            *MVkEd = nullptr, *tkbEd = nullptr;
    LevelBar *JvXPProgressBar1 = nullptr, *JvXPProgressBar2 = nullptr, *JvXPProgressBar3 = nullptr,
             *JvXPProgressBar4 = nullptr;
    widgets::Label *LbVARDOTORLEX = nullptr, *LbTipus = nullptr, *LbSoros = nullptr,
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

    // The context menu of the window (a right click on the schematic or the
    // result table) holds these actions, in the order they were added; each
    // also works by its shortcut anywhere in the window. The owner of an
    // action sets its text, and sets it again on languageApplied.
    void addContextAction(QAction *action);

    // Puts an arrangement into the type list and the two count fields and
    // recalculates, as setInputs does with the other inputs as they are.
    void applyArrangement(int tipus, int soros, int parh);

    // Picture buttons for commands of other parts of the program, in rows
    // on the free corner of the schematic below the printer, in the order
    // added: a row ends before ActionButtonsRight (the jacket outlet's "°C"
    // starts at 132), the next one starts below it (the corner is free down
    // to the inlet arrow at 106). A button runs its action and follows its
    // picture, tooltip and state; one with a menu drops the menu down from
    // an arrow beside the picture.
    void addButtonAction(QAction *action, QMenu *menu = nullptr);
    const QList<QToolButton *> &actionButtons() const { return actionButtons_; }
    static constexpr QPoint ActionButtonsOrigin{1, 27};
    static constexpr int ActionButtonsRight = 129;

    // The program's own title, which the window's title always ends with.
    static QString programTitle();
    // The title becomes "name – program title", with the mark of unsaved
    // changes after the name while the window is modified
    // (setWindowModified).
    void setProjectTitle(const QString &name);

    // Asked before the window closes; false keeps it open (and closed() is
    // not sent).
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

    // Recalculates as leaving a field does, through the same guard as the
    // window's own events; false when another handler is at work or the
    // run raised an arithmetic error (which has then been shown).
    bool recalculate();

    // All 33 text labels, in creation order.
    const QList<widgets::Label *> &labels() const { return labels_; }

signals:
    // An input changed: typed into a field (every keystroke), a list set,
    // or a case put in through setInputs.
    void inputsEdited();
    // A calculation run finished and the results show what it gave (also
    // when it refused the inputs: resultsCurrent() then says false).
    void calculated();
    // The context menu is about to pop up with the window's actions in it,
    // for a right click over `under` (the label, field or picture there).
    void contextMenuOpening(QMenu *menu, QWidget *under);
    // The chart buttons: show the chart window first, then, after the
    // recalculation, draw chart 1..4 (1 jacket flow, 2 coil flow,
    // 3 jacket inlet temperature, 4 coil inlet temperature).
    void chartWindowRequested();
    void chartRequested(int fajta);
    // The report button, after the page counter is reset.
    void reportRequested();
    // The selection button.
    void selectionRequested();
    // NyelvStrings has applied language model.Nyelv: other windows follow it.
    void languageApplied();
    // The window was closed: the program ends.
    void closed();
    // One local file was dropped on the window; sent once the drop is over,
    // so that the source of the drag never waits on what the file starts.
    void fileDropped(const QString &path);

protected:
    void paintEvent(QPaintEvent *) override;
    void closeEvent(QCloseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;
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
    QList<widgets::Label *> labels_;
    QList<QWidget *> inputs_;
    QList<QToolButton *> actionButtons_;
    std::function<bool()> closeGuard_;
    bool closing_ = false; // the close guard is asking
    QObject *focusedList_ = nullptr; // the input list that has the focus
    bool busy_ = false;
    bool resultsCurrent_ = false;
    double Rf_ = rating::Rf; // the fouling resistance the window rates with, m2·K/W
};

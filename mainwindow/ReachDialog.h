// "Reach a value…": the value of one input of the main window's
// installation (a flow, an inlet temperature or the fouling resistance)
// that brings one of its results (the duty, an outlet temperature, a
// pressure drop) to a target the user types. The dialog shows the answer
// and the result it gives, as the main window would show them, or why
// there is none; it follows the main window's inputs while it is open, and
// "Apply" puts the answer into the main window through its face. Not
// modal: the main window stays at hand. Its controls are made when it
// first opens.
#pragma once

#include "design/reach.h"

#include <QDialog>

#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TmainF;

namespace mainwindow {

class ReachDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReachDialog(TmainF *mainF);
    ~ReachDialog() override;

    // "Reach a value…" in the main window's context menu. Over a result (its
    // label or caption) the menu shows it as the default entry, and the
    // dialog opens with that result chosen.
    QAction *openAction() const { return openAction_; }

    // Shows the dialog and puts the keyboard into the target field. With a
    // result, that result is chosen and the target starts at the value the
    // main window shows for it; without, the dialog opens as it was left
    // (the first time: the heat duty).
    void openDialog(std::optional<design::Output> result = std::nullopt);

    // The question as the controls put it, and the engine's answer to it.
    design::Output chosenResult() const;
    design::Input chosenInput() const;
    const design::ReachResult &answer() const { return answer_; }
    // The number of times the engine was asked (asking the same again asks
    // nothing).
    int searches() const { return searches_; }

    // Puts the answer into the main window (Apply, Enter); false when there
    // is none or the window is busy.
    bool apply();

    // The result a label of the main window shows (the number or its
    // caption); nothing for any other widget.
    static std::optional<design::Output> resultShownBy(const TmainF &w, const QWidget *label);

    // ---- controls: null before the first opening
    QComboBox *resultList = nullptr, *inputList = nullptr;
    QLineEdit *targetEd = nullptr;
    QLabel *targetUnit = nullptr;
    QLabel *answerValue = nullptr; // the value found, and the input's value now
    QLabel *resultValue = nullptr; // the result with it, as the main window shows it
    QLabel *message = nullptr;     // why there is no answer, or what Apply does
    QPushButton *applyButton = nullptr, *closeButton = nullptr;

signals:
    // An answer went into the main window.
    void applied();

protected:
    void showEvent(QShowEvent *e) override;

private:
    void build();
    void fitEveryLanguage();
    void retranslate();
    void retranslate(int n);
    void menuOpening(QMenu *menu, QWidget *under);
    // Puts the main window's value of the chosen result into the target.
    void targetFromWindow();
    // Asks the engine when the question changed, and shows the answer.
    void refresh();
    void showAnswer(const rating::Case &c);

    TmainF *mainF_;
    QAction *openAction_;
    std::optional<design::Output> fromMenu_; // the result under the last right click
    QLabel *resultLabel_ = nullptr, *targetLabel_ = nullptr, *inputLabel_ = nullptr, *answerLabel_ = nullptr,
           *givesLabel_ = nullptr;

    // The last question asked and its answer.
    bool asked_ = false;
    rating::Case case_;
    design::Input input_ = design::Input::JacketFlow;
    design::Output output_ = design::Output::Duty;
    double target_ = 0;
    bool targetRead_ = false; // the target field held a number
    design::ReachResult answer_;
    int searches_ = 0;
};

} // namespace mainwindow

// The selection window: which type and arrangement of units meets a
// required heat duty with the main window's flows and inlet temperatures.
// It follows the main window's fields while they are edited, lists every
// arrangement the selection engine finds (or says why there is none), and
// puts a chosen one into the main window. Not modal.
#pragma once

#include "design/balance.h"
#include "rating/case.h"
#include "selection/select.h"
#include "selectionwindow/DesignConditions.h"

#include <QString>
#include <QWidget>

#include <array>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class TmainF;

namespace selectionwindow {
class EntryModel;
class GroupedHeader;
} // namespace selectionwindow

class SelectionWindow : public QWidget {
    Q_OBJECT
public:
    explicit SelectionWindow(TmainF *mainF, QWidget *parent = nullptr);
    ~SelectionWindow() override;

    // Opens the window (Ctrl+F in the main window, its context menu entry):
    // its text follows the interface language.
    QAction *openAction() const { return openAction_; }

    // Shows the window, brings it to the front and puts the keyboard into
    // the duty field. The window keeps its place and size from one opening
    // to the next.
    void open();

    // Puts the arrangement of a row of the table, as it is sorted now, into
    // the main window (Apply, Enter or a double click on the row).
    void applyRow(int row);

    // A case for each selected row, in the list's order: the flows, inlets
    // and fouling the list was rated with and the row's arrangement, named
    // by it ("VT/R-1 2×3": the type, units in series × branches in
    // parallel).
    using NamedCases = std::vector<std::pair<QString, rating::Case>>;
    NamedCases selectedCases() const;
    static QString caseName(int tipus, int soros, int parh);
    // "Add to project": asks for the selected rows' cases to be added.
    void addSelectedToProject();
    // Says in the window how many cases went into the project.
    void showAdded(int count);

    // What the list was made for and what the engine answered.
    const selection::Request &request() const { return request_; }
    const selection::Result &result() const { return result_; }
    // The design conditions as last read, and the balance's answer when
    // they were used; refusal() is why the balance gives no duty and flows
    // (empty when it gave them, or the conditions are not used).
    const selectionwindow::DesignConditions::Reading &designReading() const { return reading_; }
    const design::BalanceResult &balance() const { return balance_; }
    const QString &refusal() const { return refusal_; }
    // The number of times the engine was asked (a change that leaves the
    // request as it was asks nothing).
    int selections() const { return selections_; }

    // ---- controls: made when the window first opens, null before
    // Outlet temperatures in place of the duty or a flow, the fouling and
    // the design margin.
    selectionwindow::DesignConditions *designBox = nullptr;
    // The main window's values, shown: flow (with unit) and inlet per side.
    QLabel *shellFlow = nullptr, *shellInlet = nullptr, *spiralFlow = nullptr, *spiralInlet = nullptr;
    QLineEdit *dutyEd = nullptr;           // required heat duty, kW
    QLineEdit *dpShellEd = nullptr;        // largest pressure drop, kPa; empty: no limit
    QLineEdit *dpSpiralEd = nullptr;
    QLineEdit *maxSeriesEd = nullptr;      // 1..150
    QLineEdit *maxParallelEd = nullptr;    // 1..150
    std::array<QCheckBox *, 5> typeBoxes{};
    QLabel *message = nullptr;             // why nothing is listed, or how many are
    QTableView *table = nullptr;
    QPushButton *addButton = nullptr, *applyButton = nullptr, *closeButton = nullptr;

    // Fields whose text is no valid value are marked with this background.
    static QColor invalidColor();

signals:
    // An arrangement went into the main window.
    void applied();
    // "Add to project" on the selected rows: their cases, to be added to
    // the open project.
    void addToProjectRequested(const SelectionWindow::NamedCases &cases);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ensureBuilt();
    void build();
    // Sets the least size that holds the texts of every language and returns
    // the size to open with, which also fits the list's columns.
    QSize fitEveryLanguage();
    void connectMainWindow();
    void retranslate();
    void retranslate(int nyelv);
    // Reads the main window and the fields; asks the engine again when the
    // request changed.
    void refresh();
    // What the main window and the fields ask for, read without changing
    // anything; then shown: the main window's values in their labels, the
    // fields that hold no valid value marked.
    selection::Request readRequest() const;
    void showRequest(const selection::Request &r);
    void showMessage();
    void fitColumns();
    void spreadColumns();
    void updateApply();
    int language() const;

    TmainF *mainF_;
    QAction *openAction_ = nullptr;
    selectionwindow::EntryModel *model_ = nullptr;
    QSortFilterProxyModel *sorted_ = nullptr;
    selectionwindow::GroupedHeader *header_ = nullptr;
    QList<QLabel *> sideHeadings_, rowLabels_;
    QLabel *dutyLabel_ = nullptr, *seriesLabel_ = nullptr, *parallelLabel_ = nullptr, *typesLabel_ = nullptr,
           *rangeHint_ = nullptr;
    QGroupBox *inputsBox_ = nullptr, *requirementsBox_ = nullptr;
    selection::Request request_;
    selection::Result result_;
    selectionwindow::DesignConditions::Reading reading_;
    design::BalanceResult balance_;
    QString refusal_;
    bool asked_ = false;
    int selections_ = 0;
    bool built_ = false; // the controls exist (from the first opening on)
    bool placed_ = false;
    QList<int> natural_; // column widths for the texts of the language
};

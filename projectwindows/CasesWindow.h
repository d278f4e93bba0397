// The cases window: the cases (alternatives) of the open project with their
// inputs and main results, the one the main window shows marked. The user
// opens a case in the main window, adds the main window's case, updates a
// case from it, duplicates, renames, deletes and reorders cases, and picks
// two to eight of them for the comparison. Not modal; it follows every
// change of the project and the interface language.
#pragma once

#include "projectwindows/CaseIds.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <utility>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QTableView;
class TmainF;

namespace selectionwindow {
class GroupedHeader;
}

namespace projects {

enum CaseColumn {
    ColNumber, // the case's number from 1, the main window's case marked
    ColName,
    ColType,
    ColSeries,
    ColParallel,
    ColShellFlow,
    ColShellInlet,
    ColSpiralFlow,
    ColSpiralInlet,
    ColDuty, // the results from here on; one cell with the reason where a case is not rated
    ColShellOutlet,
    ColShellDp,
    ColSpiralOutlet,
    ColSpiralDp,
    CaseColumnCount
};
inline constexpr int firstResultColumn = ColDuty;

// The mark of the case the main window shows, before its number.
inline constexpr char16_t currentMark = u'\u25B6';

// The project's cases as a table, read from the document as it is now.
class CaseModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CaseModel(CaseIds *ids, QObject *parent = nullptr);

    // The interface language and decimal separator of the texts.
    void setTexts(int nyelv, const QString &sep, const QStringList &headings, const QStringList &tips);
    // Shows the document as it is now: the rows again where their number
    // changed, else their texts.
    void refresh();
    // The identity of the case a row shows (as of the last refresh), and
    // the identities of all rows.
    CaseIds::Id idOf(int row) const;
    const std::vector<CaseIds::Id> &rowIds() const { return rowIds_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Rows dragged to another place in the list.
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

private:
    CaseIds *ids_;
    int rows_ = 0;
    std::vector<CaseIds::Id> rowIds_;
    int nyelv_ = 1;
    QString sep_ = QStringLiteral(".");
    QStringList headings_, tips_;
};

class CasesWindow : public QWidget {
    Q_OBJECT
public:
    explicit CasesWindow(CaseIds *ids, QWidget *parent = nullptr);
    ~CasesWindow() override;

    // Opens the window (Ctrl+K in the main window, its context menu entry);
    // its text follows the interface language.
    QAction *openAction() const { return openAction_; }
    // Shows the window, brings it to the front and puts the keyboard into
    // the list, on the main window's case.
    void open();

    // Cases made elsewhere (the selection window's rows), added to the
    // project in order and selected in the list (once the window has been
    // opened); the main window stays on its case. Returns how many were added: fewer when the project holds
    // as many cases as it can, which is then said.
    int addCases(const std::vector<std::pair<QString, rating::Case>> &cases);

    // The selected rows, in ascending order.
    std::vector<int> selectedRows() const;
    CaseModel *model() const { return model_; }

    // ---- the commands (buttons, keys in the list)
    void openSelected();      // Enter, double click: the case into the main window
    void addFromMainWindow(); // Insert: the main window's case as a new case, which it then shows
    void updateSelected();    // the selected case takes the main window's inputs
    void duplicateSelected(); // Ctrl+D: each selected case copied after itself
    void renameSelected();    // F2: the name edited in its cell
    void deleteSelected();    // Del: one case at once, several after a question
    void moveSelected(int by); // Ctrl+Up, Ctrl+Down: by one place
    void compareSelected();   // two to eight cases side by side

    // ---- controls: made when the window first opens, null before
    QTableView *table = nullptr;
    QPushButton *openButton = nullptr, *addButton = nullptr, *updateButton = nullptr, *duplicateButton = nullptr,
                *renameButton = nullptr, *deleteButton = nullptr, *upButton = nullptr, *downButton = nullptr,
                *compareButton = nullptr, *closeButton = nullptr;
    QLabel *hint = nullptr;

signals:
    // The cases chosen for the comparison, in list order.
    void compareRequested(const std::vector<projects::CaseIds::Id> &cases);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ensureBuilt();
    void build();
    void retranslate();
    void retranslate(int nyelv);
    void fitColumns();
    void refresh();
    void updateButtons();
    void select(const std::vector<CaseIds::Id> &ids, CaseIds::Id current);
    std::vector<CaseIds::Id> selectedIds() const;
    int language() const;

    CaseIds *ids_;
    ProjectDocument *document_;
    TmainF *mainF_;
    CaseModel *model_ = nullptr;
    selectionwindow::GroupedHeader *header_ = nullptr;
    QAction *openAction_ = nullptr;
    bool built_ = false;
    bool placed_ = false;
    QList<int> natural_; // column widths for the widest texts of every language
};

} // namespace projects

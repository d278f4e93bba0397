// The comparison window: two to eight cases of the project side by side,
// one column a case, their inputs and all twelve results, the values that
// differ from the first column's bold on a tint. It follows the cases
// while they change (a case deleted leaves its column), copies the table
// (Ctrl+C: tab-separated text and HTML) and, ticked, puts the comparison
// on a page of its own at the end of the full report. Not modal.
#pragma once

#include "platform/table.h"
#include "project/compare.h"
#include "projectwindows/CaseIds.h"

#include <QWidget>

#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TmainF;

namespace projects {

class CompareWindow : public QWidget {
    Q_OBJECT
public:
    explicit CompareWindow(CaseIds *ids, QWidget *parent = nullptr);
    ~CompareWindow() override;

    // Compares these cases (in this order) and shows the window in front.
    // Fewer than two or more than eight that exist: nothing happens.
    void compare(const std::vector<CaseIds::Id> &cases);

    // The comparison as it stands: the cases compared that are still in the
    // project, in column order, and the comparison of them (none where
    // fewer than two are left).
    std::vector<int> cases() const;
    const std::optional<project::Comparison> &comparison() const { return comparison_; }
    // The comparison as a table in the interface language, numbers with the
    // regional decimal separator: what Copy puts on the clipboard and the
    // report prints.
    std::optional<platform::Table> table() const;
    // Copy: the table as text and HTML on the clipboard.
    void copy();

    // "print with comparison": the full report ends with the comparison.
    bool printWithComparison() const;
    // The report page's title (with the project's name) and legend.
    QString pageTitle() const;
    QString legend() const;

    // ---- controls: made when cases are first compared, null before
    QLabel *message = nullptr; // the legend, or why nothing is compared
    QTableWidget *grid = nullptr;
    QCheckBox *printBox = nullptr;
    QPushButton *copyButton = nullptr, *closeButton = nullptr;
    QAction *copyAction = nullptr;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void ensureBuilt();
    void build();
    void retranslate();
    void refresh();
    void fitTable();
    int language() const;

    CaseIds *ids_;
    ProjectDocument *document_;
    TmainF *mainF_;
    std::vector<CaseIds::Id> compared_;
    std::optional<project::Comparison> comparison_;
    bool built_ = false;
    bool placed_ = false;
};

} // namespace projects

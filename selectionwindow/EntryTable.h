// The list of a selection as a table: one row per arrangement, the numbers
// written as the main window writes them, each cell sortable by the number
// behind it; and a header that names the two sides above their columns.
#pragma once

#include "selection/select.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QList>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace selectionwindow {

enum Column {
    ColType,
    ColSeries,
    ColParallel,
    ColUnits,
    ColSurface,
    ColDuty,
    ColMargin,
    ColShellOutlet,
    ColShellDp,
    ColShellVelocity,
    ColShellFilm,
    ColSpiralOutlet,
    ColSpiralDp,
    ColSpiralVelocity,
    ColSpiralFilm,
    ColOverall,
    ColumnCount
};

// The role that gives the number behind a cell (a double; the type column
// gives the type's position in the type list).
inline constexpr int SortRole = Qt::UserRole;

// The number of a column for one entry, and the decimals it is shown with
// (those of the main window where it shows the same quantity).
double number(const selection::Entry &e, Column c);
int decimals(Column c);

class EntryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit EntryModel(QObject *parent = nullptr);

    // A new list: the rows in the engine's order.
    void setEntries(std::vector<selection::Entry> entries);
    const std::vector<selection::Entry> &entries() const { return entries_; }
    // The row of an arrangement, or -1.
    int rowOf(int tipus, int soros, int parh) const;

    // Header texts (lines split by '\n') and their tooltips, one per column.
    void setHeaders(const QStringList &texts, const QStringList &tips);
    // The decimal separator of every number shown.
    void setDecimalSeparator(const QString &sep);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<selection::Entry> entries_;
    QStringList headers_, tips_;
    std::string sep_ = ".";
};

// A horizontal header whose grouped sections carry a band above them with
// the group's title (the side a column belongs to); the other sections
// take the whole height.
class GroupedHeader : public QHeaderView {
    Q_OBJECT
public:
    struct Group {
        int first, last; // logical sections, first <= last, adjacent
        QString title;
    };
    explicit GroupedHeader(QWidget *parent = nullptr);
    void setGroups(const QList<Group> &groups);
    const QList<Group> &groups() const { return groups_; }
    // The group band's height.
    int bandHeight() const;

    QSize sizeHint() const override;
    // A section's size for its text, the band included.
    QSize sectionSizeFromContents(int logicalIndex) const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    const Group *groupOf(int logicalIndex) const;
    QList<Group> groups_;
};

} // namespace selectionwindow

#include "selectionwindow/EntryTable.h"

#include "rating/model.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace selectionwindow {

double number(const selection::Entry &e, Column c)
{
    const rating::Model::ResultValues &v = e.values;
    switch (c) {
    case ColType: return e.Tipus;
    case ColSeries: return e.Soros;
    case ColParallel: return e.Parh;
    case ColUnits: return e.units;
    case ColSurface: return e.surfaceM2;
    case ColDuty: return e.dutyKW;
    case ColMargin: return e.marginPercent;
    case ColShellOutlet: return v.LbTKK;
    case ColShellDp: return v.DPK;
    case ColShellVelocity: return v.LbArsebK;
    case ColShellFilm: return v.LbHoatadK;
    case ColSpiralOutlet: return v.LbTSK;
    case ColSpiralDp: return v.DPS;
    case ColSpiralVelocity: return v.LbArsebS;
    case ColSpiralFilm: return v.LbHoatadS;
    case ColOverall: return v.LbHoatbocsT;
    case ColumnCount: break;
    }
    return 0;
}

int decimals(Column c)
{
    switch (c) {
    case ColSurface: return 3; // 0.176 m2 a unit for the smallest type
    case ColDuty:
    case ColShellOutlet:
    case ColSpiralOutlet:
    case ColShellVelocity:
    case ColSpiralVelocity: return 2;
    case ColShellDp:
    case ColSpiralDp: return 3;
    case ColMargin: return 1;
    default: return 0;
    }
}

// ---------------------------------------------------------------- EntryModel

EntryModel::EntryModel(QObject *parent) : QAbstractTableModel(parent) {}

void EntryModel::setEntries(std::vector<selection::Entry> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

int EntryModel::rowOf(int tipus, int soros, int parh) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const selection::Entry &e = entries_[i];
        if (e.Tipus == tipus && e.Soros == soros && e.Parh == parh) return static_cast<int>(i);
    }
    return -1;
}

void EntryModel::setHeaders(const QStringList &texts, const QStringList &tips)
{
    headers_ = texts;
    tips_ = tips;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void EntryModel::setDecimalSeparator(const QString &sep)
{
    const std::string s = sep.toStdString();
    if (s == sep_) return;
    sep_ = s;
    if (!entries_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int EntryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int EntryModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant EntryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) return {};
    const selection::Entry &e = entries_[static_cast<std::size_t>(index.row())];
    const auto c = static_cast<Column>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (c == ColType) return QString::fromLatin1(rating::TipusNevek[e.Tipus]);
        return QString::fromStdString(rating::FixedText(number(e, c), decimals(c), sep_));
    case SortRole: return number(e, c);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(c == ColType ? Qt::AlignLeft | Qt::AlignVCenter
                                                              : Qt::AlignRight | Qt::AlignVCenter));
    default: return {};
    }
}

QVariant EntryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    switch (role) {
    case Qt::DisplayRole: return section < headers_.size() ? headers_[section] : QString();
    case Qt::ToolTipRole: return section < tips_.size() ? tips_[section] : QString();
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default: return {};
    }
}

// ---------------------------------------------------------------- GroupedHeader

GroupedHeader::GroupedHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

void GroupedHeader::setGroups(const QList<Group> &groups)
{
    groups_ = groups;
    updateGeometry();
    viewport()->update();
}

int GroupedHeader::bandHeight() const { return fontMetrics().height() + 6; }

const GroupedHeader::Group *GroupedHeader::groupOf(int logicalIndex) const
{
    for (const Group &g : groups_)
        if (logicalIndex >= g.first && logicalIndex <= g.last) return &g;
    return nullptr;
}

QSize GroupedHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize s = QHeaderView::sectionSizeFromContents(logicalIndex);
    s.rheight() += bandHeight();
    return s;
}

QSize GroupedHeader::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    // Room for the band over two-line section texts, whatever the base
    // class kept from an earlier font.
    int h = 0;
    for (int i = 0; i < count(); ++i) h = std::max(h, sectionSizeFromContents(i).height());
    s.setHeight(std::max(s.height(), h));
    return s;
}

void GroupedHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    const Group *g = groupOf(logicalIndex);
    if (!g) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    const int band = bandHeight();
    QHeaderView::paintSection(painter, rect.adjusted(0, band, 0, 0), logicalIndex);

    // The band spans the whole group; each of its sections paints it again
    // (the same picture), so a partial repaint shows it whole.
    const int x0 = sectionViewportPosition(g->first);
    const int x1 = sectionViewportPosition(g->last) + sectionSize(g->last);
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = QRect(x0, rect.top(), x1 - x0, band);
    opt.section = logicalIndex;
    opt.position = QStyleOptionHeader::Middle;
    opt.textAlignment = Qt::AlignCenter;
    opt.text = fontMetrics().elidedText(g->title, Qt::ElideRight, std::max(0, opt.rect.width() - 8));
    painter->save();
    style()->drawControl(QStyle::CE_Header, &opt, painter, this);
    painter->restore();
}

} // namespace selectionwindow

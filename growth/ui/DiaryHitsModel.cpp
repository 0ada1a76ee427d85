#include "growth/ui/DiaryHitsModel.h"
#include "growth/GrowthTr.h"

#include "data/Recordset.h"

DiaryHitsModel::DiaryHitsModel(QObject* parent) : IdListModel(parent) {}

void DiaryHitsModel::fill(const Recordset& entries)
{
    beginResetModel();
    m_hits.clear();
    // The rows are taken from the result as it was read, without loading each entry.
    const int id = entries.columnIndex(QStringLiteral("id"));
    const int date = entries.columnIndex(QStringLiteral("riqi"));
    const int weather = entries.columnIndex(QStringLiteral("tianqi"));
    const int title = entries.columnIndex(QStringLiteral("biaoti"));
    m_hits.reserve(entries.rowCount());
    for (qsizetype row = 0; row < entries.rowCount(); ++row)
        m_hits.append({entries.integerAt(row, id), entries.textAt(row, date), entries.textAt(row, weather),
                       entries.textAt(row, title)});
    endResetModel();
}

void DiaryHitsModel::clear()
{
    beginResetModel();
    m_hits.clear();
    endResetModel();
}

void DiaryHitsModel::update(const Hit& hit)
{
    for (int row = 0; row < m_hits.size(); ++row) {
        if (m_hits.at(row).id == hit.id) {
            m_hits[row] = hit;
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        }
    }
}

int DiaryHitsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_hits.size());
}

int DiaryHitsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant DiaryHitsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_hits.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
        const Hit& hit = m_hits.at(index.row());
        switch (index.column()) {
        case 0:
            return hit.date;
        case 1:
            return hit.weather;
        case 2:
            return hit.title;
        }
        return {};
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

QVariant DiaryHitsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return GrowthTr::tr("日期");
    case 1:
        return GrowthTr::tr("天气");
    case 2:
        return GrowthTr::tr("标题");
    }
    return {};
}

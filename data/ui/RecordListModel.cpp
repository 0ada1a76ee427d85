#include "data/ui/RecordListModel.h"

#include "data/RecordQuery.h"
#include "data/Recordset.h"

RecordListModel::RecordListModel(QStringList headings, QObject* parent)
    : IdListModel(parent), m_headings(std::move(headings))
{
}

void RecordListModel::fill(const Recordset& records, const RecordColumns& columns)
{
    beginResetModel();
    m_rows.clear();
    const int id = records.columnIndex(QStringLiteral("id"));
    const int title = records.columnIndex(columns.title);
    const int category = records.columnIndex(columns.category);
    const int date = records.columnIndex(columns.date);
    const qsizetype count = records.rowCount();
    m_rows.reserve(count);
    for (qsizetype r = 0; r < count; ++r)
        m_rows.append({records.integerAt(r, id), records.textAt(r, title), records.textAt(r, category),
                       records.integerAt(r, date)});
    endResetModel();
}

void RecordListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& row = m_rows.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        switch (index.column()) {
        case 0:
            return QString::number(row.id);
        case 1:
            return row.title;
        case 2:
            return row.category;
        case 3:
            return QString::number(row.date);
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole)
        return index.column() == 1 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    return {};
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headings.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_headings.at(section);
    if (role == Qt::TextAlignmentRole)
        return section == 1 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    return {};
}

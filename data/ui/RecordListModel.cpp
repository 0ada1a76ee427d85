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
    m_query = PagedQuery();
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

Result RecordListModel::show(PagedQuery query)
{
    beginResetModel();
    m_rows.clear();
    m_query = std::move(query);
    const Result r = read(FirstPage, m_rows);
    endResetModel();
    return r;
}

Result RecordListModel::read(int count, QList<Row>& into)
{
    const Result r = m_query.fetch(count, [&into](const PagedRow& row) {
        into.append({row.integer(0), row.text(1), row.text(2), row.integer(3)});
    });
    // A list that cannot read on does not try again at every scroll.
    if (!r)
        m_query = PagedQuery();
    return r;
}

bool RecordListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_query.atEnd();
}

void RecordListModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        append(int(std::max<qsizetype>(FirstPage, m_rows.size())));
}

void RecordListModel::fetchAll()
{
    if (canFetchMore({}))
        append(-1);
}

void RecordListModel::append(int count)
{
    QList<Row> more;
    const Result r = read(count, more);
    if (!more.isEmpty()) {
        beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + more.size() - 1));
        m_rows.append(std::move(more));
        endInsertRows();
    }
    if (!r)
        emit fetchFailed(r.error());
}

void RecordListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_query = PagedQuery();
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

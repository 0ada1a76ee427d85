#include "growth/ui/DiaryHitsModel.h"
#include "growth/GrowthTr.h"

#include "data/PagedQuery.h"

DiaryHitsModel::DiaryHitsModel(QObject* parent) : IdListModel(parent) {}

QStringList DiaryHitsModel::columns()
{
    return {QStringLiteral("id"), QStringLiteral("riqi"), QStringLiteral("tianqi"), QStringLiteral("biaoti")};
}

Result DiaryHitsModel::fill(PagedQuery query)
{
    beginResetModel();
    m_hits.clear();
    const Result r = query.fetch(-1, [this](const PagedRow& row) {
        m_hits.append({row.integer(0), row.text(1), row.text(2), row.text(3)});
    });
    endResetModel();
    return r;
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

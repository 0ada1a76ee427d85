#include "reelbox/ui/CatalogueListModel.h"
#include "reelbox/ReelboxTr.h"

#include "media/MediaFolder.h"
#include "media/ui/ThumbnailSource.h"

void CatalogueListModel::setRows(CatalogueRows rows)
{
    beginResetModel();
    if (m_thumbnails)
        m_thumbnails->restart();
    m_rows = std::move(rows);
    endResetModel();
}

int CatalogueListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CatalogueListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CatalogueListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case IdColumn:
            return QString::number(m_rows.id(index.row()));
        case TypeColumn:
            return MediaKinds::typeText(MediaKinds::fromName(m_rows.name(index.row())));
        case NameColumn:
            return m_rows.name(index.row());
        default:
            return {};
        }
    case Qt::DecorationRole:
        // Asked for by the list only for rows it paints.
        if (m_thumbnails && index.column() == NameColumn)
            return m_thumbnails->icon(MediaFolder::filePath(m_rows.name(index.row())), m_thumbnailPixels);
        return {};
    case Qt::ToolTipRole:
        return index.column() == NameColumn ? QVariant(m_rows.name(index.row())) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant CatalogueListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case IdColumn:
        return ReelboxTr::tr("编号");
    case TypeColumn:
        return ReelboxTr::tr("媒体类型");
    case NameColumn:
        return ReelboxTr::tr("媒体文件");
    default:
        return {};
    }
}

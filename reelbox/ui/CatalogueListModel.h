#pragma once

#include "reelbox/Catalogue.h"

#include <QAbstractTableModel>

class ThumbnailSource;

// The result list of the catalogue: one row per file, columns "编号", "媒体类型", "媒体文件".
// The rows are kept as the search gives them, so a list of many thousand files fills at once.
class CatalogueListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        IdColumn,
        TypeColumn,
        NameColumn,
        ColumnCount
    };

    explicit CatalogueListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows each file's thumbnail beside its name, of about pixels on its longest side. A new
    // list drops the thumbnails still waiting for the old one.
    void setThumbnails(ThumbnailSource* source, int pixels)
    {
        m_thumbnails = source;
        m_thumbnailPixels = pixels;
    }
    void setThumbnailPixels(int pixels) { m_thumbnailPixels = pixels; }

    void setRows(CatalogueRows rows);
    void clear() { setRows({}); }
    CatalogueRow row(int index) const { return m_rows.at(index); }
    // The file names of every row, in list order.
    QStringList names() const { return m_rows.names(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CatalogueRows m_rows;
    ThumbnailSource* m_thumbnails = nullptr;
    int m_thumbnailPixels = 0;
};

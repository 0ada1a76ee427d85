#pragma once

#include "data/ui/IdListModel.h"

#include <QList>
#include <QStringList>

class Recordset;
struct RecordColumns;

// The rows of a record list: id, title, category and date of each record, in fill order.
class RecordListModel : public IdListModel
{
    Q_OBJECT

public:
    struct Row
    {
        qint64 id;
        QString title;
        QString category;
        qint64 date;
    };

    explicit RecordListModel(QStringList headings, QObject* parent = nullptr);

    // Replaces the rows with every row of the open recordset, in its order.
    void fill(const Recordset& records, const RecordColumns& columns);
    void clear();
    const Row& row(int index) const { return m_rows.at(index); }
    qint64 idAt(int row) const override { return m_rows.at(row).id; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headings;
    QList<Row> m_rows;
};

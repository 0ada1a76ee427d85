#pragma once

#include "data/ui/IdListModel.h"

#include <QStringList>

// A list of rows of texts under fixed headings, all centred; the first text of a row is its key.
class TextRowsModel : public IdListModel
{
    Q_OBJECT

public:
    explicit TextRowsModel(QObject* parent = nullptr) : IdListModel(parent) {}

    void setHeadings(const QStringList& headings);
    void setRows(QList<QStringList> rows);
    void clear() { setRows({}); }
    const QStringList& row(int index) const { return m_rows.at(index); }
    qint64 idAt(int row) const override { return m_rows.at(row).value(0).toLongLong(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headings;
    QList<QStringList> m_rows;
};

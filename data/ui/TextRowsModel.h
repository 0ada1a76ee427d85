#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// A list of rows of texts under fixed headings, all centred.
class TextRowsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TextRowsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setHeadings(const QStringList& headings);
    void setRows(QList<QStringList> rows);
    void clear() { setRows({}); }
    const QStringList& row(int index) const { return m_rows.at(index); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headings;
    QList<QStringList> m_rows;
};

#pragma once

#include <QAbstractTableModel>

// A list model whose rows are records: each row knows the key of its record.
class IdListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // The key of the record shown in a row; 0 when the row holds none.
    virtual qint64 idAt(int row) const = 0;
};

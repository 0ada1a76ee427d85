#pragma once

#include "data/ui/IdListModel.h"

#include <QAbstractItemModel>

// The checksums of what a page's list shows, compared with those of the rows a baseline read.

// A record list (id, title, category, date): the id and the date as numbers, the lengths of the
// texts.
inline double listedRecords(const QAbstractItemModel& model)
{
    double checksum = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        checksum += model.index(row, 0).data().toDouble() + double(model.index(row, 1).data().toString().size()) +
                    double(model.index(row, 2).data().toString().size()) + model.index(row, 3).data().toDouble();
    }
    return checksum;
}

// A list of hits: the ids it keeps and the lengths of its three shown columns.
inline double listedHits(const IdListModel& model)
{
    double checksum = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        checksum += double(model.idAt(row));
        for (int column = 0; column < 3; ++column)
            checksum += double(model.index(row, column).data().toString().size());
    }
    return checksum;
}

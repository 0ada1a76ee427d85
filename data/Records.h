#pragma once

#include "common/Result.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>

class Recordset;

// The writes every editing page makes to its table, each in one transaction.
namespace Records {

// Fills a record's members for a write.
using Writer = std::function<void(Recordset&)>;

// Adds a row whose members the writer fills.
Result add(Recordset& records, const Writer& write);

// A row's values as they were read, to tell later whether another program changed it.
using RowVersion = QVariantList;
RowVersion versionOf(const Recordset& records);

enum class ChangeOutcome
{
    Written,
    // The row is no longer as it was shown: nothing was written, and records stands on the row
    // as it is now.
    ChangedMeanwhile
};

// Changes the row whose key column holds id, when it is still as shown (any row when shown is
// empty). When the row is gone, nothing is written and the failure says goneMessage.
ResultOf<ChangeOutcome> change(Recordset& records, const QString& keyColumn, qint64 id, const Writer& write,
                               const QString& goneMessage, const RowVersion& shown = {});

// Deletes the rows of table whose key column holds one of ids: all of them, or none. With a
// goneMessage, a row that is no longer there fails the whole deletion with that message.
Result deleteByIds(const QString& table, const QString& keyColumn, const QList<qint64>& ids,
                   const QString& goneMessage = {});

} // namespace Records

#pragma once

#include "common/Result.h"

#include <QList>
#include <QString>

#include <functional>

class Recordset;

// The writes every editing page makes to its table, each in one transaction.
namespace Records {

// Fills a record's members for a write.
using Writer = std::function<void(Recordset&)>;

// Adds a row whose members the writer fills.
Result add(Recordset& records, const Writer& write);

// Changes the row whose key column holds id. When the row is gone, nothing is written and the
// failure says goneMessage.
Result change(Recordset& records, const QString& keyColumn, qint64 id, const Writer& write, const QString& goneMessage);

// Deletes the rows of table whose key column holds one of ids: all of them, or none.
Result deleteByIds(const QString& table, const QString& keyColumn, const QList<qint64>& ids);

} // namespace Records

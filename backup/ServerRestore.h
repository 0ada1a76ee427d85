#pragma once

#include "common/Result.h"
#include "common/ServerConfig.h"

#include <QSqlDatabase>
#include <QString>

// The rows of a restore on a server: they replace the family's rows in one server transaction,
// which also records the restore's own name in kestrin_meta. Whether that name is there tells,
// after a restore was cut off, whether its rows landed.
namespace ServerRestore {

// Starts a transaction on server and replaces every table's rows in it with those of the
// database file at filePath, counts compared and numbering reset; the caller commits. Fails,
// with the transaction rolled back, when anything does not fit.
Result replaceRows(QSqlDatabase server, const QString& filePath, const QString& restoreId);

// Commits what replaceRows() wrote.
Result commit(QSqlDatabase server);

// Whether the rows on the server are those of the restore restoreId.
ResultOf<bool> landed(const ServerConfig& server, const QString& restoreId);

} // namespace ServerRestore

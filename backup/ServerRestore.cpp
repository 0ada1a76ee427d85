#include "backup/ServerRestore.h"

#include "backup/BackupTr.h"
#include "backup/ScopedConnection.h"
#include "data/DatabaseError.h"
#include "data/ServerCopy.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString MarkerName = QStringLiteral("restore_id");

Result rolledBack(QSqlDatabase server, const Result& cause)
{
    QSqlQuery(server).exec(QStringLiteral("ROLLBACK"));
    return cause;
}

} // namespace

namespace ServerRestore {

Result replaceRows(QSqlDatabase server, const QString& filePath, const QString& restoreId)
{
    ScopedConnection file(filePath);
    if (Result r = file.connect(); !r)
        return r;
    QSqlQuery query(server);
    if (!query.exec(QStringLiteral("START TRANSACTION ISOLATION LEVEL SERIALIZABLE")))
        return DatabaseError::fromSqlError(query.lastError());
    if (Result r = ServerCopy::copyTables(file.db(), server, true); !r)
        return rolledBack(server, r);
    query.prepare(QStringLiteral("DELETE FROM kestrin_meta WHERE name = ?"));
    query.addBindValue(MarkerName);
    if (!query.exec())
        return rolledBack(server, DatabaseError::fromSqlError(query.lastError()));
    query.prepare(QStringLiteral("INSERT INTO kestrin_meta (name, value) VALUES (?, ?)"));
    query.addBindValue(MarkerName);
    query.addBindValue(restoreId);
    if (!query.exec())
        return rolledBack(server, DatabaseError::fromSqlError(query.lastError()));
    return {};
}

Result commit(QSqlDatabase server)
{
    QSqlQuery query(server);
    if (query.exec(QStringLiteral("COMMIT")))
        return {};
    return rolledBack(server, DatabaseError::fromSqlError(query.lastError()));
}

ResultOf<bool> landed(const ServerConfig& server, const QString& restoreId)
{
    ScopedConnection connection(server);
    if (Result r = connection.connect(); !r)
        return r;
    QSqlQuery query(connection.db());
    query.prepare(QStringLiteral("SELECT value FROM kestrin_meta WHERE name = ?"));
    query.addBindValue(MarkerName);
    if (!query.exec())
        return DatabaseError::fromSqlError(query.lastError());
    return query.next() && query.value(0).toString() == restoreId;
}

} // namespace ServerRestore

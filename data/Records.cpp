#include "data/Records.h"

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/Recordset.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Records {

Result add(Recordset& records, const Writer& write)
{
    records.addNew();
    write(records);
    return records.update();
}

RowVersion versionOf(const Recordset& records)
{
    return records.rowValues();
}

ResultOf<ChangeOutcome> change(Recordset& records, const QString& keyColumn, qint64 id, const Writer& write,
                               const QString& goneMessage, const RowVersion& shown)
{
    // The check and the write run in one transaction, so no other program can change the row
    // between them.
    TransactionGuard transaction;
    records.setFilter(QLatin1Char('[') + keyColumn + QStringLiteral("]=?"), {id});
    if (Result r = records.open(); !r)
        return r;
    if (records.isEOF())
        return Result::failure(goneMessage);
    if (!shown.isEmpty() && versionOf(records) != shown)
        return ChangeOutcome::ChangedMeanwhile;
    if (Result r = records.edit(); !r)
        return r;
    write(records);
    if (Result r = records.update(); !r)
        return r;
    if (Result r = transaction.commit(); !r)
        return r;
    return ChangeOutcome::Written;
}

Result deleteByIds(const QString& table, const QString& keyColumn, const QList<qint64>& ids, const QString& goneMessage)
{
    TransactionGuard transaction;
    QSqlQuery query(Database::connection());
    if (!query.prepare(QStringLiteral("DELETE FROM [") + table + QStringLiteral("] WHERE [") + keyColumn +
                       QStringLiteral("]=?")))
        return DatabaseError::fromSqlError(query.lastError());
    for (const qint64 id : ids) {
        query.addBindValue(id);
        if (!query.exec())
            return DatabaseError::fromSqlError(query.lastError());
        if (!goneMessage.isEmpty() && query.numRowsAffected() < 1)
            return Result::failure(goneMessage);
    }
    return transaction.commit();
}

} // namespace Records

#include "data/ProgramSettings.h"

#include "data/DataTr.h"

#include <QSqlError>
#include <QSqlQuery>

QString ProgramSettings::value(const QString& name, const QString& fallback, QSqlDatabase db)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT value FROM kestrin_meta WHERE name = ?"));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return fallback;
    return query.value(0).toString();
}

Result ProgramSettings::setValue(const QString& name, const QString& value, QSqlDatabase db)
{
    const auto failed = [](const QSqlQuery& q) {
        return Result::failure(
            DataTr::tr("无法在数据库中保存这项设置，下次启动时仍是原来的设置。请关闭其他程序后再试。"),
            q.lastError().text());
    };
    TransactionGuard transaction(db);
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE kestrin_meta SET value = ? WHERE name = ?"));
    update.addBindValue(value);
    update.addBindValue(name);
    if (!update.exec())
        return failed(update);
    if (update.numRowsAffected() == 0) {
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO kestrin_meta (name, value) VALUES (?, ?)"));
        insert.addBindValue(name);
        insert.addBindValue(value);
        if (!insert.exec())
            return failed(insert);
    }
    return transaction.commit();
}

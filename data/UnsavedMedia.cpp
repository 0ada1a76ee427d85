#include "data/UnsavedMedia.h"
#include "data/SqlDialect.h"

#include "common/ProcessStat.h"
#include "data/DataTr.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace UnsavedMedia {

namespace {

Result failure(const QSqlQuery& query)
{
    const QSqlError error = query.lastError();
    return Result::failure(DataTr::tr("无法记录或查看尚未保存的媒体文件，没有删除任何文件。请关闭其他程序后再试。"),
                           error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

qint64 ownPid()
{
    return QCoreApplication::applicationPid();
}

const QString& ownStart()
{
    static const QString started = startTimeOf(ownPid());
    return started;
}

struct Row
{
    qint64 pid;
    QString started;
    QString name;
};

ResultOf<QList<Row>> rows(QSqlDatabase db, const QString& condition, const QVariantList& values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!SqlDialect::prepare(query, QStringLiteral("select [pid], [started], [name] from [unsaved_media]") + condition))
        return failure(query);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return failure(query);
    QList<Row> found;
    while (query.next())
        found.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString()});
    return found;
}

// Clears the rows of processes that have ended.
void removeEnded(QSqlDatabase db)
{
    const ResultOf<QList<Row>> all = rows(db, {}, {});
    if (!all)
        return;
    QSet<QPair<qint64, QString>> ended;
    for (const Row& row : *all) {
        if (!isRunning(row.pid, row.started))
            ended.insert({row.pid, row.started});
    }
    for (const auto& [pid, started] : std::as_const(ended)) {
        QSqlQuery query(db);
        SqlDialect::prepare(query, QStringLiteral("delete from [unsaved_media] where [pid]=? and [started]=?"));
        query.addBindValue(pid);
        query.addBindValue(started);
        query.exec();
    }
}

} // namespace

// In clock ticks since boot, as the system reports it: together with the id it names one
// process, even after the id has been used again.
QString startTimeOf(qint64 pid)
{
    const QList<QByteArray> fields = processStatFields(QStringLiteral("/proc/%1").arg(pid));
    // Field 22 of the line is the start time; the list begins with field 3, the state.
    constexpr int startField = 22 - 3;
    return fields.size() > startField ? QString::fromLatin1(fields.at(startField)) : QString();
}

QString newPageKey()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool isRunning(qint64 pid, const QString& started)
{
    if (pid == ownPid())
        return started == ownStart();
    const QString now = startTimeOf(pid);
    return !now.isEmpty() && now == started;
}

Result add(const QString& page, const QStringList& names, QSqlDatabase db)
{
    if (names.isEmpty())
        return {};
    removeEnded(db);
    TransactionGuard transaction(db);
    for (const QString& name : names) {
        QSqlQuery query(db);
        if (!SqlDialect::prepare(
                query,
                QStringLiteral("insert into [unsaved_media] ([pid], [started], [page], [name]) values (?, ?, ?, ?)")))
            return failure(query);
        query.addBindValue(ownPid());
        query.addBindValue(ownStart());
        query.addBindValue(page);
        query.addBindValue(name);
        if (!query.exec())
            return failure(query);
    }
    return transaction.commit();
}

Result remove(const QString& page, const QStringList& names, QSqlDatabase db)
{
    QSqlQuery query(db);
    if (names.isEmpty()) {
        if (!SqlDialect::prepare(query, QStringLiteral("delete from [unsaved_media] where [page]=?")))
            return failure(query);
        query.addBindValue(page);
        return query.exec() ? Result() : failure(query);
    }
    TransactionGuard transaction(db);
    for (const QString& name : names) {
        if (!SqlDialect::prepare(query, QStringLiteral("delete from [unsaved_media] where [page]=? and [name]=?")))
            return failure(query);
        query.addBindValue(page);
        query.addBindValue(name);
        if (!query.exec())
            return failure(query);
    }
    return transaction.commit();
}

ResultOf<bool> isListed(const QString& name, QSqlDatabase db)
{
    const ResultOf<QList<Row>> found = rows(db, QStringLiteral(" where [name]=?"), {name});
    if (!found)
        return Result(found);
    for (const Row& row : *found) {
        if (isRunning(row.pid, row.started))
            return true;
    }
    return false;
}

ResultOf<QStringList> names(QSqlDatabase db)
{
    const ResultOf<QList<Row>> all = rows(db, {}, {});
    if (!all)
        return Result(all);
    QSet<QString> listed;
    for (const Row& row : *all) {
        if (isRunning(row.pid, row.started))
            listed.insert(row.name);
    }
    return QStringList(listed.begin(), listed.end());
}

} // namespace UnsavedMedia

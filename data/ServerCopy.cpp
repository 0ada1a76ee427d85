#include "data/ServerCopy.h"
#include "data/DataTr.h"
#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The tables a family writes to; the others hold shipped rows a new database has too.
const QStringList familyTables = {QStringLiteral("user"),    QStringLiteral("personinfo"), QStringLiteral("bnrong"),
                                  QStringLiteral("cfnrong"), QStringLiteral("chengzhang"), QStringLiteral("rongyu"),
                                  QStringLiteral("shengri"), QStringLiteral("mplay")};

ResultOf<qint64> rowCount(QSqlDatabase db, const QString& table)
{
    QSqlQuery query(db);
    if (!SqlDialect::prepare(query, QStringLiteral("SELECT count(*) FROM [%1]").arg(table)) || !query.exec() ||
        !query.next())
        return DatabaseError::fromSqlError(query.lastError());
    return query.value(0).toLongLong();
}

// A value read from one engine as the other stores it: the server's times become the text the
// file keeps ("yyyy-MM-dd HH:mm:ss").
QVariant forEngine(const QVariant& value, bool toServer)
{
    if (!toServer && value.typeId() == QMetaType::QDateTime && !value.isNull())
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return value;
}

// New rows on the server are numbered after the copied ones; a table without a numbered column
// has nothing to reset.
Result resetNumbering(QSqlDatabase to, const QString& table, const QString& column)
{
    const QString name = to.driver()->escapeIdentifier(table, QSqlDriver::TableName);
    QSqlQuery sequence(to);
    if (!sequence.exec(QStringLiteral("SELECT pg_get_serial_sequence('%1', '%2')").arg(name, column)) ||
        !sequence.next())
        return DatabaseError::fromSqlError(sequence.lastError());
    if (sequence.value(0).isNull())
        return {};
    const QString key = to.driver()->escapeIdentifier(column, QSqlDriver::FieldName);
    QSqlQuery number(to);
    if (!number.exec(QStringLiteral("SELECT setval('%1', COALESCE((SELECT max(%2) FROM %3), 0) + 1, false)")
                         .arg(sequence.value(0).toString(), key, name)))
        return DatabaseError::fromSqlError(number.lastError());
    return {};
}

Result copyTable(QSqlDatabase from, QSqlDatabase to, const QString& table, const QStringList& columns)
{
    const bool toServer = SqlDialect::isServer(to);
    QStringList quoted;
    for (const QString& column : columns)
        quoted << QLatin1Char('[') + column + QLatin1Char(']');
    QSqlQuery read(from);
    read.setForwardOnly(true);
    if (!SqlDialect::prepare(read,
                             QStringLiteral("SELECT %1 FROM [%2]").arg(quoted.join(QStringLiteral(", ")), table)) ||
        !read.exec())
        return DatabaseError::fromSqlError(read.lastError());
    QSqlQuery clear(to);
    if (!SqlDialect::prepare(clear, QStringLiteral("DELETE FROM [%1]").arg(table)) || !clear.exec())
        return DatabaseError::fromSqlError(clear.lastError());
    QSqlQuery write(to);
    if (!SqlDialect::prepare(write,
                             QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
                                 .arg(table, quoted.join(QStringLiteral(", ")),
                                      QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")))))
        return DatabaseError::fromSqlError(write.lastError());
    while (read.next()) {
        for (int i = 0; i < columns.size(); ++i)
            write.addBindValue(forEngine(read.value(i), toServer));
        if (!write.exec())
            return Result::failure(DataTr::tr("数据表“%1”中有一行无法写入。").arg(table),
                                   write.lastError().databaseText());
    }
    if (read.lastError().isValid())
        return DatabaseError::fromSqlError(read.lastError());
    return toServer ? resetNumbering(to, table, columns.first()) : Result();
}

QByteArray sha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

namespace ServerCopy {

Result copyTables(QSqlDatabase from, QSqlDatabase to, bool withMeta, const Progress& progress)
{
    const auto& tables = Schema::tables();
    const QStringList present = from.tables();
    for (qsizetype i = 0; i < tables.size(); ++i) {
        const auto& [table, columns] = tables[i];
        if (!withMeta && table == QLatin1String("kestrin_meta"))
            continue;
        if (progress)
            progress(DataTr::tr("正在复制数据表“%1”…").arg(table), int(100 * i / tables.size()));
        // A database of an older version may lack a newer table: the copy has no rows there.
        if (!present.contains(table)) {
            QSqlQuery clear(to);
            if (!SqlDialect::prepare(clear, QStringLiteral("DELETE FROM [%1]").arg(table)) || !clear.exec())
                return DatabaseError::fromSqlError(clear.lastError());
            continue;
        }
        if (Result r = copyTable(from, to, table, columns); !r)
            return r;
        const ResultOf<qint64> had = rowCount(from, table);
        const ResultOf<qint64> has = rowCount(to, table);
        if (!had || !has || *had != *has)
            return Result::failure(DataTr::tr("数据表“%1”复制后的行数不对（原有 %2 行，复制后 %3 行），"
                                              "没有复制任何内容。")
                                       .arg(table)
                                       .arg(had ? *had : -1)
                                       .arg(has ? *has : -1));
    }
    return {};
}

Result copyRecords(const QString& filePath, const ServerConfig& server, const Progress& progress)
{
    const auto tell = [&](const QString& step, int percent) {
        if (progress)
            progress(step, percent);
    };
    if (!QFileInfo::exists(filePath))
        return Result::failure(DataTr::tr("找不到本机的数据库文件“%1”。").arg(QDir::toNativeSeparators(filePath)));
    tell(DataTr::tr("正在连接服务器…"), 0);
    if (Result r = Database::openServer(server); !r)
        return r;
    QSqlDatabase to = Database::connection();
    for (const QString& table : familyTables) {
        const ResultOf<qint64> rows = rowCount(to, table);
        if (!rows)
            return rows;
        if (*rows > 0)
            return Result::failure(DataTr::tr("服务器上的数据库“%1”里已经有家庭记录（数据表“%2”有 %3 行），"
                                              "没有复制任何内容，以免覆盖这些记录。请换一个空的数据库再试。")
                                       .arg(server.database, table)
                                       .arg(*rows));
    }

    const QString sourceName = QStringLiteral("kestrin-copy-source");
    Result result;
    {
        QSqlDatabase from = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), sourceName);
        from.setDatabaseName(filePath);
        from.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!from.open()) {
            result = DatabaseError::fromSqlError(from.lastError());
        } else {
            TransactionGuard transaction(to);
            result = copyTables(from, to, false,
                                [&](const QString& step, int percent) { tell(step, 5 + 85 * percent / 100); });
            if (result)
                result = transaction.commit();
        }
        from.close();
    }
    QSqlDatabase::removeDatabase(sourceName);
    if (!result)
        return Result::failure(DataTr::tr("记录没有复制到服务器，服务器上的数据库保持原样。") + result.message(),
                               result.detail());
    tell(DataTr::tr("记录已复制。"), 90);
    return {};
}

Result copyMedia(const QString& fromFolder, const QString& toFolder, const Progress& progress)
{
    if (!QDir().mkpath(toFolder))
        return Result::failure(DataTr::tr("无法创建媒体文件夹“%1”。").arg(QDir::toNativeSeparators(toFolder)));
    QStringList names;
    QDirIterator files(fromFolder, QDir::Files | QDir::Hidden);
    while (files.hasNext())
        names << files.next();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QFileInfo source(names[i]);
        const QString target = QDir(toFolder).filePath(source.fileName());
        if (progress)
            progress(DataTr::tr("正在复制媒体文件“%1”…").arg(source.fileName()), int(100 * i / names.size()));
        const QByteArray hash = sha256(source.filePath());
        if (QFileInfo::exists(target)) {
            if (sha256(target) == hash)
                continue;
            return Result::failure(DataTr::tr("共享文件夹里已经有一个不同的“%1”，没有覆盖它。请检查共享文件夹后再试。")
                                       .arg(source.fileName()));
        }
        const QString partial = target + QStringLiteral(".partial");
        QFile::remove(partial);
        if (!QFile::copy(source.filePath(), partial) || sha256(partial) != hash || !QFile::rename(partial, target)) {
            QFile::remove(partial);
            return Result::failure(DataTr::tr("媒体文件“%1”没有完整地复制到共享文件夹。请检查共享文件夹是否可以写入、"
                                              "空间是否足够，然后再试。")
                                       .arg(source.fileName()));
        }
    }
    if (progress)
        progress(DataTr::tr("媒体文件已复制。"), 100);
    return {};
}

} // namespace ServerCopy

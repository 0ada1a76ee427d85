#include "data/Database.h"
#include "data/DataTr.h"
#include "data/DatabaseError.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"

#include "common/Clock.h"
#include "common/DataSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

namespace {

QString quoted(const QString& path)
{
    return QStringLiteral("“") + QDir::toNativeSeparators(path) + QStringLiteral("”");
}

Result exec(QSqlDatabase& db, const QString& statement, const QVariantList& values = {})
{
    QSqlQuery query(db);
    // The server prepares only reads and writes of rows; definitions run directly.
    if (values.isEmpty() && SqlDialect::isServer(db)) {
        if (!query.exec(SqlDialect::statement(db, statement)))
            return DatabaseError::fromSqlError(query.lastError());
        return {};
    }
    if (!query.prepare(SqlDialect::statement(db, statement)))
        return DatabaseError::fromSqlError(query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return DatabaseError::fromSqlError(query.lastError());
    return {};
}

QString readResource(const QString& name)
{
    return Schema::resource(name);
}

// Runs a script of statements separated by semicolons at line ends; "--" lines are comments.
// Definitions are made in the engine's own words.
Result runScript(QSqlDatabase& db, const QString& script, bool definitions = false)
{
    QString statement;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().startsWith(QStringLiteral("--")))
            continue;
        statement += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            const QString text = statement.trimmed();
            if (Result r = exec(db, definitions ? SqlDialect::definition(db, text) : text); !r)
                return r;
            statement.clear();
        }
    }
    return {};
}

// Loads one growth reference table from its CSV (ID,nianling,min,max).
Result loadReferenceTable(QSqlDatabase& db, const QString& table)
{
    const QString csv = readResource(QStringLiteral("reference/") + table + QStringLiteral(".csv"));
    const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 2)
        return Result::failure(DataTr::tr("缺少生长参考数据：%1").arg(table));
    const QString insert =
        QStringLiteral("INSERT INTO [%1] ([ID], [nianling], [min], [max]) VALUES (?, ?, ?, ?)").arg(table);
    for (const QString& line : lines.mid(1)) {
        const QStringList cells = line.trimmed().split(QLatin1Char(','));
        if (cells.size() != 4)
            return Result::failure(DataTr::tr("生长参考数据格式错误：%1").arg(line));
        if (Result r = exec(db, insert, {cells[0].toInt(), cells[1], cells[2].toDouble(), cells[3].toDouble()}); !r)
            return r;
    }
    return {};
}

// Loads the articles that ship with the database (articles/<table>.txt; see articles/README.md).
Result loadArticles(QSqlDatabase& db, const QString& table)
{
    const QString text = readResource(QStringLiteral("articles/") + table + QStringLiteral(".txt"));
    if (text.isEmpty())
        return Result::failure(DataTr::tr("缺少文章：%1").arg(table));
    const bool dated = table == QStringLiteral("bing");
    const QString insert = dated
                               ? QStringLiteral("INSERT INTO [%1] (leixing, title, connect, time) VALUES (?, ?, ?, ?)")
                               : QStringLiteral("INSERT INTO [%1] (leixing, title, connect) VALUES (?, ?, ?)");
    const QStringList articles = text.split(QStringLiteral("\n== "));
    for (QString article : articles) {
        if (article.startsWith(QStringLiteral("== ")))
            article.remove(0, 3);
        const qsizetype lineEnd = article.indexOf(QLatin1Char('\n'));
        const QStringList head = article.left(lineEnd).split(QLatin1Char('|'));
        if (head.size() != 2)
            return Result::failure(DataTr::tr("文章格式错误：%1").arg(article.left(lineEnd)));
        QVariantList values{head[0].trimmed(), head[1].trimmed(), article.mid(lineEnd + 1).trimmed()};
        if (dated)
            values << DateKey::today();
        if (Result r = exec(db, insert.arg(table), values); !r)
            return r;
    }
    return {};
}

Result fillNewDatabase(QSqlDatabase& db)
{
    TransactionGuard transaction(db);
    if (Result r = runScript(db, readResource(QStringLiteral("schema.sql")), true); !r)
        return r;
    if (Result r = runScript(db, readResource(QStringLiteral("seed.sql"))); !r)
        return r;
    for (const char* table : {"nanhigh", "nanweight", "nvhigh", "nvweight"}) {
        if (Result r = loadReferenceTable(db, QString::fromLatin1(table)); !r)
            return r;
    }
    for (const char* table : {"tnrong", "ynrong", "childconnect", "womanconnect", "bing"}) {
        if (Result r = loadArticles(db, QString::fromLatin1(table)); !r)
            return r;
    }
    if (Result r = exec(db, QStringLiteral("INSERT INTO kestrin_meta (name, value) VALUES ('schema_version', ?)"),
                        {QString::number(Database::SchemaVersion)});
        !r)
        return r;
    if (Result r =
            exec(db, QStringLiteral("INSERT INTO kestrin_meta (name, value) VALUES ('min_compatible_version', ?)"),
                 {QString::number(Database::MinimumCompatibleVersion)});
        !r)
        return r;
    return transaction.commit();
}

// Version 2: the table of media names that pages list but have not saved yet (as in schema.sql).
Result addUnsavedMedia(QSqlDatabase& db)
{
    if (Result r = exec(db, QStringLiteral("CREATE TABLE IF NOT EXISTS [unsaved_media] ([pid] INTEGER NOT NULL, "
                                           "[started] VARCHAR(64) NOT NULL, [page] VARCHAR(64) NOT NULL, "
                                           "[name] VARCHAR(255) NOT NULL)"));
        !r)
        return r;
    return exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS unsaved_media_name ON [unsaved_media]([name])"));
}

// Steps that bring an older file up to SchemaVersion, in order; each runs in one transaction
// and may run again safely.
struct UpgradeStep
{
    int toVersion;
    Result (*apply)(QSqlDatabase&);
};
const UpgradeStep upgradeSteps[] = {{1, nullptr}, {2, &addUnsavedMedia}};

Result upgrade(QSqlDatabase& db, int fromVersion)
{
    for (const UpgradeStep& step : upgradeSteps) {
        if (step.toVersion <= fromVersion || !step.apply)
            continue;
        TransactionGuard transaction(db);
        if (Result r = step.apply(db); !r)
            return r;
        if (Result r = exec(db, QStringLiteral("UPDATE kestrin_meta SET value = ? WHERE name = 'schema_version'"),
                            {QString::number(step.toVersion)});
            !r)
            return r;
        if (Result r = transaction.commit(); !r)
            return r;
    }
    return {};
}

// Refuses files the program must not write to, before SQLite gets to them. Permission bits are
// read as well as access rights, so a file marked read-only is refused even for the superuser.
Result checkFileAccess(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return Result::failure(DataTr::tr("无法打开数据库文件%1：它不是一个文件。").arg(quoted(path)));
    if (!info.isReadable() || !(info.permissions() & QFileDevice::ReadOwner))
        return Result::failure(DataTr::tr("无法打开数据库文件%1：没有读取这个文件的权限。").arg(quoted(path)));
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))
        return Result::failure(
            DataTr::tr("无法打开数据库文件%1：文件是只读的，记录无法保存。请取消文件的只读属性后再试。")
                .arg(quoted(path)));
    const QFileInfo folder(info.absolutePath());
    if (!folder.isWritable())
        return Result::failure(DataTr::tr("无法打开数据库文件%1：所在的文件夹不可写入。").arg(quoted(path)));
    return {};
}

// Where the records are, for the messages: a file, or a database on a server.
struct Place
{
    QString path;
    bool server = false;
    QString title() const
    {
        return (server ? DataTr::tr("服务器上的数据库") : DataTr::tr("数据库文件")) + quoted(path);
    }
};

// What is wrong with a damaged file, and how the family gets its records back from a backup,
// which is an ordinary zip file holding database/kestrin.db.
Result damaged(const Place& place, const QString& what, const QString& detail = {})
{
    if (place.server)
        return Result::failure(DataTr::tr("无法打开%1：%2。它可能被其他程序改动过。请让管理服务器的人用备份恢复，"
                                          "或者在“数据库位置…”里改回“本机文件”。")
                                   .arg(place.title(), what),
                               detail);
    const QString& path = place.path;
    return Result::failure(
        DataTr::tr("无法打开数据库文件%1：%2。文件可能已经损坏，或被其他程序改动过。\n"
                   "如果有备份，可以用备份恢复：先把这个文件改名留存，再用解压软件打开备份文件（.zip），"
                   "把其中的 database/kestrin.db 放到“%3”文件夹里。")
            .arg(quoted(path), what, QDir::toNativeSeparators(QFileInfo(path).absolutePath())),
        detail);
}

// Every table's columns in their order, as the engine keeps them; empty when they cannot be read.
QHash<QString, QStringList> tableColumns(QSqlDatabase& db, QString& error)
{
    QHash<QString, QStringList> columns;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (SqlDialect::isServer(db)) {
        // One look at the catalogue for all tables: the information schema is slow to ask.
        if (!query.exec(QStringLiteral("SELECT c.relname, a.attname FROM pg_catalog.pg_attribute a "
                                       "JOIN pg_catalog.pg_class c ON c.oid = a.attrelid "
                                       "WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind = 'r' "
                                       "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY c.relname, a.attnum"))) {
            error = query.lastError().databaseText();
            return {};
        }
        while (query.next())
            columns[query.value(0).toString()] << query.value(1).toString();
        return columns;
    }
    for (const auto& table : Schema::tables()) {
        if (!query.exec(QStringLiteral("PRAGMA table_info([%1])").arg(table.first))) {
            error = query.lastError().databaseText();
            return columns;
        }
        QStringList& found = columns[table.first];
        while (query.next())
            found << query.value(1).toString();
    }
    return columns;
}

// Every table the programs read is there, and begins with the columns they read by position.
Result checkTables(QSqlDatabase& db, const Place& path)
{
    QString error;
    const QHash<QString, QStringList> all = tableColumns(db, error);
    for (const auto& [table, columns] : Schema::tables()) {
        if (!error.isEmpty() && !all.contains(table))
            return damaged(path, DataTr::tr("无法读取数据表“%1”").arg(table), error);
        const QStringList found = all.value(table);
        if (found.isEmpty())
            return damaged(path, DataTr::tr("缺少数据表“%1”").arg(table));
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (found.value(i) != columns[i]) {
                return damaged(path, found.contains(columns[i])
                                         ? DataTr::tr("数据表“%1”的列“%2”不在原来的位置上").arg(table, columns[i])
                                         : DataTr::tr("数据表“%1”缺少列“%2”").arg(table, columns[i]));
            }
        }
    }
    return {};
}

// A version kept in kestrin_meta: a whole number, missing when the file keeps none, or the
// reason it is none.
ResultOf<int> metaVersion(QSqlDatabase& db, const Place& path, const QString& name, int missing)
{
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("SELECT value FROM kestrin_meta WHERE name = ?")))
        return missing;
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return missing;
    bool ok = false;
    const QString text = query.value(0).toString();
    const int version = text.trimmed().toInt(&ok);
    if (!ok)
        return damaged(path, DataTr::tr("其中记录的数据版本“%1”不是一个数字").arg(text.left(40)));
    return version;
}

// The versions and the tables, for a file and a server alike; an older one is brought up to date.
Result checkContents(QSqlDatabase& db, const Place& path)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT value FROM kestrin_meta WHERE name = 'schema_version'")) || !query.next())
        return Result::failure(DataTr::tr("无法打开%1：它不是本软件的数据库。").arg(path.title()));
    query.finish();
    const ResultOf<int> version = metaVersion(db, path, QStringLiteral("schema_version"), 0);
    if (!version)
        return version;
    // Files written before the minimum was kept can be read by their own version and later.
    const ResultOf<int> minCompatible = metaVersion(db, path, QStringLiteral("min_compatible_version"), *version);
    if (!minCompatible)
        return minCompatible;
    switch (Database::compatibility(*version, *minCompatible)) {
    case Database::Compatibility::TooNew:
        return Result::failure(DataTr::tr("%1由较新版本的程序创建（数据版本 %2，本程序只认识到 %3）。请先升级程序。")
                                   .arg(path.title())
                                   .arg(*version)
                                   .arg(Database::SchemaVersion));
    case Database::Compatibility::NewerCompatible:
    case Database::Compatibility::Current:
        break;
    case Database::Compatibility::Older:
        if (Result r = upgrade(db, *version); !r)
            return r;
        break;
    }
    return checkTables(db, path);
}

Result checkDatabase(QSqlDatabase& db, const QString& path)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const QString engine = query.lastError().databaseText();
        if (engine.contains(QStringLiteral("locked"), Qt::CaseInsensitive))
            return Result::failure(
                DataTr::tr("无法打开数据库文件%1：文件正被其他程序锁定，请关闭其他程序后再试。").arg(quoted(path)));
        return Result::failure(
            DataTr::tr("无法打开数据库文件%1：它不是有效的数据库文件，可能已经损坏。（%2）").arg(quoted(path), engine));
    }
    // A write lock held by another program shows only when we try to write.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return Result::failure(
            DataTr::tr("无法打开数据库文件%1：文件正被其他程序锁定，请关闭其他程序后再试。").arg(quoted(path)));
    query.exec(QStringLiteral("ROLLBACK"));
    return checkContents(db, Place{path});
}

QSqlDatabase addConnection(const QString& name, const QString& path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    return db;
}

// The oldest server the schema's statements run on (identity columns, COLLATE "C").
constexpr int OldestServerVersion = 120000;

Place serverPlace(const ServerConfig& server)
{
    return Place{QStringLiteral("%1@%2:%3").arg(server.database, server.host).arg(server.port), true};
}

// What the client library's English says, told in words a parent can act on.
Result serverOpenFailure(const ServerConfig& server, const QSqlError& error)
{
    const QString engine = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    const QString where = QStringLiteral("%1:%2").arg(server.host).arg(server.port);
    const auto has = [&](const char* words) { return engine.contains(QLatin1String(words), Qt::CaseInsensitive); };
    QString message;
    if (has("password authentication failed") || has("no password supplied") || has("password is required"))
        message =
            DataTr::tr("服务器 %1 拒绝了用户“%2”的密码。请在“数据库位置…”里重新输入密码。").arg(where, server.user);
    else if (has("role") && has("does not exist"))
        message = DataTr::tr("服务器 %1 上没有用户“%2”。请检查用户名，或请管理服务器的人建立这个用户。")
                      .arg(where, server.user);
    else if (has("database") && has("does not exist"))
        message = DataTr::tr("服务器 %1 上没有数据库“%2”。请检查数据库名，或请管理服务器的人建立这个数据库。")
                      .arg(where, server.database);
    else if (has("could not translate host name") || has("Name or service not known"))
        message =
            DataTr::tr("找不到服务器“%1”。请检查服务器的名字是否写对、这台电脑是否连在家里的网络上。").arg(server.host);
    else if (has("connection refused") || has("timeout") || has("no route to host") || has("could not connect") ||
             has("Network is unreachable") || has("is the server running"))
        message = DataTr::tr("连不上服务器 %1。请检查服务器是否开着、地址和端口是否正确、这台电脑是否连在网络上。")
                      .arg(where);
    else if (has("no pg_hba.conf entry"))
        message =
            DataTr::tr("服务器 %1 不允许这台电脑连接。请管理服务器的人在 pg_hba.conf 里允许这台电脑。").arg(where);
    else if (has("Driver not loaded"))
        message = DataTr::tr("这台电脑上没有安装 PostgreSQL 的数据库驱动。请安装软件包 libqt6sql6-psql"
                             "（或再运行一次安装脚本），然后重新启动程序。");
    else
        message =
            DataTr::tr("无法连接服务器 %1 上的数据库“%2”。请检查“数据库位置…”里的设置。").arg(where, server.database);
    return Result::failure(message, engine);
}

Result serverVersionCheck(QSqlDatabase& db, const ServerConfig& server)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SHOW server_version_num")) || !query.next())
        return DatabaseError::fromSqlError(query.lastError());
    const int version = query.value(0).toInt();
    if (version < OldestServerVersion)
        return Result::failure(DataTr::tr("服务器 %1 上的 PostgreSQL 版本太旧（%2），本软件需要 12 或更新的版本。"
                                          "请请管理服务器的人升级 PostgreSQL。")
                                   .arg(server.host)
                                   .arg(version / 10000));
    return {};
}

QSqlDatabase addServerConnection(const QString& name, const ServerConfig& server)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setUserName(server.user);
    // No password here: the client library takes it from ~/.pgpass.
    db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=kestrin"));
    return db;
}

// Whether the server's database holds any table of its own.
ResultOf<bool> serverIsEmpty(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                                   "current_schema()")) ||
        !query.next())
        return DatabaseError::fromSqlError(query.lastError());
    return query.value(0).toLongLong() == 0;
}

// An empty database gets the whole schema; one that has it is checked as a file is. Two
// computers starting at the same moment take turns through a lock on the server.
Result prepareServer(QSqlDatabase& db, const ServerConfig& server)
{
    if (Result r = serverVersionCheck(db, server); !r)
        return r;
    QSqlQuery query(db);
    // Every transaction sees one state of the records and fails rather than build on a
    // change another computer made meanwhile.
    if (!query.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL SERIALIZABLE")))
        return DatabaseError::fromSqlError(query.lastError());
    if (!query.exec(QStringLiteral("SELECT pg_advisory_lock(%1)").arg(Database::SchemaLockKey)))
        return DatabaseError::fromSqlError(query.lastError());
    Result result;
    const ResultOf<bool> empty = serverIsEmpty(db);
    if (!empty)
        result = empty;
    else if (*empty)
        result = fillNewDatabase(db);
    if (result)
        result = checkContents(db, serverPlace(server));
    query.exec(QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(Database::SchemaLockKey));
    return result;
}

} // namespace

Result Database::openServer(const ServerConfig& server)
{
    close();
    Result result;
    {
        QSqlDatabase db = addServerConnection(ConnectionName, server);
        if (!db.open())
            result = serverOpenFailure(server, db.lastError());
        else
            result = prepareServer(db, server);
    }
    if (!result) {
        close();
        return result;
    }
    return {};
}

Result Database::testServer(const ServerConfig& server)
{
    const QString name = QStringLiteral("kestrin-test-connection");
    Result result;
    {
        QSqlDatabase db = addServerConnection(name, server);
        if (!db.open())
            result = serverOpenFailure(server, db.lastError());
        else
            result = serverVersionCheck(db, server);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

QSqlDatabase Database::serverConnection(const QString& name, const ServerConfig& server)
{
    return addServerConnection(name, server);
}

Result Database::serverConnectionFailure(const ServerConfig& server, const QSqlError& error)
{
    return serverOpenFailure(server, error);
}

bool Database::isServer()
{
    return SqlDialect::isServer(connection());
}

Database::Compatibility Database::compatibility(int version, int minCompatible)
{
    if (version == SchemaVersion)
        return Compatibility::Current;
    if (version < SchemaVersion)
        return Compatibility::Older;
    return minCompatible <= SchemaVersion ? Compatibility::NewerCompatible : Compatibility::TooNew;
}

Result Database::openFromDataSource(const QString& dataSourceName)
{
    const QString path = DataSource::databasePath(dataSourceName);
    if (path.isEmpty())
        return Result::failure(DataTr::tr("数据源“%1”没有指定数据库文件。").arg(dataSourceName));
    return open(path);
}

Result Database::open(const QString& path)
{
    close();
    if (!QFileInfo::exists(path)) {
        if (Result r = create(path); !r)
            return r;
    }
    if (Result r = checkFileAccess(path); !r)
        return r;

    QSqlDatabase db = addConnection(ConnectionName, path);
    if (!db.open()) {
        const Result cause = DatabaseError::fromSqlError(db.lastError());
        db = {};
        close();
        return Result::failure(DataTr::tr("无法打开数据库文件%1：%2").arg(quoted(path), cause.message()),
                               cause.detail());
    }
    if (Result r = checkDatabase(db, path); !r) {
        db = {};
        close();
        return r;
    }
    return {};
}

void Database::close()
{
    if (!QSqlDatabase::contains(ConnectionName))
        return;
    QSqlDatabase::database(ConnectionName, false).close();
    QSqlDatabase::removeDatabase(ConnectionName);
}

QSqlDatabase Database::connection()
{
    return QSqlDatabase::database(ConnectionName, false);
}

Result Database::create(const QString& path)
{
    if (QFileInfo::exists(path))
        return Result::failure(DataTr::tr("数据库文件%1已经存在。").arg(quoted(path)));
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return Result::failure(DataTr::tr("无法创建数据库文件夹%1。").arg(quoted(info.absolutePath())));

    // Built under a temporary name and renamed when complete, so no half-made file is left.
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    const QString connectionName = QStringLiteral("kestrin-create");
    Result result;
    {
        QSqlDatabase db = addConnection(connectionName, partial);
        if (!db.open())
            result = DatabaseError::fromSqlError(db.lastError());
        else
            result = fillNewDatabase(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (result && !QFile::rename(partial, path))
        result = Result::failure(DataTr::tr("无法写入%1。").arg(quoted(path)));
    if (!result) {
        QFile::remove(partial);
        return Result::failure(DataTr::tr("无法创建数据库文件%1：%2").arg(quoted(path), result.message()),
                               result.detail());
    }
    return {};
}

TransactionGuard::TransactionGuard(QSqlDatabase db) : m_db(std::move(db))
{
    m_started = m_db.transaction();
}

TransactionGuard::~TransactionGuard()
{
    if (m_started && !m_done)
        m_db.rollback();
}

Result TransactionGuard::commit()
{
    if (!m_started)
        return DatabaseError::fromSqlError(m_db.lastError());
    m_done = true;
    if (m_db.commit())
        return {};
    // A commit the engine refused (another program holds the file past the busy timeout)
    // leaves the transaction open; without the rollback every later write of the session
    // would land in it and be lost when the program ends.
    const QSqlError error = m_db.lastError();
    m_db.rollback();
    const Result cause = DatabaseError::fromSqlError(error);
    if (cause.message().contains(DataTr::tr("没有保存")))
        return cause;
    return Result::failure(DataTr::tr("修改没有保存，数据库里仍是原来的内容。") + cause.message(), cause.detail());
}

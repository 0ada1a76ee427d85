#include "backup/DatabaseSnapshot.h"

#include "backup/BackupRecord.h"
#include "backup/BackupTr.h"
#include "backup/FileErrors.h"
#include "backup/Progress.h"
#include "backup/ScopedConnection.h"
#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/ServerCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <sqlite3.h>

namespace {

// Time a step may wait for a writer to finish before the copy gives up.
constexpr int BusyTimeoutMs = 10000;
// After this many fresh starts forced by writers, the rest is copied in one step under one lock.
constexpr int MaxRestarts = 3;

class Connection
{
public:
    Connection(const QString& path, int flags)
    {
        m_status = sqlite3_open_v2(path.toUtf8().constData(), &m_handle, flags, nullptr);
        if (m_handle)
            sqlite3_busy_timeout(m_handle, BusyTimeoutMs);
    }
    ~Connection() { sqlite3_close_v2(m_handle); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool ok() const { return m_status == SQLITE_OK; }
    sqlite3* handle() const { return m_handle; }
    QString error() const
    {
        return m_handle ? QString::fromUtf8(sqlite3_errmsg(m_handle)) : QString::fromUtf8(sqlite3_errstr(m_status));
    }

private:
    sqlite3* m_handle = nullptr;
    int m_status = SQLITE_ERROR;
};

QString damaged(const QString& path)
{
    return BackupTr::tr("数据库文件%1已经损坏，无法使用。").arg(FileErrors::quoted(path));
}

} // namespace

namespace DatabaseSnapshot {

Result copy(const QString& sourcePath, const QString& targetPath, Progress& progress, int pagesPerStep)
{
    if (!QFileInfo(sourcePath).isFile())
        return Result::failure(BackupTr::tr("找不到数据库文件%1。请确认程序已经运行过一次，或检查安装文件夹。")
                                   .arg(FileErrors::quoted(sourcePath)));
    const QString cannotRead =
        BackupTr::tr("无法读取数据库文件%1。请关闭其他正在使用它的程序后再试。").arg(FileErrors::quoted(sourcePath));
    Connection source(sourcePath, SQLITE_OPEN_READONLY);
    if (!source.ok())
        return Result::failure(cannotRead, source.error());
    Connection target(targetPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!target.ok())
        return Result::failure(BackupTr::tr("无法在临时文件夹中写入数据库的副本。请检查临时文件夹所在的磁盘是否已满。"),
                               target.error());

    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (!backup)
        return Result::failure(cannotRead, target.error());

    const QString step = BackupTr::tr("正在复制数据库…");
    progress.start(step, 0);
    int status = SQLITE_OK;
    int restarts = 0;
    int lastRemaining = -1;
    int waited = 0;
    while (status == SQLITE_OK || status == SQLITE_BUSY || status == SQLITE_LOCKED) {
        if (progress.cancelled())
            break;
        status = sqlite3_backup_step(backup, restarts >= MaxRestarts ? -1 : pagesPerStep);
        if (status == SQLITE_BUSY || status == SQLITE_LOCKED) {
            if ((waited += 20) > BusyTimeoutMs)
                break;
            QThread::msleep(20);
            continue;
        }
        waited = 0;
        const int remaining = sqlite3_backup_remaining(backup);
        const int total = sqlite3_backup_pagecount(backup);
        if (lastRemaining >= 0 && remaining > lastRemaining)
            ++restarts;
        lastRemaining = remaining;
        if (total != progress.total())
            progress.start(step, total);
        progress.moveTo(total - remaining);
    }
    sqlite3_backup_finish(backup);
    if (progress.cancelled())
        return Result::failure(BackupTr::tr("已取消。"));
    if (status != SQLITE_DONE)
        return Result::failure(cannotRead, QString::fromUtf8(sqlite3_errstr(status)));
    return {};
}

Result copyFromServer(const ServerConfig& server, const QString& targetPath, Progress& progress)
{
    const QString step = BackupTr::tr("正在从服务器复制记录…");
    progress.start(step, 100);
    const auto unread = [](const Result& cause) {
        return Result::failure(BackupTr::tr("无法从服务器读取孩子的记录，没有做任何更改。") + cause.message(),
                               cause.detail());
    };
    if (Result r = Database::create(targetPath); !r)
        return Result::failure(BackupTr::tr("无法在临时文件夹中写入数据库的副本。请检查临时文件夹所在的磁盘是否已满。"),
                               r.error());
    ScopedConnection source(server);
    if (Result r = source.connect(); !r)
        return unread(r);
    ScopedConnection target(targetPath);
    if (!target.open())
        return Result::failure(BackupTr::tr("无法在临时文件夹中写入数据库的副本。请检查临时文件夹所在的磁盘是否已满。"),
                               target.error());
    QSqlQuery snapshot(source.db());
    if (!snapshot.exec(QStringLiteral("START TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY")))
        return unread(DatabaseError::fromSqlError(snapshot.lastError()));
    Result copied;
    {
        TransactionGuard writes(target.db());
        copied = ServerCopy::copyTables(source.db(), target.db(), true,
                                        [&](const QString&, int percent) { progress.moveTo(percent); });
        if (copied)
            copied = writes.commit();
    }
    snapshot.exec(QStringLiteral("COMMIT"));
    if (progress.cancelled())
        return Result::failure(BackupTr::tr("已取消。"));
    if (!copied)
        return unread(copied);
    progress.moveTo(100);
    return {};
}

Result copyFamily(const FamilyFiles& source, const QString& targetPath, Progress& progress, int pagesPerStep)
{
    if (source.onServer())
        return copyFromServer(source.server, targetPath, progress);
    return copy(source.databasePath, targetPath, progress, pagesPerStep);
}

Result checkIntegrity(const QString& path)
{
    Connection db(path, SQLITE_OPEN_READONLY);
    if (!db.ok())
        return Result::failure(damaged(path), db.error());
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.handle(), "PRAGMA integrity_check(20)", -1, &statement, nullptr) != SQLITE_OK)
        return Result::failure(damaged(path), db.error());
    QStringList findings;
    int status;
    while ((status = sqlite3_step(statement)) == SQLITE_ROW)
        findings << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    if (status != SQLITE_DONE)
        return Result::failure(damaged(path), db.error());
    if (findings != QStringList{QStringLiteral("ok")})
        return Result::failure(damaged(path), findings.join(QLatin1Char('\n')));
    return {};
}

ResultOf<Versions> versions(const QString& path)
{
    const QString notOurs =
        BackupTr::tr("数据库文件%1不是本软件的数据库。请检查安装文件夹。").arg(FileErrors::quoted(path));
    Connection db(path, SQLITE_OPEN_READONLY);
    if (!db.ok())
        return Result::failure(damaged(path), db.error());
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.handle(), "SELECT name, value FROM kestrin_meta", -1, &statement, nullptr) != SQLITE_OK)
        return Result::failure(notOurs, db.error());
    Versions found;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const QByteArray name(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        if (name == "schema_version")
            found.schema = sqlite3_column_int(statement, 1);
        else if (name == "min_compatible_version")
            found.minCompatible = sqlite3_column_int(statement, 1);
    }
    sqlite3_finalize(statement);
    if (found.schema <= 0)
        return Result::failure(notOurs);
    // Files written before the minimum was kept can be read by their own version and later.
    if (found.minCompatible <= 0)
        found.minCompatible = found.schema;
    return found;
}

Result recordBackupTime(const QString& path, const QDateTime& when)
{
    Connection db(path, SQLITE_OPEN_READWRITE);
    sqlite3_stmt* statement = nullptr;
    if (!db.ok() || sqlite3_prepare_v2(db.handle(), "INSERT OR REPLACE INTO kestrin_meta (name, value) VALUES (?, ?)",
                                       -1, &statement, nullptr) != SQLITE_OK)
        return Result::failure(BackupTr::tr("无法在数据库副本中记下备份时间，备份没有进行。请稍后再试。"), db.error());
    const QByteArray name = BackupRecord::LastBackupKey.toUtf8();
    const QByteArray value = BackupRecord::timeText(when).toUtf8();
    sqlite3_bind_text(statement, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    const int status = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (status != SQLITE_DONE)
        return Result::failure(BackupTr::tr("无法在数据库副本中记下备份时间，备份没有进行。请稍后再试。"), db.error());
    return {};
}

} // namespace DatabaseSnapshot

#include "backup/RecordsLock.h"

#include "data/Database.h"
#include "data/DatabaseError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QThread>

#include <atomic>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

RecordsLock* registered = nullptr;

constexpr std::chrono::milliseconds RetryEvery{50};

} // namespace

RecordsLock::RecordsLock(QString databasePath)
    : m_databasePath(std::move(databasePath)),
      m_server(ServerConfig::read(ServerConfig::fileIn(QFileInfo(m_databasePath).absolutePath())))
{
}

RecordsLock::~RecordsLock()
{
    if (registered == this)
        registered = nullptr;
    if (m_fd >= 0)
        ::close(m_fd);
    // A program's lock may outlive the application object (it ends with the program's statics),
    // when Qt's connections are gone: the server then drops the session with the process.
    if (!m_connectionName.isEmpty() && QCoreApplication::instance()) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

QSqlDatabase RecordsLock::serverConnection()
{
    if (m_connectionName.isEmpty()) {
        static std::atomic_int counter{0};
        m_connectionName = QStringLiteral("kestrin-records-lock-%1").arg(++counter);
        QSqlDatabase db = Database::serverConnection(m_connectionName, m_server);
        // The name other computers see when this program keeps a restore waiting.
        QString name = QCoreApplication::applicationName() + QLatin1Char('@') + QSysInfo::machineHostName();
        name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._@-]")), QStringLiteral("_"));
        db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=") + name.left(60));
    }
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen() && !db.open())
        m_serverError = Database::serverConnectionFailure(m_server, db.lastError()).error();
    return db;
}

bool RecordsLock::tryOnServer(Mode mode)
{
    const Held wanted = mode == Mode::Exclusive ? Held::Exclusive : Held::Shared;
    if (!m_server.usesServer() || m_serverHeld == wanted)
        return true;
    m_serverError.clear();
    QSqlDatabase db = serverConnection();
    if (!db.isOpen())
        return false;
    // A session's own lock never stands in its way: the new mode is taken before the old goes.
    QSqlQuery query(db);
    const char* take = wanted == Held::Exclusive ? "pg_try_advisory_lock" : "pg_try_advisory_lock_shared";
    if (!query.exec(QStringLiteral("SELECT %1(%2)").arg(QLatin1String(take)).arg(ServerKey)) || !query.next()) {
        m_serverError = DatabaseError::fromSqlError(query.lastError()).error();
        return false;
    }
    if (!query.value(0).toBool())
        return false;
    if (m_serverHeld != Held::None) {
        const char* drop = m_serverHeld == Held::Exclusive ? "pg_advisory_unlock" : "pg_advisory_unlock_shared";
        query.exec(QStringLiteral("SELECT %1(%2)").arg(QLatin1String(drop)).arg(ServerKey));
    }
    m_serverHeld = wanted;
    return true;
}

QStringList RecordsLock::serverHolders()
{
    if (!m_server.usesServer())
        return {};
    QSqlDatabase db = serverConnection();
    if (!db.isOpen())
        return {};
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT DISTINCT a.application_name, host(a.client_addr) FROM pg_locks l "
                                 "JOIN pg_stat_activity a ON a.pid = l.pid "
                                 "WHERE l.locktype = 'advisory' AND l.granted AND l.pid <> pg_backend_pid() "
                                 "AND l.database = (SELECT oid FROM pg_database WHERE datname = current_database()) "
                                 "AND l.classid = ? AND l.objid = ? AND l.objsubid = 1 ORDER BY 1, 2"));
    query.addBindValue(qint64(quint64(ServerKey) >> 32));
    query.addBindValue(qint64(quint64(ServerKey) & 0xffffffffu));
    QStringList holders;
    if (!query.exec())
        return holders;
    while (query.next()) {
        QString holder = query.value(0).toString();
        if (holder.isEmpty())
            holder = QStringLiteral("?");
        if (const QString address = query.value(1).toString(); !address.isEmpty())
            holder += QStringLiteral("（%1）").arg(address);
        holders << holder;
    }
    return holders;
}

QString RecordsLock::lockFilePath(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteFilePath() + QStringLiteral(".lock");
}

bool RecordsLock::tryOnce(Mode mode)
{
    if (m_fd < 0) {
        const QString path = lockFilePath(m_databasePath);
        QDir().mkpath(QFileInfo(path).absolutePath());
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0)
            return false;
    }
    const auto take = [this](int operation) {
        int result;
        do
            result = ::flock(m_fd, operation);
        while (result != 0 && errno == EINTR);
        return result == 0;
    };
    if (!take((mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB))
        return false;
    if (tryOnServer(mode))
        return true;
    // The server refused: the file lock goes back to what it was.
    take(m_locked ? (m_mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB : LOCK_UN);
    return false;
}

bool RecordsLock::lock(Mode mode, std::chrono::milliseconds wait)
{
    if (m_locked && m_mode == mode)
        return true;
    const bool held = m_locked;
    const Mode before = m_mode;
    for (std::chrono::milliseconds waited{0};; waited += RetryEvery) {
        if (tryOnce(mode)) {
            m_locked = true;
            m_mode = mode;
            return true;
        }
        if (waited >= wait)
            break;
        QThread::msleep(RetryEvery.count());
    }
    // A change of a lock may drop the old one before it fails.
    m_locked = held && tryOnce(before);
    m_mode = before;
    return false;
}

void RecordsLock::unlock()
{
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_UN);
    if (m_serverHeld != Held::None)
        QSqlQuery(QSqlDatabase::database(m_connectionName, false))
            .exec(QStringLiteral("SELECT pg_advisory_unlock_all()"));
    m_serverHeld = Held::None;
    m_locked = false;
}

RecordsLock* RecordsLock::programLock(const QString& databasePath)
{
    if (!registered)
        return nullptr;
    const QString mine = QFileInfo(registered->m_databasePath).absoluteFilePath();
    return mine == QFileInfo(databasePath).absoluteFilePath() ? registered : nullptr;
}

void RecordsLock::setProgramLock(RecordsLock* lock)
{
    registered = lock;
}

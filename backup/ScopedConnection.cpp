#include "backup/ScopedConnection.h"

#include "backup/BackupTr.h"
#include "backup/FileErrors.h"
#include "data/Database.h"

#include <QSqlError>

#include <atomic>

namespace {

std::atomic_int counter{0};

QString nextName()
{
    return QStringLiteral("kestrin-backup-%1").arg(++counter);
}

} // namespace

ScopedConnection::ScopedConnection(const QString& path)
    : m_name(nextName()), m_db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name))
{
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
}

ScopedConnection::ScopedConnection(const ServerConfig& server)
    : m_name(nextName()), m_server(server), m_db(Database::serverConnection(m_name, server))
{
}

ScopedConnection::~ScopedConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool ScopedConnection::open()
{
    return m_db.open();
}

QString ScopedConnection::error() const
{
    return m_db.lastError().text();
}

Result ScopedConnection::connect()
{
    if (m_db.open())
        return {};
    if (m_server.usesServer())
        return Database::serverConnectionFailure(m_server, m_db.lastError());
    return Result::failure(
        BackupTr::tr("无法打开数据库文件%1。请检查它是否还在原处。").arg(FileErrors::quoted(m_db.databaseName())),
        error());
}

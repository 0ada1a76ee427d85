#include "backup/ScopedConnection.h"

#include <QSqlError>

#include <atomic>

namespace {
std::atomic_int counter{0};
}

ScopedConnection::ScopedConnection(const QString& path)
    : m_name(QStringLiteral("kestrin-backup-%1").arg(++counter)),
      m_db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name))
{
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
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

#pragma once

#include "common/Result.h"
#include "common/ServerConfig.h"

#include <QSqlDatabase>
#include <QString>

// A database connection of its own for one task, opened and closed in the thread that runs the
// task (Qt connections must not cross threads). Removed from Qt's list when it goes.
class ScopedConnection
{
public:
    // A database file.
    explicit ScopedConnection(const QString& path);
    // The family's database on a server.
    explicit ScopedConnection(const ServerConfig& server);
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    bool open();
    QString error() const;
    // Opens the connection; a server that cannot be reached is said in Chinese, with the reason.
    Result connect();
    const QSqlDatabase& db() const { return m_db; }

private:
    QString m_name;
    ServerConfig m_server;
    QSqlDatabase m_db;
};

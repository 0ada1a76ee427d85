#pragma once

#include <QSqlDatabase>
#include <QString>

// A database connection of its own for one task, opened and closed in the thread that runs the
// task (Qt connections must not cross threads). Removed from Qt's list when it goes.
class ScopedConnection
{
public:
    explicit ScopedConnection(const QString& path);
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    bool open();
    QString error() const;
    const QSqlDatabase& db() const { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

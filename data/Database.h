#pragma once

#include "common/Result.h"
#include "common/ServerConfig.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The program's one connection to the family's database file.
class Database
{
public:
    static inline const QString ConnectionName = QStringLiteral("kestrin");
    // Version of the tables this program knows; kept in kestrin_meta under "schema_version".
    static constexpr int SchemaVersion = 2;
    // The oldest program version that can still work with a file this program wrote; kept under
    // "min_compatible_version". A later program that only adds to the file leaves it low, so
    // older programs sharing the file keep working.
    static constexpr int MinimumCompatibleVersion = 1;

    enum class Compatibility
    {
        Current,
        // Older than this program: the upgrade steps bring it up to date.
        Older,
        // Written by a newer program that still allows this one to use it.
        NewerCompatible,
        // Written by a newer program that this one must not touch.
        TooNew
    };
    // How a file of this version, readable from minCompatible on, stands to this program.
    static Compatibility compatibility(int version, int minCompatible);

    // Opens the file the data source names; a missing file is created first.
    static Result openFromDataSource(const QString& dataSourceName);
    // Opens path as the program's connection; a missing file is created from the schema and seed.
    static Result open(const QString& path);
    // Opens the server's database as the program's connection: an empty one gets the whole
    // schema and the shipped rows, one that has it is checked and brought up to date as a file
    // is. A failure says in Chinese what is wrong; nothing falls back to a local file.
    static Result openServer(const ServerConfig& server);
    // Connects once to say whether the server can be used (reachable, password, database,
    // version), without touching the program's connection.
    static Result testServer(const ServerConfig& server);
    // A connection of the caller's own to the server, not opened yet (a task on another thread,
    // a lock held beside the program's connection). Removing it is the caller's.
    static QSqlDatabase serverConnection(const QString& name, const ServerConfig& server);
    // Why opening such a connection failed, in words a parent can act on.
    static Result serverConnectionFailure(const ServerConfig& server, const QSqlError& error);
    // Whether the program's connection is a server's.
    static bool isServer();
    // Key of the server lock under which a database is checked or given its tables.
    static constexpr qint64 SchemaLockKey = 0x6b657374'00000001;
    static void close();
    static QSqlDatabase connection();

    // Writes a new database file with every table and the shipped rows. The file appears
    // whole or not at all. Fails if path exists.
    static Result create(const QString& path);
};

// Runs a group of writes as one: rolls back unless commit() was called.
class TransactionGuard
{
public:
    explicit TransactionGuard(QSqlDatabase db = Database::connection());
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

    bool started() const { return m_started; }
    Result commit();

private:
    QSqlDatabase m_db;
    bool m_started = false;
    bool m_done = false;
};

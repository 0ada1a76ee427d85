#pragma once

#include "common/Result.h"

#include <QString>

// Where the family's records live, as the installation's database/kestrin-server.ini says:
//
//     [Server]
//     host=nas.local
//     port=5432
//     database=kestrin
//     user=family
//     [Media]
//     folder=/mnt/family/kestrin-media
//
// No file, or a file without a [Server] host, means the local database file. The password is
// never kept here: it lies in the user's ~/.pgpass, where the PostgreSQL client library finds it.
struct ServerConfig
{
    static constexpr int DefaultPort = 5432;

    QString host;
    int port = DefaultPort;
    QString database;
    QString user;
    // A media folder shared by several computers; empty means the installation's own.
    QString mediaFolder;

    bool usesServer() const { return !host.trimmed().isEmpty(); }

    // The settings file of the installation whose database folder is databaseFolder.
    static QString fileIn(const QString& databaseFolder);
    static ServerConfig read(const QString& iniPath);
    // Writes the file whole (or leaves the old one); a config without a server drops [Server].
    Result write(const QString& iniPath) const;
};

// libpq's password file: $PGPASSFILE, else ~/.pgpass, readable by its owner only.
namespace PgPass {

QString path();
// Stores the password for host:port:database:user, replacing an earlier line for the same four.
Result store(const ServerConfig& server, const QString& password);

} // namespace PgPass

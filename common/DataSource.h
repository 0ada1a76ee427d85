#pragma once

#include "common/Result.h"
#include "common/ServerConfig.h"

#include <QString>

// The user data source through which every program reaches the family's database.
namespace DataSource {

inline const QString Name = QStringLiteral("kestrin");
inline const QString Driver = QStringLiteral("SQLite3");
inline const QString ServerDriver = QStringLiteral("PostgreSQL Unicode");

// Where the database lies, seen from a program's own folder (the current directory).
QString defaultDatabasePath();

// The file that holds the user's data sources: $ODBCINI, else ~/.odbc.ini.
QString userConfigFile();

// Writes (or rewrites) the user data source: driver, description and database file.
Result registerDataSource(const QString& name, const QString& databasePath);

// Writes (or rewrites) the user data source for a PostgreSQL server: driver, description,
// server, port, database and user. The password stays in ~/.pgpass, where the driver finds it.
Result registerServerDataSource(const QString& name, const ServerConfig& server);

// The database file a registered data source names; empty when it has none.
QString databasePath(const QString& name);

} // namespace DataSource

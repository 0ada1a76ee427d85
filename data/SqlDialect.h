#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// The statements of the programs are written once, naming tables and columns in square brackets
// or bare; this turns them into the text the connection's engine reads. Identifiers are quoted
// by the driver. For the SQLite file the text stays as written. For a PostgreSQL server the
// bracketed names and the bare names of the schema's tables and columns are quoted (so "user"
// and "ID" mean the table and the column, not a keyword and "id"), and LIKE becomes ILIKE, which
// like SQLite's LIKE ignores the case of Latin letters.
namespace SqlDialect {

bool isServer(const QSqlDatabase& db);
QString statement(const QSqlDatabase& db, const QString& text);
// Prepares text on query's connection in that engine's words.
bool prepare(QSqlQuery& query, const QString& text);
// A server statement's "?" placeholders (outside quoted texts) as the numbered $1, $2, ... that
// the server's client library reads, in UTF-8.
QByteArray numbered(const QString& sql);
// A statement of the schema script: column types become the server's own as well.
QString definition(const QSqlDatabase& db, const QString& text);

} // namespace SqlDialect

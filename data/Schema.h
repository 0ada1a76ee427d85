#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The one description of the family's tables: schema.sql, from which each engine's statements
// are made (see SqlDialect).
namespace Schema {

// A file shipped inside the programs (schema.sql, seed.sql, reference/..., articles/...).
QString resource(const QString& name);
// The tables the schema creates, each with its columns in order.
const QList<std::pair<QString, QStringList>>& tables();
// Every table and column name of the schema.
const QSet<QString>& identifiers();
bool isTable(const QString& name);

} // namespace Schema

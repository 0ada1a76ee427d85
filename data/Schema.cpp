#include "data/Schema.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QList<std::pair<QString, QStringList>> readTables()
{
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (?:IF NOT EXISTS )?\\[?([^\\]\\s(]+)\\]?"));
    static const QRegularExpression column(QStringLiteral("^\\s+\\[?([^\\]\\s]+)\\]?\\s"));
    QList<std::pair<QString, QStringList>> tables;
    const QStringList lines = Schema::resource(QStringLiteral("schema.sql")).split(QLatin1Char('\n'));
    bool inTable = false;
    for (const QString& line : lines) {
        if (const QRegularExpressionMatch m = table.match(line); m.hasMatch()) {
            tables.append({m.captured(1), {}});
            inTable = true;
        } else if (line.startsWith(QStringLiteral(")"))) {
            inTable = false;
        } else if (const QRegularExpressionMatch c = column.match(line); inTable && c.hasMatch()) {
            tables.last().second << c.captured(1);
        }
    }
    return tables;
}

} // namespace

namespace Schema {

QString resource(const QString& name)
{
    QFile file(QStringLiteral(":/kestrin/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

const QList<std::pair<QString, QStringList>>& tables()
{
    static const QList<std::pair<QString, QStringList>> all = readTables();
    return all;
}

const QSet<QString>& identifiers()
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const auto& [table, columns] : tables()) {
            set.insert(table);
            for (const QString& column : columns)
                set.insert(column);
        }
        return set;
    }();
    return names;
}

} // namespace Schema

bool Schema::isTable(const QString& name)
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const auto& table : tables())
            set.insert(table.first);
        return set;
    }();
    return names.contains(name);
}

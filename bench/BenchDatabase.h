#pragma once

#include "data/Database.h"

#include <QString>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

// Opens a fresh family database in dir as the program's connection and gives its path; empty,
// after saying why on stderr, when it cannot.
inline QString openBenchDatabase(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("kestrin.db"));
    if (Result r = Database::open(path); !r) {
        QTextStream(stderr) << r.error() << '\n';
        return {};
    }
    return path;
}

// A text column of the current row of a raw statement, as the baselines read it.
inline QString columnText(sqlite3_stmt* statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

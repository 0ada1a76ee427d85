#pragma once

#include "data/Database.h"

#include <QFile>
#include <QSqlQuery>
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

// The file opened read-only for a baseline that reads through the raw SQLite C API, in the mode
// Qt's driver opens the suite's own connection (no lock around every call), so that both sides
// pay the same engine costs; null when it cannot be opened.
inline sqlite3* openRawDatabase(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

// A text column of the current row of a raw statement, as the baselines read it.
inline QString columnText(sqlite3_stmt* statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

// A catalogue of `records` picture records of filesPerRecord files each (宝宝照片N-F.jpg), dated
// over fifteen years, as a family that has used Reelbox for long has.
inline void fillCatalogue(int records, int filesPerRecord)
{
    TransactionGuard transaction;
    QSqlQuery insert(Database::connection());
    insert.prepare(QStringLiteral("INSERT INTO mplay (riqi, [key], leixing, miaoshu, music) VALUES (?, ?, ?, ?, ?)"));
    for (int i = 0; i < records; ++i) {
        QString music;
        for (int f = 0; f < filesPerRecord; ++f)
            music += QStringLiteral(" 宝宝照片%1-%2.jpg").arg(i).arg(f);
        insert.addBindValue(QStringLiteral("20%1\\%2\\%3")
                                .arg(10 + i % 15)
                                .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
        insert.addBindValue(QStringLiteral("生日%1").arg(i % 50));
        insert.addBindValue(QStringLiteral("图像文件"));
        insert.addBindValue(QStringLiteral("在公园里玩"));
        insert.addBindValue(music);
        insert.exec();
    }
    (void)transaction.commit();
}

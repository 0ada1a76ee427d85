#pragma once

#include "data/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// A fresh family database in a temporary folder, opened as the program's connection.
class TestDatabase
{
public:
    TestDatabase()
    {
        const Result opened = Database::open(path());
        if (!opened)
            qFatal("cannot open test database: %s", qPrintable(opened.error()));
    }
    ~TestDatabase() { Database::close(); }

    QString path() const { return m_dir.filePath(QStringLiteral("database/kestrin.db")); }
    QString folder() const { return m_dir.path(); }

    // The first column of the first row of a query, read through a separate connection, so
    // tests see what reached the file.
    QVariant scalar(const QString& sql, const QVariantList& values = {}) const
    {
        QVariant result;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-reader"));
            db.setDatabaseName(path());
            if (db.open()) {
                QSqlQuery query(db);
                query.prepare(sql);
                for (const QVariant& v : values)
                    query.addBindValue(v);
                if (query.exec() && query.next())
                    result = query.value(0);
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-reader"));
        return result;
    }

    int count(const QString& table, const QString& where = {}, const QVariantList& values = {}) const
    {
        const QString sql = QStringLiteral("SELECT count(*) FROM [") + table + QLatin1Char(']') +
                            (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
        return scalar(sql, values).toInt();
    }

    void exec(const QString& sql, const QVariantList& values = {}) const
    {
        QSqlQuery query(Database::connection());
        QVERIFY(query.prepare(sql));
        for (const QVariant& v : values)
            query.addBindValue(v);
        QVERIFY2(query.exec(), qPrintable(sql));
    }

private:
    QTemporaryDir m_dir;
};

// Writes a file that SQLite refuses as a database, at path (its folder is made).
inline void writeNotADatabase(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile bad(path);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a database at all, just some text that fills the header page");
}

#pragma once

#include "data/Database.h"
#include "data/SqlDialect.h"
#include "tests/support/PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// A fresh family database, opened as the program's connection: a file in a temporary folder,
// or, when the tests run with KESTRIN_TEST_BACKEND=postgresql, a new database on the test
// program's PostgreSQL server.
class TestDatabase
{
public:
    static bool onServer() { return qEnvironmentVariable("KESTRIN_TEST_BACKEND") == QLatin1String("postgresql"); }

    TestDatabase()
    {
        const Result opened = onServer() ? openOnServer() : Database::open(path());
        if (!opened)
            qFatal("cannot open test database: %s %s", qPrintable(opened.error()), qPrintable(opened.detail()));
    }
    ~TestDatabase() { Database::close(); }

    // Opens this database again as the program's connection.
    Result reopen() const { return onServer() ? Database::openServer(server()) : Database::open(path()); }

    // The server's settings for this database (empty host for a file).
    ServerConfig server() const
    {
        return m_serverName.isEmpty() ? ServerConfig{} : PostgresServer::instance().config(m_serverName);
    }

    QString path() const { return m_dir.filePath(QStringLiteral("database/kestrin.db")); }
    QString folder() const { return m_dir.path(); }

    // The first column of the first row of a query, read through a separate connection, so
    // tests see what reached the file.
    QVariant scalar(const QString& sql, const QVariantList& values = {}) const
    {
        QVariant result;
        {
            QSqlDatabase db = readerConnection();
            if (db.open()) {
                QSqlQuery query(db);
                SqlDialect::prepare(query, sql);
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
        // The server prepares only reads and writes of rows; definitions run directly.
        if (values.isEmpty() && onServer()) {
            QVERIFY2(query.exec(SqlDialect::statement(Database::connection(), sql)),
                     qPrintable(sql + QLatin1Char(' ') + query.lastError().text()));
            return;
        }
        QVERIFY(SqlDialect::prepare(query, sql));
        for (const QVariant& v : values)
            query.addBindValue(v);
        QVERIFY2(query.exec(), qPrintable(sql));
    }

private:
    Result openOnServer()
    {
        PostgresServer& server = PostgresServer::instance();
        if (!server.running())
            return Result::failure(QStringLiteral("the PostgreSQL test server did not start"), server.failure());
        // The schema is made once per test program and copied for every test.
        static QString templateName;
        if (templateName.isEmpty()) {
            const QString name = server.createDatabase();
            if (Result r = Database::openServer(server.config(name)); !r)
                return r;
            Database::close();
            templateName = name;
        }
        m_serverName = server.createDatabase(templateName);
        return Database::openServer(server.config(m_serverName));
    }

    QSqlDatabase readerConnection() const
    {
        if (m_serverName.isEmpty()) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-reader"));
            db.setDatabaseName(path());
            return db;
        }
        const ServerConfig c = server();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("test-reader"));
        db.setHostName(c.host);
        db.setPort(c.port);
        db.setDatabaseName(c.database);
        db.setUserName(c.user);
        return db;
    }

    QTemporaryDir m_dir;
    QString m_serverName;
};

// Writes a file that SQLite refuses as a database, at path (its folder is made).
inline void writeNotADatabase(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile bad(path);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a database at all, just some text that fills the header page");
}

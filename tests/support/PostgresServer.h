#pragma once

#include "common/ServerConfig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

// A real PostgreSQL 15 server in a temporary folder, started once per test program on a free
// loopback port and stopped when the program ends. The server runs as an unprivileged account
// (the tests may run as root, which PostgreSQL refuses). It asks for the password over TCP, and
// the password lies in a .pgpass file of the test's own, as a family's would.
//
// If the server cannot be started the tests fail and say why: nothing is skipped.
class PostgresServer
{
public:
    static inline const QString User = QStringLiteral("family");
    static inline const QString Password = QStringLiteral("kestrin-test-secret");

    static PostgresServer& instance()
    {
        static PostgresServer server;
        return server;
    }

    bool running() const { return m_running; }
    const QString& failure() const { return m_failure; }
    int port() const { return m_port; }

    // Settings that name database on this server.
    ServerConfig config(const QString& database) const
    {
        ServerConfig c;
        c.host = QStringLiteral("127.0.0.1");
        c.port = m_port;
        c.database = database;
        c.user = User;
        return c;
    }

    // Runs a statement as the administrator, in the maintenance database.
    bool admin(const QString& sql, QString* error = nullptr) const
    {
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("pg-admin"));
            db.setHostName(QStringLiteral("127.0.0.1"));
            db.setPort(m_port);
            db.setDatabaseName(QStringLiteral("postgres"));
            db.setUserName(User);
            if (db.open()) {
                QSqlQuery query(db);
                ok = query.exec(sql);
                if (!ok && error)
                    *error = query.lastError().text();
            } else if (error) {
                *error = db.lastError().text();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pg-admin"));
        return ok;
    }

    // A new empty database; its name is returned.
    QString createDatabase(const QString& templateName = {})
    {
        const QString name = QStringLiteral("kestrin_%1").arg(++m_databases);
        QString error;
        const QString sql =
            templateName.isEmpty()
                ? QStringLiteral("CREATE DATABASE %1").arg(name)
                : QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY").arg(name, templateName);
        if (!admin(sql, &error))
            qFatal("cannot create a test database on the PostgreSQL server: %s", qPrintable(error));
        return name;
    }

    QString passwordFile() const { return m_dir.filePath(QStringLiteral("pgpass")); }

    ~PostgresServer()
    {
        if (m_running)
            run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                                           QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    }

private:
    PostgresServer()
    {
        m_running = start();
        if (!m_running)
            qWarning("PostgreSQL test server could not be started: %s", qPrintable(m_failure));
    }

    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

    static QString binDir()
    {
        for (const char* dir : {"/usr/lib/postgresql/15/bin", "/usr/lib/postgresql/16/bin"}) {
            if (QFile::exists(QString::fromLatin1(dir) + QStringLiteral("/initdb")))
                return QString::fromLatin1(dir);
        }
        return {};
    }

    static int freePort()
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        int port = 0;
        if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        ::close(s);
        return port;
    }

    // Runs a server tool, as the unprivileged account when the tests run as root.
    bool run(const QString& tool, const QStringList& arguments, QString* output = nullptr) const
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        const QString program = binDir() + QLatin1Char('/') + tool;
        if (::geteuid() == 0)
            process.start(QStringLiteral("runuser"),
                          QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), program} +
                              arguments);
        else
            process.start(program, arguments);
        const bool finished = process.waitForFinished(60000);
        if (output)
            *output = QString::fromLocal8Bit(process.readAll());
        return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // A new cluster, copied from one made before by any test program of this machine: initdb is
    // the slowest part of the start.
    bool makeCluster(const QString& pwfile, QString& output) const
    {
        const QString cache = QDir::tempPath() + QStringLiteral("/kestrin-pg15-cluster-%1").arg(::geteuid());
        const auto copy = [](const QString& from, const QString& to) {
            return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to}) == 0;
        };
        if (QFile::exists(cache + QStringLiteral("/PG_VERSION")) && copy(cache, dataDir()))
            return true;
        if (!run(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), User, QStringLiteral("--pwfile=") + pwfile,
                  QStringLiteral("--auth-local=trust"), QStringLiteral("--auth-host=scram-sha-256"),
                  QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                  QStringLiteral("--no-sync")},
                 &output))
            return false;
        // Put in place whole under its final name, so a program starting meanwhile never copies
        // half a cluster.
        const QString partial = cache + QStringLiteral(".%1").arg(::getpid());
        if (copy(dataDir(), partial) && !QDir().rename(partial, cache))
            QDir(partial).removeRecursively();
        return true;
    }

    bool start()
    {
        if (binDir().isEmpty()) {
            m_failure = QStringLiteral("PostgreSQL 15 is not installed (run scripts/install-deps.sh)");
            return false;
        }
        if (!m_dir.isValid()) {
            m_failure = QStringLiteral("no temporary folder");
            return false;
        }
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                                QFileDevice::ReadOther | QFileDevice::WriteOther |
                                                QFileDevice::ExeOther);
        if (::geteuid() == 0) {
            if (const passwd* nobody = ::getpwnam("nobody"); !nobody) {
                m_failure = QStringLiteral("no unprivileged account 'nobody' to run the server");
                return false;
            } else if (::chown(QFile::encodeName(m_dir.path()).constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
                m_failure = QStringLiteral("cannot hand the temporary folder to 'nobody'");
                return false;
            }
        }
        const QString pwfile = m_dir.filePath(QStringLiteral("pw"));
        {
            QFile pw(pwfile);
            if (!pw.open(QIODevice::WriteOnly) || pw.write(Password.toUtf8()) < 0) {
                m_failure = QStringLiteral("cannot write the password file");
                return false;
            }
            pw.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
        }
        QString output;
        if (!makeCluster(pwfile, output)) {
            m_failure = QStringLiteral("initdb failed: ") + output;
            return false;
        }
        QFile::remove(pwfile);
        m_port = freePort();
        const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                                               "-c synchronous_commit=off -c full_page_writes=off")
                                    .arg(m_port)
                                    .arg(m_dir.path());
        if (!run(QStringLiteral("pg_ctl"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-o"), options, QStringLiteral("-l"),
                  m_dir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("start")},
                 &output)) {
            QFile log(m_dir.filePath(QStringLiteral("server.log")));
            log.open(QIODevice::ReadOnly);
            m_failure = QStringLiteral("pg_ctl start failed: ") + output + QString::fromLocal8Bit(log.readAll());
            return false;
        }
        // The password is found where the client library looks for it, as on a family's computer.
        qputenv("PGPASSFILE", QFile::encodeName(passwordFile()));
        ServerConfig any = config(QStringLiteral("*"));
        if (!PgPass::store(any, Password)) {
            m_failure = QStringLiteral("cannot write the .pgpass file");
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/kestrin-pg-XXXXXX")};
    bool m_running = false;
    QString m_failure;
    int m_port = 0;
    int m_databases = 0;
};

// Fails the calling test when the server did not start, saying why.
#define REQUIRE_POSTGRES()                                                                                             \
    QVERIFY2(PostgresServer::instance().running(),                                                                     \
             qPrintable(QStringLiteral("the PostgreSQL test server did not start: ") +                                 \
                        PostgresServer::instance().failure()))

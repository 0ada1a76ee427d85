#include "tests/support/PostgresServer.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include "common/DataSource.h"
#include "common/ui/DatabaseLocationDialog.h"
#include "data/DatabaseError.h"
#include "data/MediaReferences.h"
#include "data/Records.h"
#include "data/Schema.h"
#include "data/ServerCopy.h"
#include "data/tables/CBNRONG.h"
#include "data/tables/Categories.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlDriver>
#include <QSqlRecord>

// The family's records on a PostgreSQL server: a new database gets everything a new file has,
// two computers on one server never overwrite each other, and what goes wrong is said in Chinese.
class TestServer : public QObject
{
    Q_OBJECT

private:
    static int count(QSqlDatabase db, const QString& table)
    {
        QSqlQuery query(db);
        if (!SqlDialect::prepare(query, QStringLiteral("SELECT count(*) FROM [%1]").arg(table)) || !query.exec() ||
            !query.next())
            return -1;
        return query.value(0).toInt();
    }

    // A second program's connection to the same database.
    static QSqlDatabase second(const ServerConfig& c)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("second-computer"));
        db.setHostName(c.host);
        db.setPort(c.port);
        db.setDatabaseName(c.database);
        db.setUserName(c.user);
        if (db.open())
            QSqlQuery(db).exec(
                QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL SERIALIZABLE"));
        return db;
    }

    static void addRecord(const QString& title)
    {
        CBNRONG records;
        QVERIFY(Records::add(records, [&](Recordset& r) {
                    auto& b = static_cast<CBNRONG&>(r);
                    b.m_username = QStringLiteral("小明");
                    b.m_title = title;
                    b.m_leixing = QStringLiteral("咳嗽");
                    b.m_riqi = 20260101;
                }).ok());
    }

private slots:
    void initTestCase() { REQUIRE_POSTGRES(); }

    void anEmptyServerDatabaseGetsWhatANewFileHas()
    {
        QTemporaryDir dir;
        QVERIFY(Database::open(dir.filePath(QStringLiteral("kestrin.db"))).ok());
        QMap<QString, int> fileCounts;
        QMap<QString, QStringList> fileColumns;
        for (const auto& [table, columns] : Schema::tables()) {
            fileCounts[table] = count(Database::connection(), table);
            fileColumns[table] = Database::connection().record(table).count() ? columns : QStringList{};
        }
        Database::close();

        PostgresServer& server = PostgresServer::instance();
        const ServerConfig config = server.config(server.createDatabase());
        QVERIFY2(Database::openServer(config).ok(), "a new server database is made");
        QVERIFY(Database::isServer());
        for (const auto& [table, columns] : Schema::tables()) {
            QCOMPARE(count(Database::connection(), table), fileCounts[table]);
            QStringList serverColumns;
            const QSqlRecord record = Database::connection().record(table);
            for (int i = 0; i < record.count(); ++i)
                serverColumns << record.fieldName(i);
            QCOMPARE(serverColumns, columns);
        }
        QVERIFY(fileCounts[QStringLiteral("nanhigh")] > 0);
        QVERIFY(fileCounts[QStringLiteral("bing")] > 0);

        // Opened again, it is checked, not made a second time.
        Database::close();
        QVERIFY(Database::openServer(config).ok());
        QCOMPARE(count(Database::connection(), QStringLiteral("bing")), fileCounts[QStringLiteral("bing")]);
        Database::close();
    }

    void aDatabaseOfANewerProgramOrAnotherSoftwareIsRefused()
    {
        PostgresServer& server = PostgresServer::instance();
        const ServerConfig newer = server.config(server.createDatabase());
        QVERIFY(Database::openServer(newer).ok());
        QSqlQuery(Database::connection())
            .exec(QStringLiteral("UPDATE kestrin_meta SET value = '99' WHERE name IN "
                                 "('schema_version', 'min_compatible_version')"));
        Database::close();
        const Result tooNew = Database::openServer(newer);
        QVERIFY(!tooNew);
        QVERIFY2(tooNew.message().contains(QStringLiteral("较新版本")), qPrintable(tooNew.message()));
        QVERIFY(!Database::connection().isOpen());

        const ServerConfig other = server.config(server.createDatabase());
        QVERIFY(server.admin(QStringLiteral("SELECT 1")));
        {
            QSqlDatabase db = second(other);
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE invoices (id integer)")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("second-computer"));
        const Result foreign = Database::openServer(other);
        QVERIFY(!foreign);
        QVERIFY2(foreign.message().contains(QStringLiteral("不是本软件的数据库")), qPrintable(foreign.message()));
    }

    void connectionFailuresAreToldInChinese()
    {
        PostgresServer& server = PostgresServer::instance();
        ServerConfig missing = server.config(QStringLiteral("no_such_family"));
        Result r = Database::testServer(missing);
        QVERIFY2(r.message().contains(QStringLiteral("没有数据库“no_such_family”")), qPrintable(r.message()));

        ServerConfig nobody = server.config(QStringLiteral("postgres"));
        nobody.user = QStringLiteral("grandma");
        r = Database::openServer(nobody);
        QVERIFY(!r);
        QVERIFY2(r.message().contains(QStringLiteral("密码")) || r.message().contains(QStringLiteral("没有用户")),
                 qPrintable(r.message()));
        QVERIFY(!Database::connection().isOpen());

        ServerConfig closed = server.config(QStringLiteral("postgres"));
        closed.port = 1;
        r = Database::testServer(closed);
        QVERIFY2(r.message().contains(QStringLiteral("连不上服务器")), qPrintable(r.message()));
        QVERIFY(!r.detail().isEmpty());

        // A wrong password in .pgpass.
        QTemporaryDir dir;
        const QByteArray saved = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", QFile::encodeName(dir.filePath(QStringLiteral("pgpass"))));
        QVERIFY(PgPass::store(server.config(QStringLiteral("postgres")), QStringLiteral("wrong")).ok());
        QCOMPARE(QFileInfo(PgPass::path()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions{});
        r = Database::testServer(server.config(QStringLiteral("postgres")));
        qputenv("PGPASSFILE", saved);
        QVERIFY2(r.message().contains(QStringLiteral("密码")), qPrintable(r.message()));
        QVERIFY(Database::testServer(server.config(QStringLiteral("postgres"))).ok());
    }

    void aChangeFromAnotherComputerIsNotOverwritten()
    {
        TestDatabase db;
        addRecord(QStringLiteral("咳嗽三天"));
        const ServerConfig config = db.server();
        CBNRONG shown;
        QVERIFY(shown.open().ok());
        const Records::RowVersion version = Records::versionOf(shown);
        const qint64 id = shown.m_id;
        {
            QSqlDatabase other = second(config);
            QSqlQuery query(other);
            QVERIFY(SqlDialect::prepare(query, QStringLiteral("UPDATE [bnrong] SET [title]=? WHERE [id]=?")));
            query.addBindValue(QStringLiteral("妈妈改过的标题"));
            query.addBindValue(id);
            QVERIFY(query.exec());
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("second-computer"));
        const auto outcome = Records::change(
            shown, QStringLiteral("id"), id,
            [](Recordset& r) { static_cast<CBNRONG&>(r).m_title = QStringLiteral("爸爸的标题"); },
            QStringLiteral("gone"), version);
        QVERIFY(outcome.ok());
        QCOMPARE(*outcome, Records::ChangeOutcome::ChangedMeanwhile);
        CBNRONG now;
        QVERIFY(now.open().ok());
        QCOMPARE(now.m_title, QStringLiteral("妈妈改过的标题"));
    }

    void twoWritersAtOnceLeaveOneWholeChangeAndAChineseMessage()
    {
        TestDatabase db;
        addRecord(QStringLiteral("发烧"));
        const ServerConfig config = db.server();
        QSqlDatabase other = second(config);
        QSqlQuery otherQuery(other);
        // Both computers read; the other one changes every row and commits first...
        QVERIFY(other.transaction());
        QVERIFY(otherQuery.exec(QStringLiteral("SELECT count(*) FROM bnrong")));
        QVERIFY(otherQuery.exec(QStringLiteral("UPDATE bnrong SET title = 'B'")));
        // ...so this program, which read before that change, must not write over it.
        TransactionGuard mine;
        QSqlQuery myQuery(Database::connection());
        QVERIFY(myQuery.exec(QStringLiteral("SELECT count(*) FROM bnrong")));
        QVERIFY(other.commit());
        const bool written = myQuery.exec(QStringLiteral("UPDATE bnrong SET title = 'A'"));
        QVERIFY(!written);
        const Result r = DatabaseError::fromSqlError(myQuery.lastError());
        QVERIFY2(r.message().contains(QStringLiteral("另一台电脑")), qPrintable(r.message()));
        QVERIFY(!mine.commit());
        other.close();
        other = {};
        QSqlDatabase::removeDatabase(QStringLiteral("second-computer"));
        CBNRONG now;
        QVERIFY(now.open().ok());
        QCOMPARE(now.m_title, QStringLiteral("B"));
    }

    void aFileNamedFromAnotherComputerCountsAsUsed()
    {
        TestDatabase db;
        QVERIFY(MediaReferences::textsContaining(QStringLiteral("宝宝.jpg"))->isEmpty());
        {
            QSqlDatabase other = second(db.server());
            QSqlQuery query(other);
            QVERIFY(SqlDialect::prepare(query, QStringLiteral("INSERT INTO [mplay] ([riqi], [music]) VALUES (?, ?)")));
            query.addBindValue(QStringLiteral("2026-01-01"));
            query.addBindValue(QStringLiteral("生日/宝宝.jpg 50%_off.mp3"));
            QVERIFY(query.exec());
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("second-computer"));
        QCOMPARE(*MediaReferences::textsContaining(QStringLiteral("宝宝.jpg")),
                 QStringList{QStringLiteral("生日/宝宝.jpg 50%_off.mp3")});
        // Wildcards in a name are literal on the server too.
        QCOMPARE(MediaReferences::textsContaining(QStringLiteral("50%_off"))->size(), 1);
        QVERIFY(MediaReferences::textsContaining(QStringLiteral("5_%off"))->isEmpty());
        QCOMPARE(MediaReferences::allTexts()->size(), 1);
    }

    void aLostConnectionSaysSoAndSavesNothing()
    {
        TestDatabase db;
        const QString name = Database::connection().databaseName();
        QVERIFY(PostgresServer::instance().admin(
            QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '%1'").arg(name)));
        CFleixing categories;
        categories.addNew();
        categories.m_name = QStringLiteral("新类型");
        const Result r = categories.update();
        QVERIFY(!r);
        QVERIFY2(r.message().contains(QStringLiteral("连接断开")), qPrintable(r.message()));
    }

    void aFamilyIsCopiedToAnEmptyServerWithItsMedia()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("database/kestrin.db"));
        QVERIFY(Database::open(file).ok());
        addRecord(QStringLiteral("咳嗽三天"));
        addRecord(QStringLiteral("发烧"));
        QSqlQuery(Database::connection()).exec(QStringLiteral("DELETE FROM bnrong WHERE id = 1"));
        QSqlQuery(Database::connection())
            .exec(QStringLiteral(
                "INSERT INTO chengzhang (riqi, biaoti, music) VALUES ('2026-01-01', '第一步', 'a.jpg')"));
        QSqlQuery(Database::connection()).exec(QStringLiteral("INSERT INTO binglixinxi (leixing) VALUES ('自己加的')"));
        Database::close();
        const QString media = dir.filePath(QStringLiteral("database/media"));
        QDir().mkpath(media);
        for (const char* name : {"a.jpg", "b.mp3"}) {
            QFile f(media + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(name) + QByteArray(4096, 'x'));
        }

        PostgresServer& server = PostgresServer::instance();
        const ServerConfig config = server.config(server.createDatabase());
        QStringList steps;
        QVERIFY(ServerCopy::copyRecords(file, config, [&](const QString& step, int) { steps << step; }).ok());
        QVERIFY(steps.size() > 3);
        QSqlDatabase to = Database::connection();
        QCOMPARE(count(to, QStringLiteral("bnrong")), 1);
        QCOMPARE(count(to, QStringLiteral("chengzhang")), 1);
        {
            QVERIFY(Database::open(file).ok());
            const int categories = count(Database::connection(), QStringLiteral("binglixinxi"));
            const int articles = count(Database::connection(), QStringLiteral("bing"));
            Database::close();
            QVERIFY(Database::openServer(config).ok());
            QCOMPARE(count(Database::connection(), QStringLiteral("binglixinxi")), categories);
            QCOMPARE(count(Database::connection(), QStringLiteral("bing")), articles);
        }
        // The kept row has its number, and a new one is numbered after it.
        addRecord(QStringLiteral("新的"));
        CBNRONG rows;
        QVERIFY(rows.open(QStringLiteral("select * from bnrong order by id")).ok());
        QCOMPARE(rows.m_id, 2);
        QCOMPARE(rows.m_title, QStringLiteral("发烧"));
        rows.moveNext();
        QCOMPARE(rows.m_id, 3);

        // A server that holds a family's records is never written over.
        const Result again = ServerCopy::copyRecords(file, config);
        QVERIFY(!again);
        QVERIFY2(again.message().contains(QStringLiteral("已经有家庭记录")), qPrintable(again.message()));
        QCOMPARE(count(Database::connection(), QStringLiteral("bnrong")), 2);
        Database::close();

        const QString shared = dir.filePath(QStringLiteral("shared"));
        QVERIFY(ServerCopy::copyMedia(media, shared).ok());
        QCOMPARE(QDir(shared).entryList(QDir::Files).size(), 2);
        QFile copied(shared + QStringLiteral("/a.jpg"));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), QByteArray("a.jpg") + QByteArray(4096, 'x'));
        // Copying again keeps the same files; a different file of the same name is not overwritten.
        QVERIFY(ServerCopy::copyMedia(media, shared).ok());
        QFile other(shared + QStringLiteral("/b.mp3"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("another song");
        other.close();
        const Result clash = ServerCopy::copyMedia(media, shared);
        QVERIFY(!clash);
        QVERIFY2(clash.message().contains(QStringLiteral("b.mp3")), qPrintable(clash.message()));
    }

    void theDataSourceNamesTheServerThroughThePostgresqlDriver()
    {
        QTemporaryDir dir;
        qputenv("ODBCINI", QFile::encodeName(dir.filePath(QStringLiteral("odbc.ini"))));
        QVERIFY(DataSource::registerDataSource(DataSource::Name, dir.filePath(QStringLiteral("kestrin.db"))).ok());
        const ServerConfig config = PostgresServer::instance().config(QStringLiteral("kestrin"));
        QVERIFY(DataSource::registerServerDataSource(DataSource::Name, config).ok());
        QFile ini(dir.filePath(QStringLiteral("odbc.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(ini.readAll());
        QVERIFY2(text.contains(QStringLiteral("PostgreSQL Unicode")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("127.0.0.1")));
        QVERIFY(text.contains(QString::number(config.port)));
        QVERIFY(text.contains(QStringLiteral("family")));
        QVERIFY(!text.contains(PostgresServer::Password));
        QVERIFY2(!text.contains(QStringLiteral("kestrin.db")), "the file's entries are gone");

        // An ODBC client (unixODBC's isql) reads a family's rows through the data source, the
        // Chinese table and column names intact, the password taken from .pgpass.
        PostgresServer& server = PostgresServer::instance();
        const ServerConfig family = server.config(server.createDatabase());
        QVERIFY(Database::openServer(family).ok());
        QVERIFY(QSqlQuery(Database::connection())
                    .exec(QStringLiteral("INSERT INTO personinfo (\"用户名\", \"身高\") VALUES ('小明', 98.5)")));
        Database::close();
        QVERIFY(DataSource::registerServerDataSource(DataSource::Name, family).ok());
        QProcess isql;
        isql.start(QStringLiteral("isql"), {QStringLiteral("-b"), QStringLiteral("-v"), DataSource::Name});
        QVERIFY2(isql.waitForStarted(), "isql is installed (package unixodbc)");
        isql.write(QStringLiteral("SELECT \"用户名\", \"身高\" FROM personinfo\n").toUtf8());
        isql.closeWriteChannel();
        QVERIFY(isql.waitForFinished(30000));
        const QString output = QString::fromUtf8(isql.readAllStandardOutput() + isql.readAllStandardError());
        QVERIFY2(output.contains(QStringLiteral("用户名")) && output.contains(QStringLiteral("小明")) &&
                     output.contains(QStringLiteral("98.5")),
                 qPrintable(output));
    }

    void theLocationDialogTestsTheServerAndSavesOnlyWhenItWorks()
    {
        QTemporaryDir dir;
        PostgresServer& server = PostgresServer::instance();
        const ServerConfig target = server.config(server.createDatabase());
        const QByteArray saved = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", QFile::encodeName(dir.filePath(QStringLiteral("pgpass"))));
        qputenv("ODBCINI", QFile::encodeName(dir.filePath(QStringLiteral("odbc.ini"))));
        ScriptedDialogs dialogs;
        DatabaseLocationDialog dialog(dir.path());
        QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("localRadio"))->isChecked());
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("testButton"))->isEnabled());
        dialog.findChild<QRadioButton*>(QStringLiteral("serverRadio"))->click();
        dialog.findChild<QLineEdit*>(QStringLiteral("hostEdit"))->setText(target.host);
        dialog.findChild<QSpinBox*>(QStringLiteral("portSpin"))->setValue(target.port);
        dialog.findChild<QLineEdit*>(QStringLiteral("databaseEdit"))->setText(target.database);
        dialog.findChild<QLineEdit*>(QStringLiteral("userEdit"))->setText(target.user);
        dialog.findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("not it"));
        dialog.findChild<QPushButton*>(QStringLiteral("testButton"))->click();
        QVERIFY2(dialogs.last().contains(QStringLiteral("密码")), qPrintable(dialogs.last()));
        dialog.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
        QVERIFY(!QFile::exists(ServerConfig::fileIn(dir.path())));

        dialog.findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(PostgresServer::Password);
        dialog.findChild<QPushButton*>(QStringLiteral("testButton"))->click();
        QCOMPARE(dialogs.last(), QStringLiteral("连接成功，可以使用这台服务器。"));
        dialog.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
        const ServerConfig stored = ServerConfig::read(ServerConfig::fileIn(dir.path()));
        QCOMPARE(stored.host, target.host);
        QCOMPARE(stored.database, target.database);
        QCOMPARE(QFileInfo(PgPass::path()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions{});
        QFile ini(ServerConfig::fileIn(dir.path()));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(!ini.readAll().contains(PostgresServer::Password.toUtf8()));
        qputenv("PGPASSFILE", saved);
    }

    void theSettingsFileIsReadAsAnAdministratorWritesIt()
    {
        QTemporaryDir dir;
        const QString ini = ServerConfig::fileIn(dir.path());
        QVERIFY(!ServerConfig::read(ini).usesServer());
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Server]\nhost=nas.local\nport=5433\ndatabase=kestrin\nuser=family\n"
                   "[Media]\nfolder=/mnt/family/照片\n");
        file.close();
        ServerConfig c = ServerConfig::read(ini);
        QVERIFY(c.usesServer());
        QCOMPARE(c.host, QStringLiteral("nas.local"));
        QCOMPARE(c.port, 5433);
        QCOMPARE(c.user, QStringLiteral("family"));
        QCOMPARE(c.mediaFolder, QStringLiteral("/mnt/family/照片"));
        c.port = 5432;
        QVERIFY(c.write(ini).ok());
        QCOMPARE(ServerConfig::read(ini).port, 5432);
        QCOMPARE(ServerConfig::read(ini).mediaFolder, QStringLiteral("/mnt/family/照片"));
        QVERIFY(!QFile(ini).readAll().contains("password"));
        // Back to the local file: no [Server] section is left.
        c.host.clear();
        QVERIFY(c.write(ini).ok());
        QVERIFY(!ServerConfig::read(ini).usesServer());
        QCOMPARE(ServerConfig::read(ini).mediaFolder, QStringLiteral("/mnt/family/照片"));
    }
};

QTEST_MAIN(TestServer)
#include "tst_server.moc"

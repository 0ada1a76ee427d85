#include "common/DataSource.h"
#include "common/ui/SkinEngine.h"
#include "data/Database.h"
#include "health/ui/CHealthDlg.h"
#include "health/ui/HealthProgram.h"
#include "tests/support/FakeProc.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>

// Start-up of health in an installation root of its own: root/health is the program folder.
class TestHealthStartup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_procRoot;
    QString m_startDir;

    QString root(const QString& path) const { return m_root->filePath(path); }

    void addProcess(int pid, const QString& exe) { FakeProc(m_procRoot).add(pid, exe); }

    void writeFile(const QString& path, const QByteArray& content) const
    {
        QDir().mkpath(QFileInfo(root(path)).absolutePath());
        QFile file(root(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray readFile(const QString& path) const
    {
        QFile file(root(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The list the installer writes: the shipped welcome animation with its hash.
    void writeShippedList() const
    {
        const QByteArray hash = QCryptographicHash::hash("shipped animation", QCryptographicHash::Sha256).toHex();
        writeFile(QStringLiteral("database/shipped-files.sha256"), hash + "  media/catoon.avi\n");
    }

    QString odbcIni() const { return root(QStringLiteral("odbc.ini")); }

    // unixODBC keeps what it has read for a while, whichever file it came from; any write empties
    // that store, so that each test reads its own files.
    void forgetOdbcReads() const
    {
        QVERIFY(DataSource::registerDataSource(QStringLiteral("kestrin-tests"), root(QStringLiteral("none.db"))).ok());
    }

private slots:
    void initTestCase() { m_startDir = QDir::currentPath(); }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QDir().mkpath(root(QStringLiteral("health")));
        QDir().mkpath(root(QStringLiteral("skin")));
        QDir::setCurrent(root(QStringLiteral("health")));
        m_procRoot = root(QStringLiteral("proc"));
        addProcess(10, root(QStringLiteral("health/health")));
        qputenv("ODBCINI", QFile::encodeName(odbcIni()));
        forgetOdbcReads();
    }

    void cleanup()
    {
        Database::close();
        SkinEngine::shutdown();
        QDir::setCurrent(m_startDir);
    }

    void secondCopyEndsBeforeTheDataSource()
    {
        ScriptedDialogs dialogs;
        addProcess(11, QStringLiteral("/elsewhere/health"));
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::AlreadyRunning);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("此程序已经打开")});
        QVERIFY(DataSource::databasePath(DataSource::Name).isEmpty());
        QVERIFY(!QFile::exists(root(QStringLiteral("database/kestrin.db"))));
    }

    void otherProgramsDoNotCount()
    {
        ScriptedDialogs dialogs;
        addProcess(11, QStringLiteral("/usr/bin/Health-viewer"));
        addProcess(12, root(QStringLiteral("growth/growth")));
        addProcess(13, QStringLiteral("/usr/sbin/healthd"));
        addProcess(14, QStringLiteral("/opt/health/bin/monitor"));
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QVERIFY(dialogs.texts().isEmpty());
    }

    void failedRegistrationSaysWhyAndShowsNoWindow()
    {
        ScriptedDialogs dialogs;
        qputenv("ODBCINI", "/nonexistent-folder/odbc.ini");
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::DataSourceFailed);
        QCOMPARE(dialogs.texts().size(), 1);
        const QStringList lines = dialogs.last().split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("数据源配置错误"));
        QVERIFY2(lines.value(1).contains(QStringLiteral("/nonexistent-folder/odbc.ini")), qPrintable(dialogs.last()));
        QVERIFY(!Database::connection().isOpen());
        QVERIFY(!QFile::exists(root(QStringLiteral("database/kestrin.db"))));
    }

    void firstStartRegistersAndCreatesTheDatabase()
    {
        ScriptedDialogs dialogs;
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QVERIFY(dialogs.texts().isEmpty());
        const QString db = QDir::cleanPath(root(QStringLiteral("database/kestrin.db")));
        QVERIFY(QFile::exists(db));
        QFile ini(odbcIni());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains(QStringLiteral("Database=%1").arg(db).toUtf8()));
        QVERIFY(Database::connection().isOpen());
    }

    void filesTheInstallationShipsDoNotMakeTheFolderUsed()
    {
        writeFile(QStringLiteral("database/media/catoon.avi"), "shipped animation");
        writeShippedList();
        ScriptedDialogs dialogs;
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QVERIFY(dialogs.texts().isEmpty());
        QVERIFY(QFile::exists(root(QStringLiteral("database/kestrin.db"))));
        QCOMPARE(readFile(QStringLiteral("database/media/catoon.avi")), QByteArray("shipped animation"));
    }

    void missingDatabaseIsCreatedSilentlyOnlyOnAFirstStart_data()
    {
        QTest::addColumn<QString>("mediaFile");
        QTest::addColumn<QString>("registeredBefore");
        QTest::newRow("media in the database folder") << QStringLiteral("database/media/photo.jpg") << QString();
        // A family's own file under a shipped name is theirs: it differs from what was shipped.
        QTest::newRow("shipped name, other content") << QStringLiteral("database/media/catoon.avi") << QString();
        QTest::newRow("a file beside the shipped one") << QStringLiteral("database/media/a.jpg") << QString();
        QTest::newRow("data source named this file") << QString() << QStringLiteral("database/kestrin.db");
        QTest::newRow("data source named another file") << QString() << QStringLiteral("elsewhere/kestrin.db");
    }
    void missingDatabaseIsCreatedSilentlyOnlyOnAFirstStart()
    {
        QFETCH(QString, mediaFile);
        QFETCH(QString, registeredBefore);
        // Every installation lists what it ships; here an unchanged welcome animation is
        // shipped too, unless the row puts the family's own file in its place.
        writeFile(QStringLiteral("database/media/catoon.avi"), "shipped animation");
        writeShippedList();
        if (!mediaFile.isEmpty())
            writeFile(mediaFile, "the family's own file");
        if (!registeredBefore.isEmpty())
            QVERIFY(DataSource::registerDataSource(DataSource::Name, root(registeredBefore)).ok());
        const QString db = QDir::cleanPath(root(QStringLiteral("database/kestrin.db")));

        // A moved or unplugged database is not replaced by an empty one without asking.
        ScriptedDialogs dialogs;
        dialogs.answerConfirm(false);
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::DatabaseNotCreated);
        QCOMPARE(dialogs.texts(), QStringList{db + QStringLiteral("不存在，要新建一个空的数据库吗？")});
        QVERIFY(!QFile::exists(db));
        QVERIFY(!Database::connection().isOpen());

        dialogs.answerConfirm(true);
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QVERIFY(QFile::exists(db));
        QCOMPARE(Database::connection().databaseName(), db);
    }

    void opensTheFileItRegisteredWhileAnotherStartRegistersItsOwn()
    {
        const QString mine = QDir::cleanPath(root(QStringLiteral("database/kestrin.db")));
        const QString theirs = root(QStringLiteral("other-install/database/kestrin.db"));
        QVERIFY(DataSource::registerDataSource(DataSource::Name, mine).ok());
        // While this start asks about its missing file, another installation starts and
        // registers the one data source with its own file.
        ScriptedDialogs dialogs;
        dialogs.answerConfirm([&] { return DataSource::registerDataSource(DataSource::Name, theirs).ok(); });
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QCOMPARE(Database::connection().databaseName(), mine);
        QVERIFY(QFile::exists(mine));
        QVERIFY(!QFile::exists(theirs));
    }

    void unusableDatabaseIsNamedAndEndsTheProgram()
    {
        ScriptedDialogs dialogs;
        writeNotADatabase(root(QStringLiteral("database/kestrin.db")));
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::DatabaseFailed);
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.last().contains(QStringLiteral("kestrin.db")));
    }

    void newestSkinIsAppliedAtStart()
    {
        ScriptedDialogs dialogs;
        QFile sheet(root(QStringLiteral("skin/天空蓝.qss")));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.write("QDialog { background: #123456; }");
        sheet.close();
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QDialog { background: #123456; }"));
        QCOMPARE(SkinEngine::applicationKey(), QStringLiteral("KestrinHealth"));
        QCOMPARE(SkinEngine::scheme(), QStringLiteral("Dialog"));
    }

    void emptySkinTableStillShowsTheWindow()
    {
        ScriptedDialogs dialogs;
        QVERIFY(Database::create(root(QStringLiteral("database/kestrin.db"))).ok());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("emptier"));
            db.setDatabaseName(root(QStringLiteral("database/kestrin.db")));
            QVERIFY(db.open());
            QSqlQuery(db).exec(QStringLiteral("DELETE FROM skin"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("emptier"));

        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QVERIFY(qApp->styleSheet().isEmpty());
        CHealthDlg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.pages()->count(), 8);
        QVERIFY(dialogs.texts().isEmpty());
    }

    void aServerNamedByTheInstallationIsOpenedAndAnUnreachableOneNeverBecomesAnEmptyFile()
    {
        PostgresServer& server = PostgresServer::instance();
        QVERIFY2(server.running(), qPrintable(server.failure()));
        ServerConfig unreachable = server.config(QStringLiteral("kestrin"));
        unreachable.port = 1;
        const QString ini = ServerConfig::fileIn(root(QStringLiteral("database")));
        QVERIFY(unreachable.write(ini).ok());
        {
            ScriptedDialogs dialogs;
            QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::DatabaseFailed);
            QCOMPARE(dialogs.texts().size(), 1);
            QVERIFY2(dialogs.last().startsWith(QStringLiteral("连不上服务器")), qPrintable(dialogs.last()));
            QVERIFY(!QFile::exists(root(QStringLiteral("database/kestrin.db"))));
            QVERIFY(!Database::connection().isOpen());
        }
        const ServerConfig reachable = server.config(server.createDatabase());
        QVERIFY(reachable.write(ini).ok());
        ScriptedDialogs dialogs;
        QCOMPARE(ProgramStartup::prepare(healthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QVERIFY(dialogs.texts().isEmpty());
        QVERIFY(Database::isServer());
        QVERIFY(!QFile::exists(root(QStringLiteral("database/kestrin.db"))));
        QCOMPARE(DataSource::databasePath(DataSource::Name), reachable.database);
    }
};

QTEST_MAIN(TestHealthStartup)
#include "tst_healthstartup.moc"

#include "backup/AsideFolders.h"
#include "backup/Backup.h"
#include "backup/Progress.h"
#include "backup/RecordsLock.h"
#include "backup/Restore.h"
#include "backup/RestoreJournal.h"
#include "backup/RestoreRecovery.h"
#include "backup/ScopedConnection.h"
#include "backup/ServerRestore.h"
#include "backup/ui/BackupActions.h"
#include "common/ui/MainWindowBase.h"
#include "common/ui/ProgramStartup.h"
#include "common/ui/SkinEngine.h"
#include "common/ui/StartupRecovery.h"
#include "data/Schema.h"
#include "data/ServerCopy.h"
#include "data/SqlDialect.h"
#include "data/tables/Skins.h"
#include "media/MediaStore.h"
#include "tests/support/FakeProc.h"
#include "tests/support/FamilyFixture.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>

#include <QProcess>
#include <QSqlRecord>

#include <algorithm>
#include <sys/stat.h>

namespace {

// Thrown by the move seam: the restore stops there as if the power went, with no undo.
struct PowerCut
{
};

struct Run
{
    int exitCode = 0;
    QString output;
};

Run runTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.start();
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        qFatal("%s did not finish", qPrintable(program));
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput()) + QString::fromUtf8(process.readAllStandardError())};
}

// Every row of every table of the schema as text, in a stable order, read through db; the
// restore's own mark on the server and the time of the last backup are left out.
QStringList rows(QSqlDatabase db)
{
    QStringList all;
    QList<std::pair<QString, QStringList>> tables = Schema::tables();
    std::sort(tables.begin(), tables.end());
    for (const auto& [table, columns] : tables) {
        QSqlQuery query(db);
        SqlDialect::prepare(query, QStringLiteral("SELECT * FROM [%1] ORDER BY 1").arg(table));
        if (!query.exec())
            qFatal("cannot read %s", qPrintable(table));
        while (query.next()) {
            QStringList cells{table};
            for (int c = 0; c < query.record().count(); ++c) {
                const QVariant value = query.value(c);
                cells << (value.typeId() == QMetaType::QDateTime
                              ? value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                              : value.toString());
            }
            all << cells.join(QLatin1Char('|'));
        }
    }
    all.removeIf([](const QString& row) {
        return row.startsWith(QStringLiteral("kestrin_meta|restore_id|")) ||
               row.startsWith(QStringLiteral("kestrin_meta|last_backup|"));
    });
    return all;
}

QStringList fileRows(const QString& path)
{
    QStringList all;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("file-rows"));
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        all = rows(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("file-rows"));
    return all;
}

QStringList serverRows(const ServerConfig& server)
{
    QStringList all;
    {
        QSqlDatabase db = Database::serverConnection(QStringLiteral("server-rows"), server);
        if (!db.open())
            qFatal("cannot open the server: %s", qPrintable(db.lastError().text()));
        all = rows(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("server-rows"));
    return all;
}

// An installation whose records are on a new database of the test server, the media in a
// shared folder that its kestrin-server.ini names; filled with a family's rows and files.
class ServerFamily
{
public:
    // mediaParent: where the shared media folder lies; by default beside the installation.
    explicit ServerFamily(const QString& mediaParent = {})
    {
        PostgresServer& server = PostgresServer::instance();
        m_config = server.config(server.createDatabase());
        m_config.mediaFolder =
            QDir(mediaParent.isEmpty() ? m_dir.path() : mediaParent).filePath(QStringLiteral("共享 媒体"));
        QDir().mkpath(QDir(root()).filePath(QStringLiteral("database")));
        if (!m_config.write(ServerConfig::fileIn(QDir(root()).filePath(QStringLiteral("database")))))
            qFatal("cannot write kestrin-server.ini");
        // The family's records begin in a file and are copied to the server, as a family moves.
        Family family;
        family.fill();
        family.exec(QStringLiteral("INSERT INTO [user] (username) VALUES (?)"), {QStringLiteral("服务器上的孩子")});
        Database::close();
        if (Result r = ServerCopy::copyRecords(family.files().databasePath, m_config); !r)
            qFatal("cannot copy the family to the server: %s", qPrintable(r.error()));
        Database::close();
        if (Result r = ServerCopy::copyMedia(family.files().mediaFolder, m_config.mediaFolder); !r)
            qFatal("cannot copy the media: %s", qPrintable(r.error()));
    }

    QString root() const { return m_dir.filePath(QStringLiteral("服务器 安装")); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    FamilyFiles files() const { return FamilyFiles::underRoot(root()); }
    const ServerConfig& config() const { return m_config; }
    QStringList rows() const { return serverRows(m_config); }
    QStringList media() const { return Family::folderHashes(m_config.mediaFolder); }
    QString databaseFolder() const { return QFileInfo(files().databasePath).absolutePath(); }

    void exec(const QString& sql) const
    {
        QSqlDatabase db = Database::serverConnection(QStringLiteral("server-exec"), m_config);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY2(SqlDialect::prepare(query, sql) && query.exec(), qPrintable(query.lastError().text()));
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(QStringLiteral("server-exec"));
    }

private:
    QTemporaryDir m_dir;
    ServerConfig m_config;
};

class Window : public MainWindowBase
{
public:
    void showAbout() override {}
};

ResultOf<std::unique_ptr<StagedRestore>> prepared(const QString& archive, const FamilyFiles& files)
{
    Progress progress;
    return StagedRestore::prepare(archive, files, progress);
}

} // namespace

// Backup, restore and export of a family whose records are on a PostgreSQL server: the same
// archive as from a file, restorable into either, and nothing of the family lost on the way.
class TestServerBackup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { REQUIRE_POSTGRES(); }

    void cleanup() { Database::close(); }

    void anArchiveOfTheServerRestoresIntoAFileAndAFileArchiveIntoTheServer()
    {
        const ServerFamily server;
        QVERIFY(server.files().onServer());
        const QStringList serverBefore = server.rows();
        const QStringList mediaBefore = server.media();
        QVERIFY(serverBefore.contains(QStringLiteral("user|2|服务器上的孩子")));

        // Server -> archive -> a file installation.
        const QString archive = server.path(QStringLiteral("服务器备份.zip"));
        Progress progress;
        const ResultOf<BackupSummary> made = Backup::create({server.files(), archive}, progress);
        QVERIFY2(made, qPrintable(made.error()));
        QCOMPARE(made->mediaFiles, 5);
        QVERIFY2(Backup::verify(archive, progress), "the server's archive verifies");
        QTemporaryDir other;
        const FamilyFiles file = FamilyFiles::underRoot(other.filePath(QStringLiteral("另一台")));
        ResultOf<std::unique_ptr<StagedRestore>> intoFile = prepared(archive, file);
        QVERIFY2(intoFile, qPrintable(intoFile.error()));
        QVERIFY2((*intoFile)->commit(), "restored into a file");
        QCOMPARE(fileRows(file.databasePath), serverBefore);
        QCOMPARE(Family::folderHashes(file.mediaFolder), mediaBefore);

        // File -> archive -> the server, over the server's other records.
        {
            QVERIFY(Database::open(file.databasePath));
            QSqlQuery(Database::connection())
                .exec(QStringLiteral("INSERT INTO [user] (username) VALUES ('文件里的孩子')"));
            Database::close();
        }
        Family::writeRandom(QDir(file.mediaFolder).filePath(QStringLiteral("新照片.jpg")), 4000);
        const QString fileArchive = other.filePath(QStringLiteral("文件备份.zip"));
        QVERIFY(Backup::create({file, fileArchive}, progress));
        const QStringList fileState = fileRows(file.databasePath);
        server.exec(QStringLiteral("INSERT INTO [user] (username) VALUES ('恢复前才加的')"));
        const QStringList replaced = server.rows();

        ResultOf<std::unique_ptr<StagedRestore>> intoServer = prepared(fileArchive, server.files());
        QVERIFY2(intoServer, qPrintable(intoServer.error()));
        const Result restored = (*intoServer)->commit();
        QVERIFY2(restored, qPrintable(restored.error()));
        QCOMPARE(server.rows(), fileState);
        QCOMPARE(server.media(), Family::folderHashes(file.mediaFolder));
        QVERIFY(!RestoreJournal::existsFor(server.files().databasePath));

        // Nothing of the family is lost: the server's rows before the restore are in a file aside,
        // its media beside them, and the window menu's list shows the folder.
        const QString aside = (*intoServer)->asideFolder();
        QVERIFY(!aside.isEmpty());
        QCOMPARE(fileRows(QDir(aside).filePath(QStringLiteral("kestrin.db"))), replaced);
        QCOMPARE(Family::folderHashes(QDir(aside).filePath(QStringLiteral("media"))), mediaBefore);
        QCOMPARE(AsideFolders::list(server.files().databasePath).size(), 1);

        // New rows on the server are numbered after the restored ones.
        server.exec(QStringLiteral("INSERT INTO [user] (username) VALUES ('之后')"));
        QVERIFY(server.rows().contains(QStringLiteral("user|4|之后")));
    }

    // A shared media folder usually lies on another disk (a NAS share) than the installation: the
    // restore unpacks the media beside it and keeps the old ones aside there, since a swap by
    // renames cannot cross disks.
    void aRestoreReachesAMediaFolderOnAnotherDisk()
    {
        QTemporaryDir otherDisk(QStringLiteral("/dev/shm/kestrin-share-XXXXXX"));
        QVERIFY(otherDisk.isValid());
        struct stat share;
        struct stat local;
        QTemporaryDir here;
        QVERIFY(::stat(QFile::encodeName(otherDisk.path()).constData(), &share) == 0);
        QVERIFY(::stat(QFile::encodeName(here.path()).constData(), &local) == 0);
        if (share.st_dev == local.st_dev)
            QSKIP("/dev/shm is on the same file system as the temporary folder here");

        const ServerFamily server(otherDisk.path());
        const QStringList rowsBefore = server.rows();
        const QStringList mediaBefore = server.media();
        const QString archive = server.path(QStringLiteral("备份.zip"));
        Progress progress;
        QVERIFY(Backup::create({server.files(), archive}, progress));

        server.exec(QStringLiteral("INSERT INTO [user] (username) VALUES ('备份之后才加的')"));
        Family::writeRandom(QDir(server.config().mediaFolder).filePath(QStringLiteral("后来的.jpg")), 3000);
        const QStringList mediaReplaced = server.media();

        ResultOf<std::unique_ptr<StagedRestore>> restore = prepared(archive, server.files());
        QVERIFY2(restore, qPrintable(restore.error()));
        const Result restored = (*restore)->commit();
        QVERIFY2(restored, qPrintable(restored.error()));
        QCOMPARE(server.rows(), rowsBefore);
        QCOMPARE(server.media(), mediaBefore);
        QVERIFY(!RestoreJournal::existsFor(server.files().databasePath));

        // The replaced rows are in the file aside on this computer, the replaced media aside on
        // the share; no unpacked stage is left on either disk.
        const QString aside = (*restore)->asideFolder();
        QVERIFY(fileRows(QDir(aside).filePath(QStringLiteral("kestrin.db")))
                    .contains(QStringLiteral("user|3|备份之后才加的")));
        const QFileInfoList sharedAsides =
            QDir(otherDisk.path()).entryInfoList({QStringLiteral("恢复前的记录-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(sharedAsides.size(), 1);
        QCOMPARE((*restore)->mediaAsideFolder(), sharedAsides.first().filePath());
        QCOMPARE(Family::folderHashes(QDir(sharedAsides.first().filePath()).filePath(QStringLiteral("media"))),
                 mediaReplaced);
        const auto stages = [](const QString& folder) {
            return QDir(folder).entryList({QStringLiteral(".restore-*")}, QDir::Dirs | QDir::Hidden).size();
        };
        QCOMPARE(stages(otherDisk.path()), 0);
        QCOMPARE(stages(server.databaseFolder()), 0);
    }

    void aRestoreThatFailsLeavesTheServerAsItWas()
    {
        const ServerFamily server;
        const QStringList rowsBefore = server.rows();
        const QStringList mediaBefore = server.media();

        // A file may hold a text longer than the server's column allows; the last family table
        // fails after the others were already replaced in the transaction.
        Family family;
        family.fill();
        family.exec(QStringLiteral("INSERT INTO mplay (riqi, leixing, music) VALUES (?, ?, ?)"),
                    {QStringLiteral("2026-09-01"), QString(300, QLatin1Char('x')), QString()});
        Database::close();
        const QString tooLong = family.path(QStringLiteral("太长.zip"));
        Progress progress;
        QVERIFY(Backup::create({family.files(), tooLong}, progress));
        ResultOf<std::unique_ptr<StagedRestore>> restore = prepared(tooLong, server.files());
        QVERIFY2(restore, qPrintable(restore.error()));
        const Result refused = (*restore)->commit();
        QVERIFY(!refused);
        QVERIFY2(refused.message().contains(QStringLiteral("服务器上的记录没有任何改变")),
                 qPrintable(refused.message()));
        QCOMPARE(server.rows(), rowsBefore);
        QCOMPARE(server.media(), mediaBefore);
        QVERIFY(AsideFolders::list(server.files().databasePath).isEmpty());
        QVERIFY(!RestoreJournal::existsFor(server.files().databasePath));

        // The media cannot go in place: the rows written meanwhile are rolled back.
        const QString good = family.path(QStringLiteral("好的.zip"));
        QVERIFY(Database::open(family.files().databasePath));
        family.exec(QStringLiteral("DELETE FROM mplay WHERE length(leixing) > 255"));
        Database::close();
        QVERIFY(Backup::create({family.files(), good}, progress));
        restore = prepared(good, server.files());
        QVERIFY(restore);
        (*restore)->setMove([](const QString& from, const QString& to) {
            if (from.contains(QStringLiteral(".restore-")))
                return std::make_error_code(std::errc::permission_denied);
            return StagedRestore::defaultMove(from, to);
        });
        const Result notMoved = (*restore)->commit();
        QVERIFY(!notMoved);
        QVERIFY2(notMoved.message().contains(QStringLiteral("原来的媒体文件已经放回原处")),
                 qPrintable(notMoved.message()));
        QCOMPARE(server.rows(), rowsBefore);
        QCOMPARE(server.media(), mediaBefore);
        QVERIFY(!RestoreJournal::existsFor(server.files().databasePath));
    }

    void aRestoreCutOffIsFinishedWhenItsRowsLandedAndUndoneWhenNot()
    {
        const ServerFamily server;
        const QStringList rowsBefore = server.rows();
        const QStringList mediaBefore = server.media();
        Family family;
        family.fill();
        family.exec(QStringLiteral("INSERT INTO [user] (username) VALUES ('备份里的')"));
        Database::close();
        Family::writeRandom(family.media(QStringLiteral("备份.png")), 900);
        const QString archive = family.path(QStringLiteral("备份.zip"));
        Progress progress;
        QVERIFY(Backup::create({family.files(), archive}, progress));
        const QStringList backupRows = fileRows(family.files().databasePath);
        const QStringList backupMedia = Family::folderHashes(family.files().mediaFolder);

        // Cut off after the media went aside: the rows were never committed.
        const auto cutAfterFirstMove = [&] {
            ResultOf<std::unique_ptr<StagedRestore>> restore = prepared(archive, server.files());
            QVERIFY(restore);
            int moves = 0;
            (*restore)->setMove([&](const QString& from, const QString& to) {
                if (moves++ == 1)
                    throw PowerCut();
                return StagedRestore::defaultMove(from, to);
            });
            QVERIFY_THROWS_EXCEPTION(PowerCut, (void)(*restore)->commit());
            QVERIFY(RestoreJournal::existsFor(server.files().databasePath));
        };
        cutAfterFirstMove();
        QVERIFY(!QFileInfo::exists(server.config().mediaFolder));
        Recovery recovery = RestoreRecovery::run(server.files(), {});
        QCOMPARE(recovery.outcome, Recovery::Outcome::PutBack);
        QCOMPARE(server.rows(), rowsBefore);
        QCOMPARE(server.media(), mediaBefore);

        // Cut off the same way, but the rows had landed (the answer of the commit was lost).
        cutAfterFirstMove();
        const ResultOf<RestoreJournal> journal = RestoreJournal::read(server.files().databasePath);
        QVERIFY(journal);
        {
            ScopedConnection connection(server.config());
            QVERIFY(connection.connect());
            const QString staged =
                QDir(server.databaseFolder()).filePath(journal->stage + QStringLiteral("/kestrin.db"));
            QVERIFY(ServerRestore::replaceRows(connection.db(), staged, journal->serverRestore));
            QVERIFY(ServerRestore::commit(connection.db()));
        }
        recovery = RestoreRecovery::run(server.files(), {});
        QCOMPARE(recovery.outcome, Recovery::Outcome::Completed);
        QCOMPARE(server.rows(), backupRows);
        QCOMPARE(server.media(), backupMedia);
        QVERIFY(!RestoreJournal::existsFor(server.files().databasePath));
    }

    void theRestoreLockHoldsAcrossComputersOnOneServer()
    {
        const ServerFamily server;
        // A second computer: its own installation folder, the same server.
        QTemporaryDir elsewhere;
        const QString otherFolder = elsewhere.filePath(QStringLiteral("database"));
        QDir().mkpath(otherFolder);
        QVERIFY(server.config().write(ServerConfig::fileIn(otherFolder)));
        const QString otherDatabase = QDir(otherFolder).filePath(QStringLiteral("kestrin.db"));

        RecordsLock running(otherDatabase);
        QVERIFY(running.lock(RecordsLock::Mode::Shared));
        RecordsLock restore(server.files().databasePath);
        QVERIFY2(!restore.lock(RecordsLock::Mode::Exclusive), "a program on the other computer keeps a restore out");
        QVERIFY(restore.serverError().isEmpty());
        const QStringList holders = restore.serverHolders();
        QCOMPARE(holders.size(), 1);
        QVERIFY2(holders.first().startsWith(QCoreApplication::applicationName() + QLatin1Char('@')),
                 qPrintable(holders.first()));
        // Another program may still start beside it.
        RecordsLock second(server.files().databasePath);
        QVERIFY(second.lock(RecordsLock::Mode::Shared));
        second.unlock();

        // The restore of this computer is refused, naming the other computer's program.
        Family family;
        family.fill();
        Database::close();
        const QString archive = family.path(QStringLiteral("备份.zip"));
        Progress progress;
        QVERIFY(Backup::create({family.files(), archive}, progress));
        const QStringList rowsBefore = server.rows();
        ResultOf<std::unique_ptr<StagedRestore>> staged = prepared(archive, server.files());
        QVERIFY(staged);
        (*staged)->setProcRoot(family.path(QStringLiteral("no-proc")));
        const Result refused = (*staged)->commit();
        QVERIFY(!refused);
        QVERIFY2(refused.message().contains(QStringLiteral("其他电脑上的程序")) &&
                     refused.message().contains(holders.first()),
                 qPrintable(refused.message()));
        QCOMPARE(server.rows(), rowsBefore);

        // Once that program ends, the restore holds the lock, and no program starts meanwhile.
        running.unlock();
        QVERIFY(restore.lock(RecordsLock::Mode::Exclusive));
        QVERIFY(!running.lock(RecordsLock::Mode::Shared));
        QVERIFY(restore.lock(RecordsLock::Mode::Shared));
        QVERIFY(running.lock(RecordsLock::Mode::Shared));
    }

    void aProgramWaitsForARestoreOnAnotherComputer()
    {
        const ServerFamily server;
        QTemporaryDir elsewhere;
        const QString otherFolder = elsewhere.filePath(QStringLiteral("database"));
        QDir().mkpath(otherFolder);
        QVERIFY(server.config().write(ServerConfig::fileIn(otherFolder)));
        RecordsLock restoring(QDir(otherFolder).filePath(QStringLiteral("kestrin.db")));
        QVERIFY(restoring.lock(RecordsLock::Mode::Exclusive));

        const QString programFolder = server.root() + QStringLiteral("/health");
        QDir().mkpath(programFolder);
        const QString before = QDir::currentPath();
        QDir::setCurrent(programFolder);
        qputenv("ODBCINI", QFile::encodeName(server.path(QStringLiteral("odbc.ini"))));
        FakeProc proc;
        proc.add(QCoreApplication::applicationPid(), programFolder + QStringLiteral("/health"));
        const ProgramIdentity program{QStringLiteral("health"), QStringLiteral("health"),
                                      QStringLiteral("KestrinHealth"), [] { return std::make_unique<CSKINDATA>(); }};
        const auto start = [&] {
            ScriptedDialogs dialogs;
            const ProgramStartup::Outcome outcome = ProgramStartup::prepare(program, proc.root());
            StartupRecovery::releaseRecords();
            Database::close();
            SkinEngine::shutdown();
            return std::make_pair(outcome, dialogs.texts().join(QLatin1Char('\n')));
        };
        const auto [refused, told] = start();
        QCOMPARE(refused, ProgramStartup::Outcome::RestoreUnfinished);
        QVERIFY2(told.contains(QStringLiteral("正在恢复备份")), qPrintable(told));
        restoring.unlock();
        QCOMPARE(start().first, ProgramStartup::Outcome::Run);
        QDir::setCurrent(before);
    }

    void theWindowMenuBacksUpAndRestoresTheServer()
    {
        const ServerFamily server;
        QVERIFY(Database::openServer(server.config()));
        // The program holds the records from its start, here and on the server.
        QVERIFY(StartupRecovery::holdRecords(server.files().databasePath, std::chrono::milliseconds(0)));
        QTemporaryDir proc;
        Window window;
        BackupActions* actions = BackupActions::install(window, {server.files(), proc.path()});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ScriptedDialogs dialogs;

        const QString archive = server.path(QStringLiteral("菜单备份.zip"));
        dialogs.answerPath(archive);
        actions->backupAction()->trigger();
        QVERIFY2(dialogs.last().startsWith(QStringLiteral("备份完成")), qPrintable(dialogs.last()));
        const QStringList backedUp = server.rows();

        const QString exportParent = server.path(QStringLiteral("导出到这里"));
        QDir().mkpath(exportParent);
        dialogs.answerPath(exportParent);
        actions->exportAction()->trigger();
        QVERIFY2(dialogs.last().startsWith(QStringLiteral("导出完成")), qPrintable(dialogs.last()));

        server.exec(QStringLiteral("DELETE FROM chengzhang"));
        dialogs.answerFiles({archive});
        dialogs.answerConfirm(true);
        actions->restoreAction()->trigger();
        QVERIFY2(dialogs.last().startsWith(QStringLiteral("恢复完成")), qPrintable(dialogs.last()));
        QVERIFY2(dialogs.texts().join(QLatin1Char('\n')).contains(QStringLiteral("服务器上的记录会先复制到")),
                 qPrintable(dialogs.texts().join(QLatin1Char('\n'))));
        QCOMPARE(server.rows(), backedUp);
        // The program's connection is the server's again until the program ends.
        QVERIFY(Database::isServer());
        QVERIFY(!window.isVisible());
        StartupRecovery::releaseRecords();
    }

    void aFileNamedByAnotherComputerIsNotDeleted()
    {
        const ServerFamily server;
        QVERIFY(Database::openServer(server.config()));
        const QString name = QStringLiteral("两台电脑 都用.jpg");
        Family::writeRandom(QDir(server.config().mediaFolder).filePath(name), 1000);
        const QString insert = QStringLiteral("INSERT INTO [rongyu] ([mingcheng], [riqi], [music]) VALUES ('%1', "
                                              "'2026-10-01', ' %2')");
        // This computer named the file and dropped its row; the other computer named it meanwhile.
        QVERIFY(QSqlQuery(Database::connection())
                    .exec(SqlDialect::statement(Database::connection(), insert.arg(QStringLiteral("这台"), name))));
        server.exec(insert.arg(QStringLiteral("另一台"), name));
        QVERIFY(QSqlQuery(Database::connection()).exec(QStringLiteral("DELETE FROM rongyu WHERE mingcheng = '这台'")));
        const MediaStore store(server.config().mediaFolder);
        QCOMPARE(*store.removeIfUnused(name), MediaStore::Removal::StillNamed);
        QVERIFY(QFileInfo::exists(store.filePath(name)));
        // Once no computer names it, it goes.
        server.exec(QStringLiteral("DELETE FROM [rongyu] WHERE [mingcheng] = '另一台'"));
        QCOMPARE(*store.removeIfUnused(name), MediaStore::Removal::Removed);
        QVERIFY(!QFileInfo::exists(store.filePath(name)));
    }

    void theToolsWorkOnAServerInstallation()
    {
        const ServerFamily server;
        const QStringList root{QStringLiteral("--root"), server.root(), QStringLiteral("--quiet")};
        const QString archive = server.path(QStringLiteral("脚本备份.zip"));
        Run run = runTool(QStringLiteral(KESTRIN_BACKUP_TOOL), root + QStringList{QStringLiteral("backup"), archive});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        run = runTool(QStringLiteral(KESTRIN_BACKUP_TOOL), root + QStringList{QStringLiteral("verify"), archive});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));

        const QString exported = server.path(QStringLiteral("导出"));
        run = runTool(QStringLiteral(KESTRIN_BACKUP_TOOL), root + QStringList{QStringLiteral("export"), exported});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QFile users(QDir(exported).filePath(QStringLiteral("user.csv")));
        QVERIFY(users.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(users.readAll()).contains(QStringLiteral("服务器上的孩子")));

        const QStringList before = server.rows();
        server.exec(QStringLiteral("DELETE FROM [user]"));
        run = runTool(QStringLiteral(KESTRIN_BACKUP_TOOL),
                      root + QStringList{QStringLiteral("restore"), QStringLiteral("--yes"), archive});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QCOMPARE(server.rows(), before);

        const QString pdf = server.path(QStringLiteral("报告.pdf"));
        run = runTool(QStringLiteral(KESTRIN_REPORT_TOOL),
                      {QStringLiteral("--root"), server.root(), QStringLiteral("小明"), pdf});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QVERIFY(QFileInfo(pdf).size() > 0);
    }
};

QTEST_MAIN(TestServerBackup)
#include "tst_serverbackup.moc"

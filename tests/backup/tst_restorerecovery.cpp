#include "backup/Backup.h"
#include "backup/Progress.h"
#include "backup/RecordsLock.h"
#include "backup/Restore.h"
#include "backup/RestoreJournal.h"
#include "backup/RestoreRecovery.h"
#include "common/ui/ProgramStartup.h"
#include "common/ui/SkinEngine.h"
#include "common/ui/StartupRecovery.h"
#include "data/tables/Skins.h"
#include "tests/support/FakeProc.h"
#include "tests/support/FamilyFixture.h"
#include "tests/support/ScriptedDialogs.h"

#include <QProcess>

#include <csignal>
#include <sys/time.h>

namespace {

// Thrown by the move seam: the restore stops there as if the power went, with no undo.
struct PowerCut
{
};

// The swap of a family with records: database aside, media aside, the backup's database and media in.
constexpr int SwapMoves = 4;

enum class Starter
{
    Program,
    Backup,
    Verify,
    Restore,
    Export
};

struct Run
{
    int exitCode = 0;
    QString output;
};

// kestrin-backup on the family's root, as a script would run it.
Run tool(const Family& family, const QStringList& args)
{
    QProcess process;
    process.setProgram(QStringLiteral(KESTRIN_BACKUP_TOOL));
    process.setArguments(QStringList{QStringLiteral("--root"), family.root(), QStringLiteral("--quiet")} + args);
    process.start();
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        qFatal("kestrin-backup did not finish");
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput()) + QString::fromUtf8(process.readAllStandardError())};
}

// The family's rows; when a backup last ran is left out, as a backup after the repair records it.
QStringList records(const QString& databasePath)
{
    QStringList rows = Family::rows(databasePath);
    rows.removeIf([](const QString& row) { return row.startsWith(QStringLiteral("kestrin_meta|last_backup|")); });
    return rows;
}

QStringList entries(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Makes a file or folder look as if it was last changed days ago.
void age(const QString& path, int days)
{
    const timeval then{QDateTime::currentSecsSinceEpoch() - qint64(days) * 24 * 60 * 60, 0};
    const timeval times[2] = {then, then};
    QVERIFY(::utimes(QFile::encodeName(path).constData(), times) == 0);
}

} // namespace

// A restore cut off at any point, and the lock that keeps restores and programs apart.
class TestRestoreRecovery : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Family> m_family;
    QString m_archive;
    QStringList m_backupRows;
    QStringList m_backupMedia;
    QStringList m_currentRows;
    QStringList m_currentMedia;

    QString databaseFolder() const { return QFileInfo(m_family->files().databasePath).absolutePath(); }

    // The family's records in a backup, then changed: the backup's and the current ones differ.
    void prepareFamily()
    {
        m_family = std::make_unique<Family>();
        m_family->fill();
        m_archive = m_family->path(QStringLiteral("备份.zip"));
        Progress progress;
        const ResultOf<BackupSummary> made = Backup::create({m_family->files(), m_archive}, progress);
        QVERIFY2(made, qPrintable(made.error()));
        m_backupRows = records(m_family->files().databasePath);
        m_backupMedia = Family::folderHashes(m_family->files().mediaFolder);
        m_family->exec(QStringLiteral("INSERT INTO [user] (username) VALUES ('现在的')"));
        Family::writeRandom(m_family->media(QStringLiteral("新照片.jpg")), 2000);
        Database::close();
        m_currentRows = records(m_family->files().databasePath);
        m_currentMedia = Family::folderHashes(m_family->files().mediaFolder);
    }

    std::unique_ptr<StagedRestore> staged()
    {
        Progress progress;
        ResultOf<std::unique_ptr<StagedRestore>> prepared =
            StagedRestore::prepare(m_archive, m_family->files(), progress);
        if (!prepared)
            qFatal("prepare failed: %s", qPrintable(prepared.error()));
        return std::move(prepared.value());
    }

    // A restore that stops after movesDone of its moves, as a power cut would stop it: with no
    // undo, the journal and the stage left on the disk. After the last move it stops before the
    // journal is removed.
    void cutOff(int movesDone)
    {
        std::unique_ptr<StagedRestore> restore = staged();
        int moves = 0;
        restore->setMove([&](const QString& from, const QString& to) {
            if (moves == movesDone)
                throw PowerCut();
            const std::error_code code = StagedRestore::defaultMove(from, to);
            if (++moves == movesDone && movesDone == SwapMoves)
                throw PowerCut();
            return code;
        });
        QVERIFY_THROWS_EXCEPTION(PowerCut, (void)restore->commit());
    }

    // The next start of the given kind; returns what it told the user.
    QString start(Starter starter)
    {
        if (starter == Starter::Program) {
            const QString programFolder = m_family->root() + QStringLiteral("/health");
            QDir().mkpath(programFolder);
            const QString before = QDir::currentPath();
            QDir::setCurrent(programFolder);
            qputenv("ODBCINI", QFile::encodeName(m_family->path(QStringLiteral("odbc.ini"))));
            FakeProc proc;
            proc.add(QCoreApplication::applicationPid(), programFolder + QStringLiteral("/health"));
            ScriptedDialogs dialogs;
            const ProgramIdentity program{QStringLiteral("health"), QStringLiteral("health"),
                                          QStringLiteral("KestrinHealth"),
                                          [] { return std::make_unique<CSKINDATA>(); }};
            const ProgramStartup::Outcome outcome = ProgramStartup::prepare(program, proc.root());
            QDir::setCurrent(before);
            StartupRecovery::releaseRecords();
            Database::close();
            SkinEngine::shutdown();
            if (outcome != ProgramStartup::Outcome::Run)
                qWarning("start-up ended early");
            return dialogs.texts().join(QLatin1Char('\n'));
        }
        const QString out = m_family->path(QStringLiteral("out"));
        switch (starter) {
        case Starter::Backup:
            return tool(*m_family, {QStringLiteral("backup"), m_family->path(QStringLiteral("新备份.zip"))}).output;
        case Starter::Verify:
            return tool(*m_family, {QStringLiteral("verify"), m_archive}).output;
        case Starter::Restore:
            // A backup that is not there: the repair happens, the restore itself is refused.
            return tool(*m_family,
                        {QStringLiteral("restore"), QStringLiteral("--yes"), m_family->path(QStringLiteral("无.zip"))})
                .output;
        default:
            return tool(*m_family, {QStringLiteral("export"), out}).output;
        }
    }

private slots:
    void cleanup()
    {
        StartupRecovery::releaseRecords();
        m_family.reset();
    }

    void restoreCutOffIsFinishedOrPutBackAtTheNextStart_data()
    {
        QTest::addColumn<int>("movesDone");
        QTest::addColumn<bool>("backupDamaged");
        QTest::addColumn<int>("starter");
        const char* starters[] = {"program", "backup", "verify", "restore", "export"};
        for (int moves = 0; moves <= SwapMoves; ++moves) {
            for (const bool damaged : {false, true}) {
                const int starter = (moves + (damaged ? 2 : 0)) % 5;
                QTest::addRow("%d moves done, backup %s, next start: %s", moves, damaged ? "damaged" : "whole",
                              starters[starter])
                    << moves << damaged << starter;
            }
        }
    }
    void restoreCutOffIsFinishedOrPutBackAtTheNextStart()
    {
        QFETCH(int, movesDone);
        QFETCH(bool, backupDamaged);
        QFETCH(int, starter);
        prepareFamily();
        cutOff(movesDone);
        QVERIFY(RestoreJournal::existsFor(m_family->files().databasePath));
        if (backupDamaged) {
            // One of the backup's files, wherever the moves had got it to, lost its end.
            const QString name = QStringLiteral("photo.jpg");
            QString path = m_family->media(name);
            if (movesDone < SwapMoves)
                path = databaseFolder() + QLatin1Char('/') +
                       entries(databaseFolder(), QStringLiteral(".restore-*")).first() + QStringLiteral("/media/") +
                       name;
            QVERIFY(QFile::resize(path, 100));
        }

        const QString told = start(Starter(starter));
        if (backupDamaged) {
            QVERIFY2(told.contains(QStringLiteral("原来的记录已经放回原处")), qPrintable(told));
            QCOMPARE(records(m_family->files().databasePath), m_currentRows);
            QCOMPARE(Family::folderHashes(m_family->files().mediaFolder), m_currentMedia);
            QCOMPARE(entries(databaseFolder(), QStringLiteral("恢复前的记录-*")), QStringList());
        } else {
            QVERIFY2(told.contains(QStringLiteral("已经把备份中的记录全部恢复好")), qPrintable(told));
            QCOMPARE(records(m_family->files().databasePath), m_backupRows);
            QCOMPARE(Family::folderHashes(m_family->files().mediaFolder), m_backupMedia);
            const QStringList aside = entries(databaseFolder(), QStringLiteral("恢复前的记录-*"));
            QCOMPARE(aside.size(), 1);
            QVERIFY(told.contains(aside.first()));
            const QString asideFolder = databaseFolder() + QLatin1Char('/') + aside.first();
            QCOMPARE(records(asideFolder + QStringLiteral("/kestrin.db")), m_currentRows);
            QCOMPARE(Family::folderHashes(asideFolder + QStringLiteral("/media")), m_currentMedia);
        }
        QCOMPARE(entries(databaseFolder(), QStringLiteral(".restore-*")), QStringList());
        QVERIFY(!RestoreJournal::existsFor(m_family->files().databasePath));
    }

    void journalKeepsAStartFromOfferingAnEmptyDatabase()
    {
        // Cut off right after the database went aside: no database in its place.
        prepareFamily();
        cutOff(1);
        QVERIFY(!QFileInfo::exists(m_family->files().databasePath));
        // The start asks nothing (an unanswered question fails the test) and opens real records.
        const QString told = start(Starter::Program);
        QVERIFY2(!told.contains(QStringLiteral("新建")), qPrintable(told));
        QCOMPARE(records(m_family->files().databasePath), m_backupRows);
    }

    void restoreOfAnOlderVersionCutOffIsPutBack()
    {
        // That restore kept no journal: the database aside, the stage beside, nothing in place.
        prepareFamily();
        const QString aside = databaseFolder() + QStringLiteral("/恢复前的记录-20261201-080000");
        QVERIFY(QDir().mkpath(aside));
        QVERIFY(QDir().mkpath(databaseFolder() + QStringLiteral("/.restore-Old123/media")));
        QVERIFY(QFile::rename(m_family->files().databasePath, aside + QStringLiteral("/kestrin.db")));
        const QString told = start(Starter::Program);
        QVERIFY2(told.contains(QStringLiteral("原来的记录已经从")), qPrintable(told));
        QCOMPARE(records(m_family->files().databasePath), m_currentRows);
        QVERIFY(!QFileInfo::exists(aside));
    }

    void restoreIsRefusedWhileAProgramHoldsTheRecords()
    {
        prepareFamily();
        const QStringList before = m_family->installedState();
        FakeProc proc;
        proc.add(4242, QStringLiteral("/opt/kestrin/growth/growth"));
        RecordsLock program(m_family->files().databasePath);
        QVERIFY(program.lock(RecordsLock::Mode::Shared));

        std::unique_ptr<StagedRestore> restore = staged();
        restore->setProcRoot(proc.root());
        const Result refused = restore->commit();
        QVERIFY(!refused);
        QVERIFY2(refused.message().contains(QStringLiteral("请先关闭正在运行的growth")), qPrintable(refused.error()));
        QCOMPARE(m_family->installedState().filter(QStringLiteral(".restore-")).size(), 1);
        restore.reset();
        QCOMPARE(m_family->installedState(), before);

        // From the command line too, and it leaves no stage.
        const Run run = tool(*m_family, {QStringLiteral("restore"), QStringLiteral("--yes"), m_archive});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.contains(QStringLiteral("再恢复备份")), qPrintable(run.output));
        QCOMPARE(m_family->installedState(), before);

        // Once the program ends, the restore goes ahead.
        program.unlock();
        restore = staged();
        const Result done = restore->commit();
        QVERIFY2(done, qPrintable(done.error()));
        QCOMPARE(records(m_family->files().databasePath), m_backupRows);
    }

    void programStartingDuringARestoreSaysSoAndLeavesTheRecordsAlone()
    {
        prepareFamily();
        RecordsLock restoring(m_family->files().databasePath);
        QVERIFY(restoring.lock(RecordsLock::Mode::Exclusive));
        ScriptedDialogs dialogs;
        QVERIFY(!StartupRecovery::holdRecords(m_family->files().databasePath, std::chrono::milliseconds(0)));
        QCOMPARE(dialogs.take(), QStringList{QStringLiteral("正在恢复备份。请等恢复完成后再打开本程序。")});

        // The journal of the running restore is not taken for one that was cut off.
        RestoreJournal journal;
        journal.stage = QStringLiteral(".restore-Running");
        journal.aside = QStringLiteral("恢复前的记录-x");
        journal.steps.append({QStringLiteral("kestrin.db"), QStringLiteral("恢复前的记录-x/kestrin.db"), false});
        QVERIFY(journal.write(m_family->files().databasePath));
        const QStringList before = m_family->installedState();
        QVERIFY(!StartupRecovery::recover(m_family->files().databasePath, std::chrono::milliseconds(0)));
        QCOMPARE(dialogs.take(), QStringList{QStringLiteral("正在恢复备份。请等恢复完成后再打开本程序。")});
        QCOMPARE(m_family->installedState(), before);

        // Once the restore is over, the program starts.
        RestoreJournal::remove(m_family->files().databasePath);
        restoring.unlock();
        QVERIFY(StartupRecovery::holdRecords(m_family->files().databasePath, std::chrono::milliseconds(0)));
        QVERIFY(dialogs.texts().isEmpty());
    }

    void interruptedAtTheQuestionTheToolLeavesNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl+C") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
    }
    void interruptedAtTheQuestionTheToolLeavesNothing()
    {
        QFETCH(int, signal);
        prepareFamily();
        const QStringList before = m_family->installedState();
        // The question is only asked on a terminal: the tool runs in a pseudo-terminal, and the
        // signal comes once the question is there.
        const QString script = QStringLiteral("import os, pty, signal, sys\n"
                                              "pid, fd = pty.fork()\n"
                                              "if pid == 0:\n"
                                              "    os.execv(sys.argv[2], sys.argv[2:])\n"
                                              "seen = b''\n"
                                              "while b'[y/N]' not in seen:\n"
                                              "    try:\n"
                                              "        chunk = os.read(fd, 4096)\n"
                                              "    except OSError:\n"
                                              "        break\n"
                                              "    if not chunk:\n"
                                              "        break\n"
                                              "    seen += chunk\n"
                                              "os.kill(pid, int(sys.argv[1]))\n"
                                              "_, status = os.waitpid(pid, 0)\n"
                                              "print(b'[y/N]' in seen, os.waitstatus_to_exitcode(status))\n");
        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"), script, QString::number(signal), QStringLiteral(KESTRIN_BACKUP_TOOL),
                      QStringLiteral("--root"), m_family->root(), QStringLiteral("restore"), m_archive});
        QVERIFY(python.waitForFinished(120000));
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()).trimmed(), QStringLiteral("True 130"));
        QCOMPARE(m_family->installedState(), before);
    }

    void leftoversOfCutOffRunsGoAfterADayButAsideFoldersStay()
    {
        prepareFamily();
        const QString folder = databaseFolder();
        const QString media = m_family->files().mediaFolder;
        const QString archives = m_family->path(QStringLiteral("文档"));
        QVERIFY(QDir().mkpath(archives));
        const QStringList old{
            folder + QStringLiteral("/.restore-Abc123"), folder + QStringLiteral("/.备份.zip.Xy12ab.partial"),
            archives + QStringLiteral("/.备份.zip.Zz99cd.partial"), media + QStringLiteral("/.kestrin-3f2a.part")};
        const QStringList fresh{folder + QStringLiteral("/.restore-New456"),
                                media + QStringLiteral("/.kestrin-77.part"),
                                archives + QStringLiteral("/.今天.zip.Aa11ef.partial")};
        const QString asideFolder = folder + QStringLiteral("/恢复前的记录-20250101-080000");
        QVERIFY(QDir().mkpath(asideFolder));
        age(asideFolder, 400);
        for (const QString& path : old + fresh) {
            if (path.contains(QStringLiteral(".restore-")))
                QVERIFY(QDir().mkpath(path + QStringLiteral("/media")));
            else
                Family::writeRandom(path, 10);
        }
        for (const QString& path : old)
            age(path, 2);
        // Not the shape of a half-written archive: someone else's file.
        const QString someoneElses = archives + QStringLiteral("/.笔记.partial");
        Family::writeRandom(someoneElses, 10);
        age(someoneElses, 30);

        const Recovery recovery = RestoreRecovery::run(m_family->files(), std::chrono::milliseconds(0), {archives});
        QCOMPARE(recovery.outcome, Recovery::Outcome::Nothing);
        for (const QString& path : old)
            QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
        for (const QString& path : fresh)
            QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        QVERIFY(QFileInfo::exists(asideFolder));
        QVERIFY(QFileInfo::exists(someoneElses));
        QCOMPARE(records(m_family->files().databasePath), m_currentRows);
    }
};

QTEST_MAIN(TestRestoreRecovery)
#include "tst_restorerecovery.moc"

#include "backup/Backup.h"
#include "backup/BackupRecord.h"
#include "backup/Progress.h"
#include "backup/RecordsLock.h"
#include "backup/Sha256.h"
#include "backup/ui/AsideFoldersDialog.h"
#include "backup/ui/BackupActions.h"
#include "backup/ui/BackupProgressDialog.h"
#include "backup/ui/BackupReminderDialog.h"
#include "common/DataSource.h"
#include "common/ui/MainWindowBase.h"
#include "common/ui/StartupRecovery.h"
#include "tests/support/FakeProc.h"
#include "tests/support/FamilyFixture.h"
#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QThread>

#include <atomic>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return Sha256::of(file.readAll());
}

class Window : public MainWindowBase
{
public:
    void showAbout() override {}
};

} // namespace

// The backup items as a parent uses them: from the window menu, through the progress dialog,
// the questions and the closing message.
class TestBackupActions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Family> m_family;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<QTemporaryDir> m_proc;
    std::unique_ptr<Window> m_window;
    BackupActions* m_actions = nullptr;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 7), QTime(9, 0))};

    void addProcess(int pid, const QString& exe) { FakeProc(m_proc->path()).add(pid, exe); }

    void install(NamedMediaProvider provider = NamedMedia::defaultProvider())
    {
        m_window = std::make_unique<Window>();
        m_actions = BackupActions::install(*m_window, {m_family->files(), m_proc->path(), std::move(provider)});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QString archive() const { return m_family->path(QStringLiteral("备份 文件.zip")); }

private slots:
    void init()
    {
        Clock::install(&m_clock);
        m_family = std::make_unique<Family>();
        m_family->fill();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_proc = std::make_unique<QTemporaryDir>();
        addProcess(int(QCoreApplication::applicationPid()), QStringLiteral("/opt/kestrin/health/health"));
        install();
    }

    void cleanup()
    {
        StartupRecovery::releaseRecords();
        m_window.reset();
        m_dialogs.reset();
        m_family.reset();
        Clock::install(nullptr);
    }

    void itemsSitInTheWindowMenu()
    {
        QStringList texts;
        for (QAction* action : m_window->windowMenu()->actions())
            texts << action->text();
        QVERIFY(texts.contains(QStringLiteral("备份…")));
        QVERIFY(texts.contains(QStringLiteral("恢复…")));
        QVERIFY(m_window->actions().contains(m_actions->restoreAction()));
    }

    void backupWritesTheArchiveAndRemembersTheTime()
    {
        m_dialogs->answerPath(archive());
        m_actions->backupAction()->trigger();
        QVERIFY2(m_dialogs->last().startsWith(QStringLiteral("备份完成")), qPrintable(m_dialogs->last()));
        QVERIFY(m_dialogs->last().contains(QStringLiteral("lost.jpg")));
        Progress progress;
        QVERIFY(Backup::verify(archive(), progress));
        QCOMPARE(*BackupRecord::lastBackup(Database::connection()), m_clock.now());
    }

    void cancelInTheProgressDialogLeavesNothing()
    {
        // The backup waits in its worker until the cancel button has been pressed.
        std::atomic_bool pressed{false};
        install([&pressed](const QSqlDatabase& db) {
            while (!pressed)
                QThread::msleep(5);
            return NamedMedia::defaultProvider()(db);
        });
        Gui::whenModal<BackupProgressDialog>([&pressed](BackupProgressDialog* dialog) {
            Gui::click(dialog, QStringLiteral("cancelButton"));
            pressed = true;
        });
        m_dialogs->answerPath(archive());
        m_actions->backupAction()->trigger();
        QCOMPARE(m_dialogs->last(), QStringLiteral("备份已取消，没有留下任何文件。"));
        QVERIFY(!QFileInfo::exists(archive()));
        QCOMPARE(QDir(m_family->path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void restoreIsRefusedWhileAnotherProgramHoldsTheRecords()
    {
        // growth runs and holds the records; the process list only lends its name.
        addProcess(4242, QStringLiteral("/opt/kestrin/growth/growth"));
        RecordsLock growth(m_family->files().databasePath);
        QVERIFY(growth.lock(RecordsLock::Mode::Shared));
        m_actions->restoreAction()->trigger();
        QVERIFY2(m_dialogs->last().contains(QStringLiteral("请先关闭正在运行的growth")), qPrintable(m_dialogs->last()));
        QVERIFY(m_window->isVisible());

        // growth started while the question was open: the restore refuses and changes nothing.
        growth.unlock();
        Progress progress;
        QVERIFY(Backup::create({m_family->files(), archive()}, progress));
        const QStringList before = m_family->installedState();
        m_dialogs->answerFiles({archive()});
        m_dialogs->answerConfirm([&growth] { return growth.lock(RecordsLock::Mode::Shared); });
        m_actions->restoreAction()->trigger();
        QVERIFY2(m_dialogs->last().contains(QStringLiteral("growth")), qPrintable(m_dialogs->last()));
        QCOMPARE(m_family->installedState(), before);
        QVERIFY(m_window->isVisible());
    }

    void backupAddsZipBeforeAskingToReplace()
    {
        // The save dialog asked about "备份", which does not exist; "备份.zip" does.
        const QString chosen = m_family->path(QStringLiteral("备份"));
        QFile old(chosen + QStringLiteral(".zip"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older backup");
        old.close();
        m_dialogs->answerPath(chosen);
        m_dialogs->answerConfirm(false);
        m_actions->backupAction()->trigger();
        QVERIFY2(m_dialogs->last().contains(QStringLiteral("已经存在")), qPrintable(m_dialogs->last()));
        QCOMPARE(fileHash(old.fileName()), Sha256::of("an older backup"));

        m_dialogs->answerPath(chosen);
        m_dialogs->answerConfirm(true);
        m_actions->backupAction()->trigger();
        QVERIFY2(m_dialogs->last().startsWith(QStringLiteral("备份完成")), qPrintable(m_dialogs->last()));
    }

    void databaseAndMediaComeFromOneRoot()
    {
        // The program's own folder lies elsewhere: only the data source knows the records.
        QTemporaryDir odbc;
        const QByteArray ini = qgetenv("ODBCINI");
        qputenv("ODBCINI", QFile::encodeName(odbc.filePath(QStringLiteral("odbc.ini"))));
        QVERIFY(DataSource::registerDataSource(DataSource::Name, m_family->files().databasePath).ok());
        m_window = std::make_unique<Window>();
        const FamilyFiles files = BackupActions::install(*m_window)->familyFiles();
        qputenv("ODBCINI", ini);
        QCOMPARE(files.databasePath, m_family->files().databasePath);
        QCOMPARE(files.mediaFolder, m_family->files().mediaFolder);
    }

    void restoreAsksThenReplacesTheRecordsAndCloses()
    {
        // The program holds the records as it does from its start; its own restore is not refused.
        QVERIFY(StartupRecovery::holdRecords(m_family->files().databasePath, std::chrono::milliseconds(0)));
        Progress progress;
        QVERIFY(Backup::create({m_family->files(), archive()}, progress));
        const QStringList rowsThen = Family::rows(m_family->files().databasePath);
        m_family->exec(QStringLiteral("DELETE FROM chengzhang"));
        const QStringList rowsChanged = Family::rows(m_family->files().databasePath);

        // Declined: everything stays, nothing unpacked is left behind.
        const QStringList before = m_family->installedState();
        m_dialogs->answerFiles({archive()});
        m_dialogs->answerConfirm(false);
        m_actions->restoreAction()->trigger();
        QVERIFY(m_dialogs->last().contains(QStringLiteral("确定要恢复吗")));
        QCOMPARE(m_family->installedState(), before);
        QVERIFY(m_window->isVisible());

        m_dialogs->answerFiles({archive()});
        m_dialogs->answerConfirm(true);
        m_actions->restoreAction()->trigger();
        QVERIFY2(m_dialogs->last().startsWith(QStringLiteral("恢复完成")), qPrintable(m_dialogs->last()));
        QCOMPARE(Family::rows(m_family->files().databasePath), rowsThen);
        QVERIFY(Database::connection().isOpen());
        QVERIFY(!m_window->isVisible());
        const QStringList aside = QDir(QFileInfo(m_family->files().databasePath).absolutePath())
                                      .entryList({QStringLiteral("恢复前的记录-*")}, QDir::Dirs);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(Family::rows(QFileInfo(m_family->files().databasePath).absolutePath() + QLatin1Char('/') +
                              aside.first() + QStringLiteral("/kestrin.db")),
                 rowsChanged);
    }

    void asideFoldersAreListedAndDeletedOnlyOnRequest()
    {
        const QString folder = QFileInfo(m_family->files().databasePath).absolutePath();
        const QString older = folder + QStringLiteral("/恢复前的记录-20250301-081500");
        const QString newer = folder + QStringLiteral("/恢复前的记录-20261101-200000");
        QVERIFY(QDir().mkpath(older + QStringLiteral("/media")));
        QVERIFY(QDir().mkpath(newer));
        Family::writeRandom(older + QStringLiteral("/media/photo.jpg"), 3 << 20);
        Family::writeRandom(newer + QStringLiteral("/kestrin.db"), 4096);

        QStringList listed;
        Gui::whenModal<AsideFoldersDialog>([&](AsideFoldersDialog* dialog) {
            auto* list = Gui::find<QListWidget>(dialog, QStringLiteral("asideList"));
            for (int i = 0; i < list->count(); ++i)
                listed << list->item(i)->text();
            // Declined first: nothing goes.
            list->setCurrentRow(1);
            m_dialogs->answerConfirm(false);
            Gui::click(dialog, QStringLiteral("deleteButton"));
            QCOMPARE(list->count(), 2);
            list->setCurrentRow(1);
            m_dialogs->answerConfirm(true);
            Gui::click(dialog, QStringLiteral("deleteButton"));
            QCOMPARE(list->count(), 1);
            Gui::click(dialog, QStringLiteral("closeButton"));
        });
        m_actions->asideFoldersAction()->trigger();
        QCOMPARE(listed.size(), 2);
        QVERIFY2(listed.at(0).startsWith(QStringLiteral("2026年11月1日 20:00")) &&
                     listed.at(0).contains(QStringLiteral("4 KB")),
                 qPrintable(listed.at(0)));
        QVERIFY2(listed.at(1).startsWith(QStringLiteral("2025年3月1日 08:15")) &&
                     listed.at(1).contains(QStringLiteral("3.0 MB")),
                 qPrintable(listed.at(1)));
        QVERIFY(!QFileInfo::exists(older));
        QVERIFY(QFileInfo::exists(newer + QStringLiteral("/kestrin.db")));

        // The restore's question says they are there and where to look.
        Progress progress;
        QVERIFY(Backup::create({m_family->files(), archive()}, progress));
        m_dialogs->answerFiles({archive()});
        m_dialogs->answerConfirm(false);
        m_actions->restoreAction()->trigger();
        QVERIFY2(m_dialogs->last().contains(QStringLiteral("已经有 1 份以前恢复时保存的记录")),
                 qPrintable(m_dialogs->last()));
    }

    void badArchiveIsReportedAndChangesNothing()
    {
        const QString foreign = m_family->path(QStringLiteral("照片.zip"));
        QFile file(foreign);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("PK\x03\x04 not really");
        file.close();
        const QStringList before = m_family->installedState();
        m_dialogs->answerFiles({foreign});
        m_actions->restoreAction()->trigger();
        QVERIFY2(m_dialogs->last().contains(QStringLiteral("无法读取")), qPrintable(m_dialogs->last()));
        QCOMPARE(m_family->installedState(), before);
        QVERIFY(m_window->isVisible());
    }

    void reminderOffersABackupOnceAMonthOld()
    {
        QVERIFY(BackupRecord::setLastBackup(Database::connection(), m_clock.now().addDays(-45)));
        QString shown;
        Gui::whenModal<BackupReminderDialog>([&shown](BackupReminderDialog* dialog) {
            shown = Gui::find<QLabel>(dialog, QStringLiteral("reminderLabel"))->text();
            Gui::click(dialog, QStringLiteral("backupNowButton"));
        });
        m_dialogs->answerPath(archive());
        m_actions->remindIfDue();
        QVERIFY2(shown.contains(QStringLiteral("45 天")), qPrintable(shown));
        QVERIFY(QFileInfo::exists(archive()));
        QCOMPARE(*BackupRecord::lastBackup(Database::connection()), m_clock.now());
    }

    void reminderCanBeTurnedOff()
    {
        QVERIFY(BackupRecord::setLastBackup(Database::connection(), m_clock.now().addDays(-45)));
        Gui::whenModal<BackupReminderDialog>([](BackupReminderDialog* dialog) {
            Gui::find<QCheckBox>(dialog, QStringLiteral("stopRemindingCheck"))->setChecked(true);
            Gui::click(dialog, QStringLiteral("laterButton"));
        });
        m_actions->remindIfDue();
        QVERIFY(!BackupRecord::reminderEnabled(Database::connection()));
        QVERIFY(!BackupRecord::reminder(Database::connection(), m_clock.now())->due);
        QVERIFY(m_dialogs->texts().isEmpty());
    }
};

QTEST_MAIN(TestBackupActions)
#include "tst_backupactions.moc"

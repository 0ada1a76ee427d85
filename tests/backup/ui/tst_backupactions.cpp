#include "backup/Backup.h"
#include "backup/BackupRecord.h"
#include "backup/Progress.h"
#include "backup/ui/BackupActions.h"
#include "backup/ui/BackupProgressDialog.h"
#include "backup/ui/BackupReminderDialog.h"
#include "common/ui/MainWindowBase.h"
#include "tests/support/FakeProc.h"
#include "tests/support/FamilyFixture.h"
#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QThread>

#include <atomic>

namespace {

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

    void restoreIsRefusedWhileAnotherProgramRuns()
    {
        addProcess(4242, QStringLiteral("/opt/kestrin/growth/growth"));
        m_actions->restoreAction()->trigger();
        QVERIFY2(m_dialogs->last().contains(QStringLiteral("growth")), qPrintable(m_dialogs->last()));
        QVERIFY(m_window->isVisible());
    }

    void restoreAsksThenReplacesTheRecordsAndCloses()
    {
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

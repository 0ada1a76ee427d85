#include "common/ProcessEnumerator.h"
#include "common/SingleInstance.h"
#include "tests/support/FakeProc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

QList<QByteArray> walk(CProcessEnumerator& processes)
{
    QList<QByteArray> names;
    CProcessEntry entry;
    for (bool more = processes.FirstProcess(entry); more; more = processes.NextProcess(entry))
        names << entry.name();
    return names;
}

class TestProcessList : public QObject
{
    Q_OBJECT

private slots:
    void methodsAndChoice()
    {
        FakeProc proc;
        CProcessEnumerator processes(proc.root());
        QCOMPARE(processes.AvailableMethods(), 3);
        QCOMPARE(processes.CurrentMethod(), 2); // bare names win over full paths
        QCOMPARE(processes.SelectMethod(4), 2); // 16-bit tasks alone are never a method
        QCOMPARE(processes.SelectMethod(6), 2); // 4 is not available
        QCOMPARE(processes.SelectMethod(1), 1);
        QCOMPARE(processes.SelectMethod(3), 3);

        CProcessEnumerator nothing(proc.root() + QStringLiteral("/missing"));
        QCOMPARE(nothing.AvailableMethods(), 0);
        CProcessEntry entry;
        QVERIFY(!nothing.FirstProcess(entry));
        QVERIFY(!nothing.NextProcess(entry));
    }

    void namesByMethod()
    {
        FakeProc proc;
        proc.add(20, QStringLiteral("/opt/kestrin/health/health"));
        proc.add(7, QStringLiteral("/usr/bin/bash"));
        proc.add(2, QString(), "kthreadd"); // kernel thread: no executable
        QDir().mkpath(proc.root() + QStringLiteral("/self"));

        CProcessEnumerator processes(proc.root());
        QCOMPARE(walk(processes), (QList<QByteArray>{"kthreadd", "bash", "health"}));

        processes.SelectMethod(1);
        QCOMPARE(walk(processes),
                 (QList<QByteArray>{CProcessEnumerator::ReadError, "/usr/bin/bash", "/opt/kestrin/health/health"}));
        CProcessEntry entry;
        QVERIFY(processes.FirstProcess(entry));
        QCOMPARE(entry.processId(), 2u);
        QCOMPARE(entry.taskHandle(), 0);
    }

    void longNamesAreCut()
    {
        FakeProc proc;
        const QString longPath = QStringLiteral("/") + QString(300, QLatin1Char('x'));
        proc.add(1, longPath);
        CProcessEnumerator processes(proc.root());
        processes.SelectMethod(1);
        const QList<QByteArray> names = walk(processes);
        QCOMPARE(names.size(), 1);
        QCOMPARE(names.first().size(), 255);
        QVERIFY(longPath.toUtf8().startsWith(names.first()));
    }

    void processEndingDuringWalkIsSkipped()
    {
        FakeProc proc;
        proc.add(1, QStringLiteral("/bin/a"));
        proc.add(2, QStringLiteral("/bin/b"));
        proc.add(3, QStringLiteral("/bin/c"));
        CProcessEnumerator processes(proc.root());
        CProcessEntry entry;
        QVERIFY(processes.FirstProcess(entry));
        QCOMPARE(entry.name(), QByteArray("a"));
        proc.remove(2);
        QVERIFY(processes.NextProcess(entry));
        QCOMPARE(entry.name(), QByteArray("c"));
        QCOMPARE(entry.processId(), 3u);
        QVERIFY(!processes.NextProcess(entry));
    }

    // A program that has ended but that its parent has not collected yet runs no more: it must not
    // keep the same program from opening again.
    void endedProcessesAreNotListed()
    {
        FakeProc proc;
        proc.add(5, QStringLiteral("/opt/kestrin/Reelbox/Reelbox"));
        proc.addEnded(6, "Reelbox");
        proc.add(7, QString(), "kworker"); // no executable, but running
        CProcessEnumerator processes(proc.root());
        QCOMPARE(walk(processes), (QList<QByteArray>{"Reelbox", "kworker"}));

        // The same with a real zombie: a child of this test that has ended, not yet collected.
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0)
            ::_exit(0);
        const auto isZombie = [child] {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(child));
            return stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
        };
        QTRY_VERIFY(isZombie());
        CProcessEnumerator real;
        CProcessEntry entry;
        bool listed = false;
        for (bool more = real.FirstProcess(entry); more; more = real.NextProcess(entry))
            listed = listed || entry.processId() == uint32_t(child);
        ::waitpid(child, nullptr, 0);
        QVERIFY(!listed);
    }

    void realProcessListShowsThisProgram()
    {
        CProcessEnumerator processes;
        QVERIFY(processes.AvailableMethods() & 2);
        const QByteArray self = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8();
        QVERIFY(walk(processes).contains(self));
        processes.SelectMethod(1);
        QVERIFY(walk(processes).contains(QCoreApplication::applicationFilePath().toUtf8()));
    }

    void singleInstanceRule_data()
    {
        QTest::addColumn<QStringList>("executables");
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("key");
        QTest::newRow("alone") << QStringList{QStringLiteral("/k/health/health"), QStringLiteral("/bin/sh")} << 2
                               << false << QStringLiteral("health");
        QTest::newRow("second copy") << QStringList{QStringLiteral("/k/health/health"), QStringLiteral("/x/health")}
                                     << 2 << true << QStringLiteral("health");
        QTest::newRow("a daemon whose name begins with the key does not count")
            << QStringList{QStringLiteral("/k/health/health"), QStringLiteral("/usr/sbin/healthd")} << 2 << false
            << QStringLiteral("health");
        QTest::newRow("substring does not count")
            << QStringList{QStringLiteral("/k/health"), QStringLiteral("/x/myhealthy")} << 2 << false
            << QStringLiteral("health");
        QTest::newRow("folder name does not count under full paths")
            << QStringList{QStringLiteral("/k/health/health"), QStringLiteral("/k/health/notes")} << 1 << false
            << QStringLiteral("health");
        QTest::newRow("second copy under full paths")
            << QStringList{QStringLiteral("/k/health/health"), QStringLiteral("/x/health")} << 1 << true
            << QStringLiteral("health");
        // Names are compared as the updater compares them, so the key Growth finds growth/growth.
        QTest::newRow("growth in lower case is Growth")
            << QStringList{QStringLiteral("/k/growth/growth"), QStringLiteral("/x/growth")} << 2 << true
            << QStringLiteral("Growth");
        QTest::newRow("an .exe ending is the same program")
            << QStringList{QStringLiteral("/k/Reelbox/Reelbox"), QStringLiteral("/x/reelbox.exe")} << 2 << true
            << QStringLiteral("Reelbox");
    }

    void singleInstanceRule()
    {
        QFETCH(QStringList, executables);
        QFETCH(int, method);
        QFETCH(bool, running);
        QFETCH(QString, key);
        FakeProc proc;
        uint pid = 100;
        for (const QString& exe : executables)
            proc.add(pid++, exe);
        CProcessEnumerator processes(proc.root());
        processes.SelectMethod(method);
        QCOMPARE(SingleInstance::isAlreadyRunning(key, processes), running);
    }
};

QTEST_GUILESS_MAIN(TestProcessList)
#include "tst_processlist.moc"

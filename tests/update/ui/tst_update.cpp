#include "tests/support/FakeProc.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TinyHttpServer.h"
#include "update/ui/CUpdateDlg.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <elf.h>
#include <signal.h>
#include <sys/resource.h>

// The updater against a local server: an installation root of its own with old programs.
class TestUpdate : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<TinyHttpServer> m_server;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<OnlineUpdate> m_update;
    std::unique_ptr<CUpdateDlg> m_window;

    QString path(const QString& relative) const { return m_root->filePath(relative); }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void write(const QString& file, const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    // A program for this machine: the ELF header of this test's own executable without its tables,
    // then text that tells the programs apart.
    static QByteArray program(const QByteArray& text, quint16 machine = 0, quint64 sectionsAt = 0)
    {
        using Header = std::conditional_t<sizeof(void*) == 8, Elf64_Ehdr, Elf32_Ehdr>;
        QFile self(QStringLiteral("/proc/self/exe"));
        if (!self.open(QIODevice::ReadOnly))
            return {};
        Header header;
        const QByteArray bytes = self.read(sizeof header);
        memcpy(&header, bytes.constData(), sizeof header);
        header.e_phoff = 0;
        header.e_phnum = 0;
        header.e_shoff = sectionsAt;
        header.e_shnum = sectionsAt ? 30 : 0;
        header.e_shstrndx = 0;
        if (machine)
            header.e_machine = machine;
        return QByteArray(reinterpret_cast<const char*>(&header), sizeof header) + text;
    }

    void writeLocalVersion(int version)
    {
        write(path(QStringLiteral("liveupdate/version.ini")),
              QStringLiteral("[Version]\nversion=%1\n\n[Servers]\nupdate=%2\nnews=%2/news\n")
                  .arg(version)
                  .arg(m_server->url())
                  .toUtf8());
    }
    // A published version file naming modules by their server address or their own URL.
    void publish(int version, const QByteArray& modules = {})
    {
        m_server->serve(QStringLiteral("/version.txt"),
                        "[Version]\nversion=" + QByteArray::number(version) + "\n" + modules);
    }
    void addProcess(int pid, const QString& exe) { FakeProc(path(QStringLiteral("proc"))).add(pid, exe); }
    void openWindow()
    {
        m_update = std::make_unique<OnlineUpdate>(path(QStringLiteral("liveupdate")), path(QStringLiteral("proc")));
        m_window = std::make_unique<CUpdateDlg>(*m_update);
        m_window->show();
        m_window->startCheck();
        QCOMPARE(m_window->status(), QStringLiteral("正在检查，请等待。。。。。。"));
        QTRY_VERIFY(m_window->status() != QStringLiteral("正在检查，请等待。。。。。。"));
    }
    QPushButton* button(const char* name) const
    {
        return Gui::find<QPushButton>(m_window.get(), QString::fromLatin1(name));
    }
    // Reelbox and the updater come from the server's own paths, health from an address of its
    // own; growth's key is empty.
    QByteArray modulesOf() const
    {
        return "[Reelbox]\nreelbox=yes\n[Health]\nhealth=" + m_server->url().toUtf8() + "/files/health\n" +
               "[Growth]\ngrowth=\n[Liveupdate]\nupdate=yes\n";
    }
    void serveModules()
    {
        m_server->serve(QStringLiteral("/reelbox.exe"), program("new reelbox"));
        m_server->serve(QStringLiteral("/files/health"), program("new health"));
        m_server->serve(QStringLiteral("/update.exe"), program("new update"));
    }
    void expectNothingReplaced()
    {
        for (const char* program : {"Reelbox/Reelbox", "health/health", "growth/growth", "liveupdate/update"})
            QCOMPARE(read(path(QString::fromLatin1(program))), QByteArray("old ") + program);
        QCOMPARE(m_update->localVersion(), 1);
        QVERIFY(button("downloadButton")->isEnabled()); // offered again
        // No temporary or backup file is left beside the programs.
        for (const char* folder : {"Reelbox", "health", "liveupdate"})
            QCOMPARE(QDir(path(QString::fromLatin1(folder))).entryList(QDir::Files | QDir::Hidden).size(),
                     folder == QByteArray("liveupdate") ? 2 : 1);
    }

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        m_server = std::make_unique<TinyHttpServer>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        QDir().mkpath(path(QStringLiteral("proc")));
        for (const char* program : {"Reelbox/Reelbox", "health/health", "growth/growth", "liveupdate/update"})
            write(path(QString::fromLatin1(program)), QByteArray("old ") + program);
        QFile::setPermissions(path(QStringLiteral("health/health")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void cleanup()
    {
        m_window.reset();
        m_update.reset();
        m_dialogs.reset();
        m_server.reset();
        m_root.reset();
    }

    void unreachableServer()
    {
        writeLocalVersion(1);
        m_server->close(); // nothing listens there any more
        openWindow();
        const QStringList lines = m_window->status().split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("网络连接失败！"));
        QVERIFY2(lines.value(1).contains(QStringLiteral("网络")), qPrintable(m_window->status()));
        QVERIFY2(m_window->status().contains(QStringLiteral("详细信息：")), qPrintable(m_window->status()));
        QVERIFY(!button("downloadButton")->isVisible());
    }

    void aServerWithoutVersionFileIsNotBlamedOnTheNetwork()
    {
        writeLocalVersion(1);
        openWindow(); // the server answers, but has no version.txt
        const QString status = m_window->status();
        const QStringList lines = status.split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("升级服务器上没有版本信息！"));
        QVERIFY2(!status.contains(QStringLiteral("请检查电脑是否连上了网络")), qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("详细信息：")) && status.contains(QStringLiteral("Not Found")),
                 qPrintable(status));
        QVERIFY(!button("downloadButton")->isVisible());
        // The detail is plain text that can be selected and copied as it stands: the address
        // carries no invisible characters.
        auto* label = Gui::find<QLabel>(m_window.get(), QStringLiteral("statusLabel"));
        QCOMPARE(label->text(), status);
        QVERIFY2(status.contains(m_server->url() + QStringLiteral("/version.txt")), qPrintable(status));
        QVERIFY(!status.contains(QChar(0x200b)));
        QVERIFY(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void sameOrLowerVersion_data()
    {
        QTest::addColumn<int>("published");
        QTest::newRow("same") << 3;
        QTest::newRow("lower") << 2;
    }
    void sameOrLowerVersion()
    {
        QFETCH(int, published);
        writeLocalVersion(3);
        publish(published);
        openWindow();
        QCOMPARE(m_window->status(), QStringLiteral("抱歉。还没有新版本！"));
        QVERIFY(!button("downloadButton")->isVisible());
        QVERIFY(!button("newsButton")->isVisible());
    }

    void missingLocalFileCountsAsMinusOne()
    {
        m_update = std::make_unique<OnlineUpdate>(path(QStringLiteral("liveupdate")));
        QCOMPARE(m_update->localVersion(), -1);
    }

    void newerVersionOffersBothButtons()
    {
        writeLocalVersion(1);
        publish(2);
        openWindow();
        QCOMPARE(m_window->status(), QStringLiteral("有新版本了,下载前请把5个模块全部关闭"));
        QVERIFY(button("downloadButton")->isVisible() && button("downloadButton")->isEnabled());
        QVERIFY(button("newsButton")->isVisible() && button("newsButton")->isEnabled());
        // The published file is kept in the temporary folder, not beside the programs.
        QVERIFY(!QFile::exists(path(QStringLiteral("version.ini"))));
    }

    void runningModuleStopsTheDownload()
    {
        writeLocalVersion(1);
        publish(2, modulesOf());
        serveModules();
        addProcess(77, QStringLiteral("/opt/kestrin/Reelbox/REELBOX"));
        openWindow();
        Gui::click(button("downloadButton"));
        QCOMPARE(m_dialogs->texts().size(), 1);
        QVERIFY2(m_dialogs->last().contains(QStringLiteral("Reelbox")), qPrintable(m_dialogs->last()));
        QCOMPARE(read(path(QStringLiteral("Reelbox/Reelbox"))), QByteArray("old Reelbox/Reelbox"));
        QCOMPARE(m_update->localVersion(), 1);
        QVERIFY(!m_server->requests().contains(QStringLiteral("/reelbox.exe")));
    }

    void fullUpdate()
    {
        writeLocalVersion(1);
        publish(2, modulesOf());
        serveModules();
        openWindow();
        Gui::click(button("downloadButton"));
        QCOMPARE(m_window->status(), QStringLiteral("正在升级请等待。。。。"));
        QVERIFY(!button("downloadButton")->isEnabled());
        QTRY_COMPARE(m_window->status(), QStringLiteral("升级完毕"));
        QCOMPARE(read(path(QStringLiteral("Reelbox/Reelbox"))), program("new reelbox"));
        QCOMPARE(read(path(QStringLiteral("health/health"))), program("new health"));
        QCOMPARE(read(path(QStringLiteral("liveupdate/update"))), program("new update"));
        // An empty key is skipped.
        QCOMPARE(read(path(QStringLiteral("growth/growth"))), QByteArray("old growth/growth"));
        QVERIFY(QFileInfo(path(QStringLiteral("health/health"))).isExecutable());
        QCOMPARE(m_update->localVersion(), 2);
        QSettings local(path(QStringLiteral("liveupdate/version.ini")), QSettings::IniFormat);
        QCOMPARE(local.value(QStringLiteral("Servers/update")).toString(), m_server->url());
        QCOMPARE(QDir(path(QStringLiteral("health"))).entryList(QDir::Files), QStringList{QStringLiteral("health")});
    }

    // Whatever goes wrong with one module, every installed program stays as it was, and the
    // status says in Chinese what happened, with the engine's words as detail.
    void failedModuleChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("healthUrl");
        QTest::addColumn<QByteArray>("healthBody");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("extra");
        QTest::addColumn<QString>("expected");
        const QByteArray served = "%1/files/health";
        const int exact = int(TinyHttpServer::Length::Exact);
        QTest::newRow("404") << QByteArray("%1/files/missing") << QByteArray() << exact << QByteArray()
                             << QStringLiteral("服务器上没有这个文件（404）");
        QTest::newRow("wrong hash")
            << served << program("new health") << exact
            << QByteArray("sha256=" + QCryptographicHash::hash("other", QCryptographicHash::Sha256).toHex() + "\n")
            << QStringLiteral("校验不符");
        QTest::newRow("file URL") << QByteArray("file:///bin/true") << QByteArray() << exact << QByteArray()
                                  << QStringLiteral("不是 http 或 https 网址");
        QTest::newRow("data URL") << QByteArray("data:application/octet-stream;base64,AAAA") << QByteArray() << exact
                                  << QByteArray() << QStringLiteral("不是 http 或 https 网址");
        QTest::newRow("empty") << served << QByteArray() << exact << QByteArray() << QStringLiteral("空的");
        QTest::newRow("shorter than its Content-Length")
            << served << program("new health") << int(TinyHttpServer::Length::Claimed) << QByteArray()
            << QStringLiteral("不完整");
        QTest::newRow("cut short without a Content-Length")
            << served << program("new he", 0, 4096) << int(TinyHttpServer::Length::Missing) << QByteArray()
            << QStringLiteral("不完整");
        QTest::newRow("not a program") << served << QByteArray("<html>an error page</html>") << exact << QByteArray()
                                       << QStringLiteral("不是这台电脑能运行的程序");
        QTest::newRow("a program for another machine")
            << served << program("new health", EM_S390 == program("").at(18) ? EM_ARM : EM_S390) << exact
            << QByteArray() << QStringLiteral("不是这台电脑能运行的程序");
    }
    void failedModuleChangesNothing()
    {
        QFETCH(QByteArray, healthUrl);
        QFETCH(QByteArray, healthBody);
        QFETCH(int, length);
        QFETCH(QByteArray, extra);
        QFETCH(QString, expected);
        writeLocalVersion(1);
        const QByteArray url = QByteArray(healthUrl).replace("%1", m_server->url().toUtf8());
        publish(2, "[Reelbox]\nreelbox=yes\n[Health]\nhealth=" + url + "\n" + extra + "[Liveupdate]\nupdate=yes\n");
        m_server->serve(QStringLiteral("/reelbox.exe"), program("new reelbox"));
        m_server->serve(QStringLiteral("/update.exe"), program("new update"));
        m_server->serve(QStringLiteral("/files/health"), healthBody, TinyHttpServer::Length(length),
                        healthBody.size() + 1000);
        openWindow();
        Gui::click(button("downloadButton"));
        QTRY_VERIFY(m_window->status().startsWith(QStringLiteral("升级失败")));
        const QString status = m_window->status();
        QVERIFY2(status.contains(QStringLiteral("Health")), qPrintable(status));
        QVERIFY2(status.contains(expected), qPrintable(status));
        expectNothingReplaced();
    }

    void networkErrorsAreToldInChineseWithTheEnginesWordsAsDetail()
    {
        writeLocalVersion(1);
        publish(2, "[Health]\nhealth=" + m_server->url().toUtf8() + "/files/missing\n");
        openWindow();
        Gui::click(button("downloadButton"));
        QTRY_VERIFY(m_window->status().startsWith(QStringLiteral("升级失败")));
        const QString status = m_window->status();
        const qsizetype detail = status.indexOf(QStringLiteral("详细信息："));
        QVERIFY2(detail > 0, qPrintable(status));
        QVERIFY2(status.left(detail).contains(QStringLiteral("服务器上没有这个文件（404）")), qPrintable(status));
        QVERIFY2(!status.left(detail).contains(QStringLiteral("server replied")), qPrintable(status));
        QVERIFY2(status.mid(detail).contains(QStringLiteral("Not Found")), qPrintable(status));
    }

    // A disk that fills while the programs are written leaves every program as it was.
    void aWriteErrorChangesNothing()
    {
        writeLocalVersion(1);
        publish(2, modulesOf());
        m_server->serve(QStringLiteral("/reelbox.exe"), program("new reelbox"));
        m_server->serve(QStringLiteral("/files/health"), program(QByteArray(300 * 1024, 'h')));
        m_server->serve(QStringLiteral("/update.exe"), program("new update"));
        openWindow();
        // Files of this process may not grow beyond 64 KiB while the download runs.
        rlimit before{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
        const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 64 * 1024;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        Gui::click(button("downloadButton"));
        QTRY_VERIFY(m_window->status() != QStringLiteral("正在升级请等待。。。。"));
        setrlimit(RLIMIT_FSIZE, &before);
        signal(SIGXFSZ, previousHandler);
        QVERIFY2(m_window->status().startsWith(QStringLiteral("升级失败")), qPrintable(m_window->status()));
        QVERIFY2(m_window->status().contains(QStringLiteral("磁盘")), qPrintable(m_window->status()));
        expectNothingReplaced();
    }

    // When one program cannot be put in place, those put in place before it are put back.
    void aFailedReplacementPutsTheOldProgramsBack()
    {
        writeLocalVersion(1);
        publish(2, modulesOf());
        serveModules();
        // The updater's place is taken by a folder, which no file can replace.
        QVERIFY(QFile::remove(path(QStringLiteral("liveupdate/update"))));
        write(path(QStringLiteral("liveupdate/update/inside")), "a folder in the way");
        openWindow();
        Gui::click(button("downloadButton"));
        QTRY_VERIFY(m_window->status() != QStringLiteral("正在升级请等待。。。。"));
        const QString status = m_window->status();
        QVERIFY2(status.startsWith(QStringLiteral("升级失败")), qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("Liveupdate")), qPrintable(status));
        QCOMPARE(read(path(QStringLiteral("Reelbox/Reelbox"))), QByteArray("old Reelbox/Reelbox"));
        QCOMPARE(read(path(QStringLiteral("health/health"))), QByteArray("old health/health"));
        QVERIFY(QFileInfo(path(QStringLiteral("health/health"))).isExecutable());
        QCOMPARE(m_update->localVersion(), 1);
        for (const char* folder : {"Reelbox", "health"})
            QCOMPARE(QDir(path(QString::fromLatin1(folder))).entryList(QDir::Files | QDir::Hidden).size(), 1);
        QCOMPARE(QDir(path(QStringLiteral("liveupdate"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("version.ini")});
    }

    void newsIsShownAndTheDownloadStillWorks()
    {
        writeLocalVersion(1);
        publish(2, modulesOf());
        serveModules();
        m_server->serve(QStringLiteral("/news/version.txt"),
                        "[Connect]\nconnect=新版本增加了生长曲线，修正了若干问题。\n");
        openWindow();
        Gui::click(button("newsButton"));
        auto* news = Gui::find<QPlainTextEdit>(m_window.get(), QStringLiteral("newsEdit"));
        QVERIFY(news->isVisible());
        QTRY_COMPARE(news->toPlainText(), QStringLiteral("新版本增加了生长曲线，修正了若干问题。"));
        Gui::click(button("downloadButton"));
        QTRY_COMPARE(m_window->status(), QStringLiteral("升级完毕"));
        QCOMPARE(read(path(QStringLiteral("health/health"))), program("new health"));
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"

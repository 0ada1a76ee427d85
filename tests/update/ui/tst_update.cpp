#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TinyHttpServer.h"
#include "update/ui/CUpdateDlg.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

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
    void addProcess(int pid, const QString& exe)
    {
        const QString folder = path(QStringLiteral("proc/%1").arg(pid));
        QDir().mkpath(folder);
        QFile::link(exe, folder + QStringLiteral("/exe"));
    }
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
        m_server->serve(QStringLiteral("/reelbox.exe"), "new reelbox");
        m_server->serve(QStringLiteral("/files/health"), "new health");
        m_server->serve(QStringLiteral("/update.exe"), "new update");
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
        QCOMPARE(m_window->status(), QStringLiteral("网络连接失败！"));
        QVERIFY(!button("downloadButton")->isVisible());
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
        QCOMPARE(read(path(QStringLiteral("Reelbox/Reelbox"))), QByteArray("new reelbox"));
        QCOMPARE(read(path(QStringLiteral("health/health"))), QByteArray("new health"));
        QCOMPARE(read(path(QStringLiteral("liveupdate/update"))), QByteArray("new update"));
        // An empty key is skipped.
        QCOMPARE(read(path(QStringLiteral("growth/growth"))), QByteArray("old growth/growth"));
        QVERIFY(QFileInfo(path(QStringLiteral("health/health"))).isExecutable());
        QCOMPARE(m_update->localVersion(), 2);
        QSettings local(path(QStringLiteral("liveupdate/version.ini")), QSettings::IniFormat);
        QCOMPARE(local.value(QStringLiteral("Servers/update")).toString(), m_server->url());
        QCOMPARE(QDir(path(QStringLiteral("health"))).entryList(QDir::Files), QStringList{QStringLiteral("health")});
    }

    void failedModuleChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("extra");
        QTest::addColumn<bool>("serveHealth");
        QTest::newRow("404") << QByteArray() << false;
        QTest::newRow("wrong hash")
            << QByteArray("sha256=" + QCryptographicHash::hash("other", QCryptographicHash::Sha256).toHex() + "\n")
            << true;
    }
    void failedModuleChangesNothing()
    {
        QFETCH(QByteArray, extra);
        QFETCH(bool, serveHealth);
        writeLocalVersion(1);
        QByteArray modules = modulesOf();
        modules.replace("[Growth]", QByteArray(extra + "[Growth]")); // the hash lands in the [Health] section
        publish(2, modules);
        m_server->serve(QStringLiteral("/reelbox.exe"), "new reelbox");
        m_server->serve(QStringLiteral("/update.exe"), "new update");
        if (serveHealth)
            m_server->serve(QStringLiteral("/files/health"), "new health");
        openWindow();
        Gui::click(button("downloadButton"));
        QTRY_VERIFY(m_window->status().startsWith(QStringLiteral("升级失败")));
        QVERIFY2(m_window->status().contains(QStringLiteral("Health")), qPrintable(m_window->status()));
        for (const char* program : {"Reelbox/Reelbox", "health/health", "liveupdate/update"})
            QCOMPARE(read(path(QString::fromLatin1(program))), QByteArray("old ") + program);
        QCOMPARE(m_update->localVersion(), 1);
        QVERIFY(button("downloadButton")->isEnabled()); // offered again
        QCOMPARE(QDir(path(QStringLiteral("health"))).entryList(QDir::Files), QStringList{QStringLiteral("health")});
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
        QCOMPARE(read(path(QStringLiteral("health/health"))), QByteArray("new health"));
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"

#include "common/ui/AboutBox.h"
#include "common/ui/CSkinDlg.h"
#include "common/ui/HelpService.h"
#include "common/ui/SkinEngine.h"
#include "data/Database.h"
#include "media/MediaFolder.h"
#include "media/ui/CPictureViewDlg.h"
#include "media/ui/CWMPPlayer4.h"
#include "reelbox/ui/CReelboxDlg.h"
#include "reelbox/ui/ReelboxProgram.h"
#include "tests/support/FakeProc.h"
#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextBrowser>

// Start-up of Reelbox in an installation root of its own (root/Reelbox is the program folder):
// its own skin table, the welcome animation, help, About and the skin dialog.
class TestReelboxStartup : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_procRoot;
    QString m_startDir;

    QString root(const QString& path) const { return m_root->filePath(path); }
    static QString staged(const QString& path)
    {
        return qEnvironmentVariable("KESTRIN_STAGE_DIR") + QLatin1Char('/') + path;
    }

    void addProcess(int pid, const QString& exe) { FakeProc(m_procRoot).add(pid, exe); }

    void writeSkin(const QString& name, const QByteArray& sheet)
    {
        QFile file(root(QStringLiteral("skin/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sheet);
    }

    void exec(const QString& sql)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setter"));
        db.setDatabaseName(root(QStringLiteral("database/kestrin.db")));
        QVERIFY(db.open());
        QVERIFY2(QSqlQuery(db).exec(sql), qPrintable(sql));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("setter"));
    }

private slots:
    void initTestCase() { m_startDir = QDir::currentPath(); }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        for (const char* folder : {"Reelbox", "skin", "database/media"})
            QDir().mkpath(root(QString::fromLatin1(folder)));
        QDir::setCurrent(root(QStringLiteral("Reelbox")));
        m_procRoot = root(QStringLiteral("proc"));
        addProcess(10, root(QStringLiteral("Reelbox/Reelbox")));
        qputenv("ODBCINI", QFile::encodeName(root(QStringLiteral("odbc.ini"))));
        MediaFolder::setInstallationRoot(m_root->path());
    }

    void cleanup()
    {
        MediaFolder::setInstallationRoot({});
        HelpService::setCollectionFile(HelpService::DefaultCollection);
        Database::close();
        SkinEngine::shutdown();
        QDir::setCurrent(m_startDir);
    }

    void secondCopyEndsTheProgram()
    {
        ScriptedDialogs dialogs;
        addProcess(11, QStringLiteral("/elsewhere/Reelbox"));
        addProcess(12, QStringLiteral("/usr/bin/health"));
        QCOMPARE(ProgramStartup::prepare(reelboxProgram(), m_procRoot), ProgramStartup::Outcome::AlreadyRunning);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("此程序已经打开")});
        QVERIFY(!QFile::exists(root(QStringLiteral("database/kestrin.db"))));
    }

    void aNewInstallationStartsWithoutAQuestion()
    {
        // The database folder as the build stages it: the welcome animation and the list of
        // what the installation ships, and no database yet.
        for (const char* file : {"database/media/catoon.avi", "database/shipped-files.sha256"})
            QVERIFY(QFile::copy(staged(QString::fromLatin1(file)), root(QString::fromLatin1(file))));
        ScriptedDialogs dialogs;
        QCOMPARE(ProgramStartup::prepare(reelboxProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QVERIFY2(dialogs.texts().isEmpty(), qPrintable(dialogs.texts().join(QLatin1Char('\n'))));
        QVERIFY(QFile::exists(root(QStringLiteral("database/kestrin.db"))));
    }

    void startsWithItsOwnSkinAndTheWelcomeAnimation()
    {
        ScriptedDialogs dialogs;
        QVERIFY(Database::create(root(QStringLiteral("database/kestrin.db"))).ok());
        writeSkin(QStringLiteral("海洋.qss"), "QDialog { background: #102030; }");
        writeSkin(QStringLiteral("粉红.qss"), "QDialog { background: #ff00ff; }");
        exec(QStringLiteral("UPDATE mskin SET data = '2001-01-01 00:00:00'"));
        exec(QStringLiteral("INSERT INTO mskin (skin, data) VALUES ('海洋.qss', '2025-05-05 10:00:00')"));
        exec(QStringLiteral("INSERT INTO skin (skin, data) VALUES ('粉红.qss', '2026-01-01 10:00:00')"));
        QVERIFY(QFile::copy(staged(QStringLiteral("database/media/catoon.avi")),
                            root(QStringLiteral("database/media/catoon.avi"))));

        QCOMPARE(ProgramStartup::prepare(reelboxProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QDialog { background: #102030; }"));
        // The main window takes the dialog scheme itself; the program does not choose it for all.
        QVERIFY(SkinEngine::scheme().isEmpty());

        CReelboxDlg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.property("skinScheme").toString(), QStringLiteral("Dialog"));
        QCOMPARE(window.property("skinSetting").toString(), QStringLiteral("3"));
        // The animation starts as soon as the window has been drawn.
        QTRY_COMPARE(window.player()->URL(), root(QStringLiteral("database/media/catoon.avi")));
        QTRY_COMPARE_WITH_TIMEOUT(window.player()->playbackState(), Playback::State::Playing, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(window.player()->mediaStatus() == Playback::Status::Buffered ||
                                     window.player()->mediaStatus() == Playback::Status::EndOfMedia,
                                 10000);
        QVERIFY(window.player()->statusLine() == QStringLiteral("catoon.avi"));

        // "全屏" while no pictures are listed: the player's full screen.
        Gui::click(&window, QStringLiteral("fullScreenButton"));
        QVERIFY(window.player()->isFullScreen());
        window.player()->setFullScreen(false);
        QVERIFY(dialogs.texts().isEmpty());
    }

    void changingTheSkinKeepsToReelboxsTable()
    {
        ScriptedDialogs dialogs;
        FixedClock clock(QDateTime(QDate(2030, 1, 2), QTime(9, 0)));
        Clock::install(&clock);
        QVERIFY(Database::create(root(QStringLiteral("database/kestrin.db"))).ok());
        writeSkin(QStringLiteral("海洋.qss"), "QDialog { background: #102030; }");
        exec(QStringLiteral("INSERT INTO mskin (skin, data) VALUES ('海洋.qss', '2001-01-01 00:00:00')"));
        exec(QStringLiteral("INSERT INTO skin (skin, data) VALUES ('海洋.qss', '2001-01-01 00:00:00')"));
        QCOMPARE(ProgramStartup::prepare(reelboxProgram(), m_procRoot), ProgramStartup::Outcome::Run);

        CReelboxDlg window;
        window.show();
        bool shown = false;
        Gui::whenModal<CSkinDlg>([&](CSkinDlg* dialog) {
            shown = true;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("皮肤文件对话框"));
            dialog->findChild<QComboBox*>(QStringLiteral("skinCombo"))->setCurrentText(QStringLiteral("海洋.qss"));
            dialog->accept();
        });
        Gui::click(&window, QStringLiteral("changeSkinButton"));
        Clock::install(nullptr);
        QVERIFY(shown);
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QDialog { background: #102030; }"));
        const auto newest = [](const QString& table) {
            QSqlQuery query(QStringLiteral("SELECT skin FROM %1 ORDER BY data DESC").arg(table),
                            Database::connection());
            return query.next() ? query.value(0).toString() : QString();
        };
        QCOMPARE(newest(QStringLiteral("mskin")), QStringLiteral("海洋.qss"));
        QCOMPARE(newest(QStringLiteral("skin")), QStringLiteral("天空蓝.qss"));
        QVERIFY(dialogs.texts().isEmpty());
    }

    void helpOpensAtReelboxsPageAndAboutNamesTheProgram()
    {
        ScriptedDialogs dialogs;
        QVERIFY(Database::open(root(QStringLiteral("database/kestrin.db"))).ok());
        QDir().mkpath(root(QStringLiteral("help")));
        for (const char* file : {"help/kestrinhelp.qhc", "help/kestrinhelp.qch"})
            QVERIFY(QFile::copy(staged(QString::fromLatin1(file)), root(QString::fromLatin1(file))));
        HelpService::setCollectionFile(root(QStringLiteral("help/kestrinhelp.qhc")));

        CReelboxDlg window;
        window.show();
        Gui::click(&window, QStringLiteral("helpButton"));
        const QList<QDialog*> help = window.findChildren<QDialog*>(QStringLiteral("helpWindow"));
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.first()->findChild<QTextBrowser*>(QStringLiteral("helpBrowser"))->source().fileName(),
                 QStringLiteral("reelbox.html"));
        help.first()->close();

        bool shown = false;
        Gui::whenModal<AboutBox>([&](AboutBox* about) {
            shown = true;
            QCOMPARE(about->findChild<QLabel*>(QStringLiteral("productLabel"))->text(),
                     QStringLiteral("禾岚森儿童成长媒体文件管理系统V1.0"));
            about->accept();
        });
        window.aboutAction()->trigger();
        QVERIFY(shown);
    }

    void theInstallationRootIsTheProgramFoldersParent()
    {
        // Whatever the program folder is called, the media folder lies beside it.
        MediaFolder::setInstallationRoot({});
        QVERIFY(Database::open(root(QStringLiteral("database/kestrin.db"))).ok());
        CReelboxDlg window;
        QCOMPARE(window.viewer()->mediaFolder(),
                 QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../database/media")));
    }
};

QTEST_MAIN(TestReelboxStartup)
#include "tst_reelboxstartup.moc"

#include "common/ui/CSkinDlg.h"
#include "common/ui/HelpService.h"
#include "common/ui/SkinEngine.h"
#include "data/Database.h"
#include "growth/ui/CGrowthSheet.h"
#include "growth/ui/GrowthAboutBox.h"
#include "growth/ui/GrowthProgram.h"
#include "tests/support/FakeProc.h"
#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>

// growth started in an installation root of its own (root/growth is the program folder), and its
// sheet.
class TestGrowthWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_procRoot;
    QString m_startDir;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 7), QTime(10, 30, 0))};

    QString root(const QString& path) const { return m_root->filePath(path); }

    void addProcess(int pid, const QString& exe) { FakeProc(m_procRoot).add(pid, exe); }
    void writeSkin(const char* name)
    {
        QFile file(root(QStringLiteral("skin/")) + QString::fromUtf8(name) + QStringLiteral(".qss"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("/* ") + name + " */");
    }
    std::unique_ptr<CGrowthSheet> startedSheet()
    {
        if (ProgramStartup::prepare(growthProgram(), m_procRoot) != ProgramStartup::Outcome::Run)
            return nullptr;
        auto sheet = std::make_unique<CGrowthSheet>();
        sheet->show();
        if (!QTest::qWaitForWindowExposed(sheet.get()))
            return nullptr;
        return sheet;
    }

private slots:
    void initTestCase()
    {
        m_startDir = QDir::currentPath();
        Clock::install(&m_clock);
    }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QDir().mkpath(root(QStringLiteral("growth")));
        QDir().mkpath(root(QStringLiteral("skin")));
        QDir::setCurrent(root(QStringLiteral("growth")));
        m_procRoot = root(QStringLiteral("proc"));
        addProcess(10, root(QStringLiteral("growth/growth")));
        qputenv("ODBCINI", QFile::encodeName(root(QStringLiteral("odbc.ini"))));
    }

    void cleanup()
    {
        Database::close();
        SkinEngine::shutdown();
        HelpService::setCollectionFile(HelpService::DefaultCollection);
        QDir::setCurrent(m_startDir);
    }

    void aSecondCopyOfTheExecutableEndsAtOnce()
    {
        ScriptedDialogs dialogs;
        // Another program whose name only looks alike does not count.
        addProcess(11, QStringLiteral("/usr/bin/Growth-chart"));
        addProcess(12, root(QStringLiteral("health/health")));
        QCOMPARE(ProgramStartup::prepare(growthProgram(), m_procRoot), ProgramStartup::Outcome::Run);
        Database::close();

        addProcess(13, QStringLiteral("/elsewhere/growth"));
        QCOMPARE(ProgramStartup::prepare(growthProgram(), m_procRoot), ProgramStartup::Outcome::AlreadyRunning);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("此程序已经打开")});
    }

    void aDatabaseThatCannotBeOpenedIsNamed()
    {
        ScriptedDialogs dialogs;
        writeNotADatabase(root(QStringLiteral("database/kestrin.db")));
        QCOMPARE(ProgramStartup::prepare(growthProgram(), m_procRoot), ProgramStartup::Outcome::DatabaseFailed);
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.last().contains(QStringLiteral("kestrin.db")));
    }

    void startsWithTheNewestSkinAndItsThreeTabs()
    {
        ScriptedDialogs dialogs;
        for (const char* name : {"天空蓝", "森林绿", "暖阳橙", "夜幕灰"})
            writeSkin(name);
        const std::unique_ptr<CGrowthSheet> sheet = startedSheet();
        QVERIFY(sheet);
        // The shipped table names 天空蓝 as chosen last; growth hands the engine no key of its own.
        QCOMPARE(qApp->styleSheet(), QStringLiteral("/* 天空蓝 */"));
        QCOMPARE(SkinEngine::applicationKey(), QString());
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("growth"));

        QTabWidget* tabs = sheet->pages();
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        QCOMPARE(captions,
                 (QStringList{QStringLiteral("成长日记"), QStringLiteral("生日管理"), QStringLiteral("荣誉管理")}));
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(sheet->findChildren<QDialogButtonBox*>().isEmpty());
        QVERIFY(dialogs.texts().isEmpty());

        // Enter and Escape never close it; the window menu has the About box.
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(sheet.get(), key);
        QVERIFY(sheet->isVisible());
        QStringList about;
        Gui::whenModal<GrowthAboutBox>([&](GrowthAboutBox* box) {
            about << box->windowTitle();
            for (QLabel* label : box->findChildren<QLabel*>())
                about << label->text();
            Gui::click(box, QStringLiteral("okButton"));
        });
        QCOMPARE(sheet->aboutAction()->text(), QStringLiteral("关于 kestrin儿童成长管理系统(&A)..."));
        sheet->aboutAction()->trigger();
        QVERIFY(about.contains(QStringLiteral("禾岚森儿童成长健康管理V1.0")));
        QVERIFY(about.contains(QStringLiteral("禾岚森儿童成长档案管理V1.0")));
    }

    void aSkinChosenOnTheDiaryIsAppliedAndSharedWithHealth()
    {
        ScriptedDialogs dialogs;
        for (const char* name : {"天空蓝", "森林绿", "暖阳橙", "夜幕灰"})
            writeSkin(name);
        const std::unique_ptr<CGrowthSheet> sheet = startedSheet();
        QVERIFY(sheet);
        QString caption;
        Gui::whenModal<CSkinDlg>([&](CSkinDlg* dialog) {
            caption = dialog->windowTitle();
            Gui::find<QComboBox>(dialog, QStringLiteral("skinCombo"))->setCurrentText(QStringLiteral("暖阳橙.qss"));
            Gui::click(dialog, QStringLiteral("okButton"));
        });
        Gui::click(sheet->page(CGrowthSheet::DiaryTab), QStringLiteral("changeSkinButton"));
        QCOMPARE(caption, QStringLiteral("皮肤对话框"));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("/* 暖阳橙 */"));
        // The newest row of the shared table is what the next start of either program applies.
        QSqlQuery newest(Database::connection());
        QVERIFY(newest.exec(QStringLiteral("SELECT skin FROM skin ORDER BY data DESC")) && newest.next());
        QCOMPARE(newest.value(0).toString(), QStringLiteral("暖阳橙.qss"));
    }

    void helpOpensAtEachPagesOwnTopic()
    {
        ScriptedDialogs dialogs;
        const QString staged = qEnvironmentVariable("KESTRIN_STAGE_DIR") + QStringLiteral("/help/");
        const QString help = root(QStringLiteral("help/"));
        QDir().mkpath(help);
        for (const char* file : {"kestrinhelp.qhc", "kestrinhelp.qch"})
            QVERIFY(QFile::copy(staged + QString::fromLatin1(file), help + QString::fromLatin1(file)));
        HelpService::setCollectionFile(help + QStringLiteral("kestrinhelp.qhc"));

        const std::unique_ptr<CGrowthSheet> sheet = startedSheet();
        QVERIFY(sheet);
        const QList<std::pair<int, QString>> pages{{CGrowthSheet::DiaryTab, QStringLiteral("成长日记（growth）")},
                                                   {CGrowthSheet::BirthdayTab, QStringLiteral("生日管理（growth）")},
                                                   {CGrowthSheet::HonoursTab, QStringLiteral("荣誉管理（growth）")}};
        for (const auto& [tab, title] : pages) {
            sheet->pages()->setCurrentIndex(tab);
            QTRY_VERIFY(sheet->page(tab)->isVisible()); // a page is built when its tab is first shown
            Gui::click(sheet->page(tab), QStringLiteral("helpButton"));
            const QList<QDialog*> windows = sheet->findChildren<QDialog*>(QStringLiteral("helpWindow"));
            QCOMPARE(windows.size(), 1);
            QCOMPARE(windows.first()->findChild<QTextBrowser*>(QStringLiteral("helpBrowser"))->documentTitle(), title);
            delete windows.first();
        }
    }
};

QTEST_MAIN(TestGrowthWindow)
#include "tst_growthwindow.moc"

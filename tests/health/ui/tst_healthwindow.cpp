#include "common/ui/CSkinDlg.h"
#include "common/ui/HelpService.h"
#include "common/ui/SkinChoice.h"
#include "common/ui/SkinEngine.h"
#include "data/tables/Skins.h"
#include "health/ui/CAboutDlg.h"
#include "health/ui/CHealthDlg.h"
#include "health/ui/GrowthComparisonDialog.h"
#include "health/ui/MeasurementSearchDialog.h"
#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHelpEngineCore>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeView>

class TestHealthWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<CHealthDlg> m_window;
    QString m_startDir;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 7), QTime(10, 30, 0))};

    // Skin files whose sheets are easy to recognise, in root/skin beside the program folder.
    void writeSkins()
    {
        QDir().mkpath(m_db->folder() + QStringLiteral("/skin"));
        QDir().mkpath(m_db->folder() + QStringLiteral("/health"));
        for (const char* name : {"天空蓝", "森林绿", "暖阳橙", "夜幕灰"}) {
            QFile file(m_db->folder() + QStringLiteral("/skin/") + QString::fromUtf8(name) + QStringLiteral(".qss"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("/* ") + name + " */");
        }
        QDir::setCurrent(m_db->folder() + QStringLiteral("/health"));
    }

    QWidget* basicPage() const { return Gui::find<QWidget>(m_window.get(), QStringLiteral("basicHealthPage")); }

private slots:
    void initTestCase()
    {
        m_startDir = QDir::currentPath();
        Clock::install(&m_clock);
    }

    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        writeSkins();
        m_window = std::make_unique<CHealthDlg>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        m_db.reset();
        SkinEngine::shutdown();
        HelpService::setCollectionFile(HelpService::DefaultCollection);
        QDir::setCurrent(m_startDir);
    }

    void captionAndTabs()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("禾岚森儿童成长健康管理"));
        QVERIFY(!m_window->windowIcon().isNull());
        QTabWidget* tabs = m_window->pages();
        const QStringList expected{QStringLiteral("基本健康管理"), QStringLiteral("病历信息管理"),
                                   QStringLiteral("防疫信息管理"), QStringLiteral("健康知识库"),
                                   QStringLiteral("基本营养信息"), QStringLiteral("体能训练"),
                                   QStringLiteral("健康妈咪"),     QStringLiteral("婴幼儿健康")};
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        QCOMPARE(captions, expected);
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void enterAndEscapeLeaveTheWindowOpen()
    {
        for (int page = 0; page < m_window->pages()->count(); ++page) {
            m_window->pages()->setCurrentIndex(page);
            QWidget* focus = m_window->pages()->currentWidget();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QTest::keyClick(focus, key);
                QTest::keyClick(m_window.get(), key);
            }
            QVERIFY(m_window->isVisible());
            QCOMPARE(m_window->result(), 0);
        }
    }

    void aboutBoxFromTheWindowMenu()
    {
        QString caption;
        QStringList texts;
        Gui::whenModal<CAboutDlg>([&](CAboutDlg* about) {
            caption = about->windowTitle();
            for (QLabel* label : about->findChildren<QLabel*>())
                texts << label->text();
            Gui::click(about, QStringLiteral("okButton"));
        });
        QCOMPARE(m_window->aboutAction()->text(), QStringLiteral("关于 kestrin儿童成长管理系统(&A)..."));
        QVERIFY(m_window->actions().contains(m_window->aboutAction()));
        m_window->aboutAction()->trigger();
        QCOMPARE(caption, QStringLiteral("禾岚森儿童成长健康管理V1.0"));
        QVERIFY(texts.contains(QStringLiteral("禾岚森儿童成长健康管理V1.0")));
        QVERIFY(m_window->isVisible());
    }

    void backupAndRestoreSitInTheWindowMenu()
    {
        QStringList texts;
        for (QAction* action : m_window->windowMenu()->actions())
            texts << action->text();
        QVERIFY(texts.contains(QStringLiteral("备份…")));
        QVERIFY(texts.contains(QStringLiteral("恢复…")));
        QVERIFY(m_window->backupActions());
    }

    void choosingASkinAppliesAndRemembersIt()
    {
        ScriptedDialogs dialogs;
        QString preselected;
        QStringList listed;
        Gui::whenModal<CSkinDlg>([&](CSkinDlg* dialog) {
            auto* combo = Gui::find<QComboBox>(dialog, QStringLiteral("skinCombo"));
            preselected = combo->currentText();
            for (int i = 0; i < combo->count(); ++i)
                listed << combo->itemText(i);
            combo->setCurrentText(QStringLiteral("森林绿.qss"));
            Gui::click(dialog, QStringLiteral("okButton"));
        });
        Gui::click(basicPage(), QStringLiteral("changeSkinButton"));

        // First in pinyin order (nuan, sen, tian, ye), not the newest, and listed in that order.
        QCOMPARE(preselected, QStringLiteral("暖阳橙.qss"));
        QCOMPARE(listed, (QStringList{QStringLiteral("暖阳橙.qss"), QStringLiteral("森林绿.qss"),
                                      QStringLiteral("天空蓝.qss"), QStringLiteral("夜幕灰.qss")}));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("/* 森林绿 */"));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT data FROM skin WHERE skin=?"), {QStringLiteral("森林绿.qss")})
                     .toString(),
                 QStringLiteral("2026-12-07 10:30:00"));

        // The next start of health (or growth, which shares the table) begins with it.
        SkinEngine::shutdown();
        CSKINDATA skins;
        SkinChoice::start(skins, QStringLiteral("KestrinHealth"));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("/* 森林绿 */"));
        QVERIFY(dialogs.texts().isEmpty());
    }

    void unknownSkinKeepsTheDialogOpen()
    {
        ScriptedDialogs dialogs;
        bool stillOpen = false;
        Gui::whenModal<CSkinDlg>([&](CSkinDlg* dialog) {
            Gui::find<QComboBox>(dialog, QStringLiteral("skinCombo"))->setCurrentText(QStringLiteral("粉红'.qss"));
            Gui::click(dialog, QStringLiteral("okButton"));
            stillOpen = dialog->isVisible();
            dialog->reject();
        });
        const QString before = qApp->styleSheet();
        Gui::click(basicPage(), QStringLiteral("changeSkinButton"));
        QVERIFY(stillOpen);
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.last().contains(QStringLiteral("粉红'.qss")));
        QCOMPARE(qApp->styleSheet(), before); // cancel keeps the current skin
        QCOMPARE(m_db->count(QStringLiteral("skin"), QStringLiteral("data >= '2026-12-07'")), 0);
    }

    void helpWithoutFilesDoesNothing()
    {
        HelpService::setCollectionFile(m_db->folder() + QStringLiteral("/help/missing.qhc"));
        Gui::click(basicPage(), QStringLiteral("helpButton"));
        QTest::keyClick(m_window->pages()->currentWidget(), Qt::Key_F1);
        QVERIFY(m_window->findChildren<QDialog*>(QStringLiteral("helpWindow")).isEmpty());
    }

    // Runs before help is first opened, while its module is not loaded yet.
    void helpWithoutItsModuleSaysSo()
    {
        const QString help = m_db->folder() + QStringLiteral("/help/");
        QDir().mkpath(help);
        QFile collection(help + QStringLiteral("present.qhc"));
        QVERIFY(collection.open(QIODevice::WriteOnly));
        collection.close();
        HelpService::setCollectionFile(collection.fileName());
        const QByteArray modules = qgetenv("KESTRIN_MODULE_DIR");
        qputenv("KESTRIN_MODULE_DIR", help.toUtf8());

        ScriptedDialogs dialogs;
        Gui::click(basicPage(), QStringLiteral("helpButton"));
        qputenv("KESTRIN_MODULE_DIR", modules);
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.last().startsWith(QStringLiteral("无法使用帮助：找不到它的程序组件")));
        QVERIFY(m_window->findChildren<QDialog*>(QStringLiteral("helpWindow")).isEmpty());
    }

    void helpOpensAtTheStartPage()
    {
        // The compiled help of the build, copied so the engine may write its collection.
        const QString staged = qEnvironmentVariable("KESTRIN_STAGE_DIR") + QStringLiteral("/help/");
        const QString help = m_db->folder() + QStringLiteral("/help/");
        QDir().mkpath(help);
        for (const char* file : {"kestrinhelp.qhc", "kestrinhelp.qch"})
            QVERIFY(QFile::copy(staged + QString::fromLatin1(file), help + QString::fromLatin1(file)));

        QHelpEngineCore engine(help + QStringLiteral("kestrinhelp.qhc"));
        QVERIFY(engine.setupData());
        const QString start = QString::fromUtf8(engine.fileData(QUrl(HelpService::StartPage)));
        QVERIFY(start.contains(QStringLiteral("怎样开始")));
        for (const char* page : {"health-bl", "health-jiben", "growth-diary", "reelbox", "update", "records"})
            QVERIFY2(!engine
                          .fileData(QUrl(
                              QStringLiteral("qthelp://kestrin.help/doc/html/%1.html").arg(QString::fromLatin1(page))))
                          .isEmpty(),
                     page);

        // Adding a child takes its name only; the sex belongs to each measurement.
        QVERIFY(!start.contains(QStringLiteral("名字和性别")));
        const QString jiben = QString::fromUtf8(
            engine.fileData(QUrl(QStringLiteral("qthelp://kestrin.help/doc/html/health-jiben.html"))));
        QVERIFY(jiben.contains(QStringLiteral("选择性别")));
        QVERIFY(jiben.contains(QStringLiteral("病历和防疫记录")));

        HelpService::setCollectionFile(help + QStringLiteral("kestrinhelp.qhc"));
        Gui::click(basicPage(), QStringLiteral("helpButton"));
        const QList<QDialog*> windows = m_window->findChildren<QDialog*>(QStringLiteral("helpWindow"));
        QCOMPARE(windows.size(), 1);
        auto* browser = windows.first()->findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
        QVERIFY(browser);
        QCOMPARE(browser->documentTitle(), QStringLiteral("禾岚森儿童成长健康管理 帮助"));
        QVERIFY(!browser->accessibleName().isEmpty());

        // Asking again raises the open window instead of opening another.
        browser->setSource(QUrl(QStringLiteral("qthelp://kestrin.help/doc/html/health-jiben.html")));
        Gui::click(basicPage(), QStringLiteral("helpButton"));
        QTest::keyClick(m_window->pages()->currentWidget(), Qt::Key_F1);
        m_window->pages()->setCurrentIndex(1);
        QTRY_VERIFY(m_window->page(1)->isVisible());
        Gui::click(m_window->page(1), QStringLiteral("helpButton"));
        QCOMPARE(m_window->findChildren<QDialog*>(QStringLiteral("helpWindow")).size(), 1);
        QCOMPARE(browser->documentTitle(), QStringLiteral("基本健康管理"));

        // One click on a topic of the contents opens it.
        auto* contents = windows.first()->findChild<QTreeView*>(QStringLiteral("helpContentsTree"));
        QVERIFY(contents);
        QTRY_VERIFY(contents->model()->rowCount() > 0);
        const QModelIndex root = contents->model()->index(0, 0);
        QModelIndex topic;
        for (int row = 0; row < contents->model()->rowCount(root); ++row) {
            const QModelIndex child = contents->model()->index(row, 0, root);
            if (child.data().toString() == QStringLiteral("备份、报告和记录的存放位置"))
                topic = child;
        }
        QVERIFY(topic.isValid());
        contents->scrollTo(topic);
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualRect(topic).center());
        QCOMPARE(browser->documentTitle(), QStringLiteral("备份、报告和记录的存放位置"));
        windows.first()->close();
    }

    // Screen readers announce every list, group and help pane of health by its label.
    void everyComboAndGroupHasItsLabelAsName()
    {
        QList<QWidget*> windows;
        for (int i = 0; i < m_window->pages()->count(); ++i)
            windows << m_window->page(i);
        MeasurementSearchDialog search(m_window.get());
        GrowthComparisonDialog comparison(m_window.get());
        windows << &search << &comparison;
        for (QWidget* window : std::as_const(windows)) {
            for (QComboBox* combo : window->findChildren<QComboBox*>())
                QVERIFY2(!combo->accessibleName().isEmpty(),
                         qPrintable(window->objectName() + QLatin1Char('/') + combo->objectName()));
            for (QGroupBox* group : window->findChildren<QGroupBox*>()) {
                QString title = group->title();
                title.remove(QLatin1Char(' ')).remove(QLatin1Char(':'));
                QCOMPARE(group->accessibleName(), title);
            }
        }
        QCOMPARE(Gui::find<QComboBox>(&comparison, QStringLiteral("ageCombo"))->accessibleName(),
                 QStringLiteral("年龄"));
        QCOMPARE(Gui::find<QComboBox>(&search, QStringLiteral("searchUserCombo"))->accessibleName(),
                 QStringLiteral("用户名"));
    }
};

QTEST_MAIN(TestHealthWindow)
#include "tst_healthwindow.moc"

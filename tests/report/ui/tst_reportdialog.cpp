#include "health/ui/CHealthDlg.h"
#include "health/ui/CJIBEN.h"
#include "report/ui/ReportDialog.h"
#include "tests/report/ReportFixture.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

// Asking for a report from health's window: the basic page's button, the menu items, the dialog,
// then the file or print dialog through the dialog service.
class TestReportDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_out;

private slots:
    void theButtonSavesTheReportOfTheChildShown()
    {
        ReportFixture f;
        f.fill();
        f.addChild(QStringLiteral("小红"));
        ScriptedDialogs dialogs;
        CJIBEN page;
        page.resize(1000, 700);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto* users = Gui::find<QComboBox>(&page, QStringLiteral("userCombo"));
        users->setCurrentIndex(users->findText(QStringLiteral("小明")));

        const QString pdf = m_out.filePath(QStringLiteral("小明.pdf"));
        dialogs.answerPath(pdf);
        QString shownChild;
        Gui::whenModal<ReportDialog>([&](ReportDialog* dialog) {
            shownChild = Gui::find<QComboBox>(dialog, QStringLiteral("childCombo"))->currentText();
            QVERIFY(Gui::find<QRadioButton>(dialog, QStringLiteral("allRecordsRadio"))->isChecked());
            QVERIFY(!Gui::find<QDateEdit>(dialog, QStringLiteral("fromEdit"))->isEnabled());
            Gui::find<QCheckBox>(dialog, QStringLiteral("medicalRecordsCheck"))->setChecked(false);
            Gui::click(dialog, QStringLiteral("pdfButton"));
        });
        QVERIFY(Gui::click(&page, QStringLiteral("reportButton")));
        QCOMPARE(shownChild, QStringLiteral("小明"));
        QCOMPARE(dialogs.last(), QStringLiteral("报告已保存：") + QDir::toNativeSeparators(pdf));
        const QString text = ReportFixture::text(pdf);
        QVERIFY(text.contains(QStringLiteral("姓名：小明")));
        QVERIFY(text.contains(QStringLiteral("预防接种记录")));
        QVERIFY(!text.contains(QStringLiteral("发烧38.5度")));
    }

    void theMenuPrintsThroughThePrintDialog()
    {
        ReportFixture f;
        f.fill();
        ScriptedDialogs dialogs;
        CHealthDlg window;
        auto* print = Gui::find<QAction>(&window, QStringLiteral("printReportAction"));
        QCOMPARE(print->text(), QStringLiteral("打印报告…"));
        QCOMPARE(Gui::find<QAction>(&window, QStringLiteral("exportReportAction"))->text(),
                 QStringLiteral("导出PDF报告…"));

        // The printer prints into a file, as a PDF printer would.
        const QString printed = m_out.filePath(QStringLiteral("printed.pdf"));
        dialogs.answerPrint([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            return true;
        });
        Gui::whenModal<ReportDialog>([](ReportDialog* dialog) {
            Gui::find<QRadioButton>(dialog, QStringLiteral("periodRadio"))->setChecked(true);
            Gui::find<QDateEdit>(dialog, QStringLiteral("fromEdit"))->setDate(QDate(2025, 1, 1));
            Gui::find<QDateEdit>(dialog, QStringLiteral("toEdit"))->setDate(QDate(2025, 12, 31));
            Gui::click(dialog, QStringLiteral("printButton"));
        });
        print->trigger();
        const QString text = ReportFixture::text(printed);
        QVERIFY(text.contains(QStringLiteral("姓名：小明")));
        QVERIFY(text.contains(QStringLiteral("2025-12-15")));
        QVERIFY(!text.contains(QStringLiteral("2024-01-15")));
        QVERIFY(text.contains(QStringLiteral("共 %1 页").arg(ReportFixture::pages(printed))));
        QVERIFY(dialogs.unexpected().isEmpty());
    }

    void cancellingChangesNothing()
    {
        ReportFixture f;
        f.fill();
        ScriptedDialogs dialogs;
        CHealthDlg window;
        dialogs.answerPrint([](QPrinter&) { return false; });
        Gui::whenModal<ReportDialog>([](ReportDialog* dialog) { Gui::click(dialog, QStringLiteral("printButton")); });
        Gui::find<QAction>(&window, QStringLiteral("printReportAction"))->trigger();
        dialogs.answerPath({});
        Gui::whenModal<ReportDialog>([](ReportDialog* dialog) { Gui::click(dialog, QStringLiteral("pdfButton")); });
        Gui::find<QAction>(&window, QStringLiteral("exportReportAction"))->trigger();
        Gui::whenModal<ReportDialog>([](ReportDialog* dialog) { Gui::click(dialog, QStringLiteral("cancelButton")); });
        Gui::find<QAction>(&window, QStringLiteral("exportReportAction"))->trigger();
        QVERIFY(dialogs.texts().isEmpty());
        QVERIFY(dialogs.unexpected().isEmpty());
    }

    void noSectionOrNoChild()
    {
        ReportFixture f;
        ScriptedDialogs dialogs;
        CHealthDlg window;
        Gui::find<QAction>(&window, QStringLiteral("exportReportAction"))->trigger();
        QCOMPARE(dialogs.take(), QStringList{QStringLiteral("还没有孩子的记录。请先在“基本健康管理”中添加孩子。")});

        f.addChild(QStringLiteral("小明"));
        Gui::whenModal<ReportDialog>([&](ReportDialog* dialog) {
            for (QCheckBox* check : dialog->findChildren<QCheckBox*>())
                check->setChecked(false);
            Gui::click(dialog, QStringLiteral("pdfButton"));
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialogs.take(), QStringList{QStringLiteral("请至少选择一项要放进报告的内容。")});
            Gui::click(dialog, QStringLiteral("cancelButton"));
        });
        Gui::find<QAction>(&window, QStringLiteral("exportReportAction"))->trigger();
    }
};

QTEST_MAIN(TestReportDialog)
#include "tst_reportdialog.moc"

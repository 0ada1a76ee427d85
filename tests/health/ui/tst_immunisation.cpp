#include "health/ui/CFYI.h"
#include "health/ui/ImmunisationScheduleDialog.h"
#include "tests/support/PageFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

// The immunisation records page and the schedule, clicked as a user would.
class TestImmunisation : public QObject
{
    Q_OBJECT

private:
    static QString chinese(int characters) { return QString(characters, QChar(0x82D7)); }

private slots:
    void checksInOrder()
    {
        PageFixture<CFYI> f;
        f.db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        f.show();
        // Categories are listed newest first.
        QCOMPARE(f.field<QComboBox>("searchCategoryCombo")->itemText(0), QStringLiteral("其他疫苗"));
        QVERIFY(f.click("addButton"));
        struct Step
        {
            QString title, text, child, category, expected;
        };
        const QList<Step> steps{
            {QString(), QStringLiteral("x"), QStringLiteral("小明"), QStringLiteral("卡介苗"),
             QStringLiteral("标题不能为空")},
            {chinese(20) + QLatin1Char('x'), QStringLiteral("x"), QStringLiteral("小明"), QStringLiteral("卡介苗"),
             QStringLiteral("标题太长,不要超过20个字")},
            {chinese(20), QString(), QStringLiteral("小明"), QStringLiteral("卡介苗"), QStringLiteral("内容不能为空")},
            {chinese(20), chinese(1000) + QLatin1Char('x'), QStringLiteral("小明"), QStringLiteral("卡介苗"),
             QStringLiteral("内容太长,不要超过1000个字")},
            {chinese(20), chinese(1000), QStringLiteral("小华"), QStringLiteral("卡介苗"),
             QStringLiteral("没有该用户")},
            {chinese(20), chinese(1000), QStringLiteral("小明"), QString(), QStringLiteral("不能为空")},
            {chinese(20), chinese(1000), QStringLiteral("小明"), QStringLiteral("糖丸"), QStringLiteral("没有该类型")},
        };
        for (const Step& step : steps) {
            f.field<QLineEdit>("titleEdit")->setText(step.title);
            f.field<QPlainTextEdit>("descriptionEdit")->setPlainText(step.text);
            f.field<QComboBox>("childCombo")->setCurrentText(step.child);
            f.field<QComboBox>("editCategoryCombo")->setCurrentText(step.category);
            QVERIFY(f.click("saveButton"));
            QCOMPARE(f.dialogs().take(), QStringList{step.expected});
            QCOMPARE(f.db().count(QStringLiteral("cfnrong")), 0);
        }
        f.field<QLineEdit>("titleEdit")->setText(chinese(20));
        f.field<QPlainTextEdit>("descriptionEdit")->setPlainText(chinese(1000));
        f.field<QComboBox>("editCategoryCombo")->setCurrentText(QStringLiteral("卡介苗"));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("添加成功!"));
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT riqi FROM cfnrong")).toInt(), 20261207);
    }

    void addingCategories()
    {
        PageFixture<CFYI> f;
        f.show();
        QVERIFY(!f.field<QPushButton>("addCategoryButton")->isEnabled());
        QTest::mouseClick(f.field<QRadioButton>("addCategoryRadio"), Qt::LeftButton);
        QVERIFY(f.click("addCategoryButton"));
        f.field<QLineEdit>("newCategoryEdit")->setText(QStringLiteral("卡介苗"));
        QVERIFY(f.click("addCategoryButton"));
        f.field<QLineEdit>("newCategoryEdit")->setText(QStringLiteral("水痘疫苗"));
        QVERIFY(f.click("addCategoryButton"));
        QCOMPARE(f.dialogs().take(), (QStringList{QStringLiteral("不能为空"), QStringLiteral("已经有该类型了"),
                                                  QStringLiteral("添加成功")}));
        QCOMPARE(f.db().count(QStringLiteral("cfleixing"), QStringLiteral("[类型]='水痘疫苗'")), 1);
        for (const char* combo : {"searchCategoryCombo", "editCategoryCombo"}) {
            auto* box = f.field<QComboBox>(combo);
            QCOMPARE(box->itemText(box->count() - 1), QStringLiteral("水痘疫苗"));
        }
    }

    void savingAChangeWithoutAMarkedRow()
    {
        PageFixture<CFYI> f;
        f.db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        f.show();
        QVERIFY(f.click("searchButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("还没有记录")});
        RecordPage& page = f.page();
        page.beginChanging();
        f.field<QLineEdit>("titleEdit")->setText(QStringLiteral("t"));
        f.field<QPlainTextEdit>("descriptionEdit")->setPlainText(QStringLiteral("x"));
        f.field<QComboBox>("childCombo")->setCurrentText(QStringLiteral("小明"));
        f.field<QComboBox>("editCategoryCombo")->setCurrentText(QStringLiteral("卡介苗"));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("没有选择记录")});
    }

    // A long description can be scrolled when shown; it takes typing only while adding or changing.
    void descriptionIsReadOnlyWhereARecordIsShown()
    {
        PageFixture<CFYI> f;
        f.db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        f.db().exec(QStringLiteral("INSERT INTO cfnrong (username, title, nrong, riqi, leixing) "
                                   "VALUES ('小明', '第一针', ?, 20260101, '卡介苗')"),
                    {chinese(900)});
        f.show();
        auto* description = f.field<QPlainTextEdit>("descriptionEdit");
        QVERIFY(description->isEnabled() && description->isReadOnly());
        QVERIFY(f.click("searchButton"));
        f.clickRow(0);
        QCOMPARE(description->toPlainText(), chinese(900));
        QVERIFY(description->isEnabled());
        QVERIFY(description->isReadOnly());
        QVERIFY(f.click("modifyButton"));
        QVERIFY(!description->isReadOnly());
        QVERIFY(f.click("undoButton"));
        QVERIFY(description->isEnabled() && description->isReadOnly());
        QVERIFY(f.click("addButton"));
        QVERIFY(!description->isReadOnly());
        f.clickRow(0); // the list is locked while adding: the new record's text stays
        QVERIFY(!description->isReadOnly());
        QVERIFY(description->toPlainText().isEmpty());
    }

    void scheduleTable()
    {
        ImmunisationScheduleDialog dialog;
        QTableWidget* table = dialog.table();
        QCOMPARE(table->rowCount(), 14);
        QCOMPARE(table->columnCount(), 8);
        QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("麻   疹"));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("出生时"));
        QCOMPARE(table->item(3, 1)->text(), QStringLiteral("OT复查"));
        QCOMPARE(table->item(3, 3)->text(), QStringLiteral("初免第二此"));
        QCOMPARE(table->item(10, 7)->text(), QStringLiteral("初免"));
        QCOMPARE(table->item(13, 4)->text(), QStringLiteral("加强"));
        QCOMPARE(table->item(13, 0)->text(), QStringLiteral("15岁"));
        int filled = 0;
        for (int r = 0; r < 14; ++r)
            for (int c = 1; c < 8; ++c)
                filled += table->item(r, c)->text().isEmpty() ? 0 : 1;
        QCOMPARE(filled, 24);
        QVERIFY(table->editTriggers() == QAbstractItemView::NoEditTriggers);
    }

    void labelsAndModifyAsThePageShowsThem()
    {
        PageFixture<CFYI> f;
        f.db().exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        f.db().exec(QStringLiteral("INSERT INTO cfnrong (username, title, nrong, riqi, leixing) "
                                   "VALUES ('小明', '第一针', 'x', 20260101, '卡介苗')"));
        f.show();
        QCOMPARE(f.field<QComboBox>("childCombo")->accessibleName(), QStringLiteral("用户姓名"));
        QCOMPARE(f.field<QComboBox>("editCategoryCombo")->accessibleName(), QStringLiteral("类型"));
        QCOMPARE(f.field<QLineEdit>("dateEdit")->accessibleName(), QStringLiteral("日期"));
        const QList<QGroupBox*> groups = f.page().findChildren<QGroupBox*>();
        QVERIFY(std::any_of(groups.begin(), groups.end(),
                            [](const QGroupBox* g) { return g->title() == QStringLiteral("用户操作"); }));
        // 修改 stays enabled while a change is edited, and after it is saved.
        QVERIFY(f.click("searchButton"));
        f.clickRow(0);
        QVERIFY(f.click("modifyButton"));
        QVERIFY(f.field<QPushButton>("modifyButton")->isEnabled());
        f.field<QLineEdit>("titleEdit")->setText(QStringLiteral("第一针复种"));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("修改成功!"));
        QVERIFY(f.field<QPushButton>("modifyButton")->isEnabled());
    }
};

QTEST_MAIN(TestImmunisation)
#include "tst_immunisation.moc"

#include "data/ui/RecordListModel.h"
#include "health/ui/CBL.h"
#include "tests/support/PageFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>

// The medical records page, clicked as a user would, against a fresh database.
class TestMedicalRecords : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PageFixture<CBL>> m_f;

    void addChild(const QString& name)
    {
        m_f->db().exec(QStringLiteral("INSERT INTO user (username) VALUES (?)"), {name});
    }
    void addRecord(const QString& child, const QString& category, const QString& title, int date)
    {
        m_f->db().exec(QStringLiteral("INSERT INTO bnrong (leixing, username, title, riqi) VALUES (?, ?, ?, ?)"),
                       {category, child, title, date});
    }
    // Reopens the page so it reloads its lists, as switching tabs does.
    void showPage() { m_f->show(); }
    void fillNewRecord(const QString& category, const QString& title)
    {
        QVERIFY(m_f->click("addButton"));
        m_f->field<QComboBox>("editCategoryCombo")->setCurrentText(category);
        m_f->field<QLineEdit>("titleEdit")->setText(title);
        m_f->field<QPlainTextEdit>("symptomsEdit")->setPlainText(QStringLiteral("发烧38.5度"));
        m_f->field<QPlainTextEdit>("diagnosisEdit")->setPlainText(QStringLiteral("上呼吸道感染"));
        m_f->field<QPlainTextEdit>("prescriptionEdit")->setPlainText(QStringLiteral("多喝水，按时服药"));
        m_f->field<QLineEdit>("operatorEdit")->setText(QStringLiteral("妈妈"));
    }
    // One child with one record of 2020, displayed and clicked.
    void openOneOldRecord(const QString& title)
    {
        addChild(QStringLiteral("小明"));
        addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), title, 20200101);
        showPage();
        m_f->field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        QVERIFY(m_f->click("displayButton"));
        m_f->clickRow(0);
    }
    void chooseSearchKind(const char* radio) { QTest::mouseClick(m_f->field<QRadioButton>(radio), Qt::LeftButton); }

private slots:
    void init() { m_f = std::make_unique<PageFixture<CBL>>(); }

    void cleanup() { m_f.reset(); }

    void pageStartsWithOnlyAddEnabled()
    {
        showPage();
        QVERIFY(m_f->field<QPushButton>("addButton")->isEnabled());
        for (const char* name : {"saveButton", "modifyButton", "deleteButton", "undoButton"})
            QVERIFY2(!m_f->field<QPushButton>(name)->isEnabled(), name);
        QVERIFY(!m_f->field<QLineEdit>("titleEdit")->isEnabled());
        QVERIFY(!m_f->field<QLineEdit>("dateFromEdit")->isEnabled());
        QCOMPARE(m_f->field<QComboBox>("searchCategoryCombo")->itemText(0), QStringLiteral("感冒发烧"));
        auto* model = m_f->field<QTableView>("recordList")->model();
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("      标题"));
    }

    void savingRunsTheChecksInOrder()
    {
        addChild(QStringLiteral("小明"));
        showPage();
        struct Step
        {
            QString category, child, title, expected;
        };
        const QString twenty(20, QChar(0x75C5)); // 20 Chinese characters: 40 bytes
        const QList<Step> steps{
            {QString(), QString(), QString(), QStringLiteral("类型不能为空")},
            {QStringLiteral("咳嗽"), QString(), QString(), QStringLiteral("用户不能为空")},
            {QStringLiteral("咳嗽"), QStringLiteral("小明"), QString(), QStringLiteral("标题不能为空")},
            {QStringLiteral("咳嗽"), QStringLiteral("小明"), twenty + QLatin1Char('x'),
             QStringLiteral("标题太长,不能超过20个字")},
            {QStringLiteral("咳嗽"), QStringLiteral("小强"), twenty, QStringLiteral("请检查用户名是否存在")},
            {QStringLiteral("手填的类型"), QStringLiteral("小明"), twenty, QStringLiteral("没有该类型,请正确操作")},
        };
        QVERIFY(m_f->click("addButton"));
        for (const Step& step : steps) {
            m_f->field<QComboBox>("editCategoryCombo")->setCurrentText(step.category);
            m_f->field<QComboBox>("childCombo")->setCurrentText(step.child);
            m_f->field<QLineEdit>("titleEdit")->setText(step.title);
            QVERIFY(m_f->click("saveButton"));
            QCOMPARE(m_f->dialogs().take(), QStringList{step.expected});
            QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 0);
        }
        // The refused category left the fields open for another try.
        QVERIFY(m_f->field<QLineEdit>("titleEdit")->isEnabled());
        QVERIFY(m_f->field<QLineEdit>("titleEdit")->text().isEmpty());

        m_f->field<QComboBox>("editCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        m_f->field<QLineEdit>("titleEdit")->setText(twenty);
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().texts().first(), QStringLiteral("添加成功!"));
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong"), QStringLiteral("title=?"), {twenty}), 1);
    }

    void addedRecordIsListedWithTodaysDate()
    {
        addChild(QStringLiteral("小明"));
        showPage();
        m_f->field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        fillNewRecord(QStringLiteral("咳嗽"), QStringLiteral("夜里咳嗽"));
        QCOMPARE(m_f->field<QComboBox>("childCombo")->currentText(), QStringLiteral("小明"));
        QCOMPARE(m_f->field<QLineEdit>("dateEdit")->text(), QStringLiteral("20261207"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("添加成功!")});

        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT riqi FROM bnrong")).toInt(), 20261207);
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT zaozuo FROM bnrong")).toString(), QStringLiteral("妈妈"));
        QCOMPARE(m_f->listed(), QStringList{QStringLiteral("夜里咳嗽")});
        auto* model = m_f->field<QTableView>("recordList")->model();
        QCOMPARE(model->index(0, 3).data().toString(), QStringLiteral("20261207"));
        QVERIFY(m_f->field<QPushButton>("addButton")->isEnabled());
        QVERIFY(!m_f->field<QPushButton>("saveButton")->isEnabled());
        QVERIFY(!m_f->field<QPushButton>("undoButton")->isEnabled());
        QVERIFY(!m_f->field<QLineEdit>("titleEdit")->isEnabled());
    }

    void changingMovesTheDateToToday()
    {
        openOneOldRecord(QStringLiteral("旧记录"));
        QCOMPARE(m_f->field<QLineEdit>("titleEdit")->text(), QStringLiteral("旧记录"));
        QVERIFY(m_f->field<QPushButton>("modifyButton")->isEnabled());
        QVERIFY(m_f->click("modifyButton"));
        QVERIFY(!m_f->field<QComboBox>("childCombo")->isEnabled());
        QVERIFY(!m_f->field<QPushButton>("modifyButton")->isEnabled());
        m_f->field<QLineEdit>("titleEdit")->setText(QStringLiteral("改过的记录"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("修改成功!")});
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT riqi FROM bnrong")).toInt(), 20261207);
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT title FROM bnrong")).toString(), QStringLiteral("改过的记录"));
    }

    void changingToAnUnknownCategoryIsRefused()
    {
        openOneOldRecord(QStringLiteral("记录"));
        QVERIFY(m_f->click("modifyButton"));
        m_f->field<QComboBox>("editCategoryCombo")->setCurrentText(QStringLiteral("不存在"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("没有该类型")});
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT leixing FROM bnrong")).toString(), QStringLiteral("咳嗽"));
    }

    void searchKinds_data()
    {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("none chosen: every record of the child")
            << QString() << QString() << QString() << QString()
            << QStringList{QStringLiteral("咳嗽一周"), QStringLiteral("发烧"), QStringLiteral("咳嗽复查")};
        QTest::newRow("full text across categories")
            << QStringLiteral("fullTextRadio") << QStringLiteral("咳嗽") << QString() << QString()
            << QStringList{QStringLiteral("咳嗽一周"), QStringLiteral("咳嗽复查")};
        QTest::newRow("by category") << QStringLiteral("byCategoryRadio") << QString() << QString() << QString()
                                     << QStringList{QStringLiteral("咳嗽一周"), QStringLiteral("咳嗽复查")};
        QTest::newRow("by category and keyword") << QStringLiteral("byCategoryRadio") << QStringLiteral("复查")
                                                 << QString() << QString() << QStringList{QStringLiteral("咳嗽复查")};
        QTest::newRow("by date") << QStringLiteral("byDateRadio") << QString() << QStringLiteral("20260101")
                                 << QStringLiteral("20261231") << QStringList{QStringLiteral("咳嗽复查")};
    }

    void searchKinds()
    {
        QFETCH(QString, radio);
        QFETCH(QString, keyword);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, titles);
        addChild(QStringLiteral("小明"));
        addChild(QStringLiteral("小红"));
        addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("咳嗽一周"), 20251103);
        addRecord(QStringLiteral("小明"), QStringLiteral("感冒发烧"), QStringLiteral("发烧"), 20260105);
        addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("咳嗽复查"), 20260310);
        addRecord(QStringLiteral("小红"), QStringLiteral("咳嗽"), QStringLiteral("咳嗽"), 20260310);
        showPage();
        m_f->field<QComboBox>("searchUserCombo")->setCurrentText(QStringLiteral("小明"));
        m_f->field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        if (!radio.isEmpty())
            chooseSearchKind(qPrintable(radio));
        m_f->field<QLineEdit>("keywordEdit")->setText(keyword);
        if (!from.isEmpty()) {
            QCOMPARE(m_f->field<QLineEdit>("dateFromEdit")->text(), QStringLiteral("20261207")); // today by default
            m_f->field<QLineEdit>("dateFromEdit")->setText(from);
            m_f->field<QLineEdit>("dateToEdit")->setText(to);
        }
        QVERIFY(m_f->click("searchButton"));
        QStringList listed = m_f->listed();
        listed.sort();
        titles.sort();
        QCOMPARE(listed, titles);
        QVERIFY(m_f->dialogs().texts().isEmpty());
    }

    void enterRunsTheSearchOnceAKindIsChosen()
    {
        addChild(QStringLiteral("小明"));
        addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("咳嗽一周"), 20251103);
        showPage();
        QTest::keyClick(m_f->field<QLineEdit>("keywordEdit"), Qt::Key_Return);
        QVERIFY(m_f->listed().isEmpty()); // no kind chosen yet: Enter does nothing special
        chooseSearchKind("fullTextRadio");
        m_f->field<QLineEdit>("keywordEdit")->setText(QStringLiteral("一周"));
        QTest::keyClick(m_f->field<QLineEdit>("keywordEdit"), Qt::Key_Return);
        QCOMPARE(m_f->listed(), QStringList{QStringLiteral("咳嗽一周")});
    }

    void dateSearchRefusesTextThatIsNoDate()
    {
        addChild(QStringLiteral("小明"));
        showPage();
        chooseSearchKind("byDateRadio");
        m_f->field<QLineEdit>("dateFromEdit")->setText(QStringLiteral("0 or 1"));
        QVERIFY(m_f->click("searchButton"));
        QCOMPARE(m_f->dialogs().texts().size(), 1);
        QVERIFY(m_f->dialogs().last().contains(QStringLiteral("8位数字")));
    }

    void deletingSeveralRows()
    {
        addChild(QStringLiteral("小明"));
        for (int i = 1; i <= 4; ++i)
            addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("记录%1").arg(i), 20260100 + i);
        showPage();
        m_f->field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        QVERIFY(m_f->click("displayButton"));
        auto* list = m_f->field<QTableView>("recordList");
        list->selectionModel()->select(list->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list->selectionModel()->select(list->model()->index(2, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);

        m_f->dialogs().answerConfirm(false);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 4);
        QCOMPARE(m_f->dialogs().shown().last().caption, QStringLiteral("系统提示"));

        m_f->dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(m_f->dialogs().take(),
                 (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("确定要删除吗？")}));
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 2);
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong"), QStringLiteral("title IN ('记录4', '记录2')")), 0);
        QStringList listed = m_f->listed(); // the search runs again: every record of the child
        listed.sort();
        QCOMPARE(listed, (QStringList{QStringLiteral("记录1"), QStringLiteral("记录3")}));
    }

    void aLongListIsReadAsItIsScrolledAndActsWhole()
    {
        const int count = RecordListModel::FirstPage * 2 + 20;
        addChild(QStringLiteral("小明"));
        m_f->db().exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                                      "INSERT INTO bnrong (leixing, username, title, riqi) "
                                      "SELECT '咳嗽', '小明', '记录' || i, 20260101 FROM n"),
                       {count});
        showPage();
        m_f->field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        QVERIFY(m_f->click("displayButton"));
        auto* list = m_f->field<QTableView>("recordList");
        QAbstractItemModel* model = list->model();
        // The first screen at once, newest first; more as the list is scrolled to its end.
        QCOMPARE(model->rowCount(), RecordListModel::FirstPage);
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("记录%1").arg(count));
        QScrollBar* scroll = list->verticalScrollBar();
        QTRY_VERIFY(scroll->maximum() > 0);
        scroll->setValue(scroll->maximum());
        QTRY_VERIFY(model->rowCount() > RecordListModel::FirstPage);

        // From a clicked row, Ctrl+End marks the oldest record of the whole list and shows it.
        m_f->clickRow(0);
        QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(model->rowCount(), count);
        QCOMPARE(list->currentIndex().row(), count - 1);
        QCOMPARE(m_f->field<QLineEdit>("titleEdit")->text(), QStringLiteral("记录1"));

        // Choosing every row deletes every record, also those not read yet.
        QVERIFY(m_f->click("displayButton"));
        QCOMPARE(model->rowCount(), RecordListModel::FirstPage);
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(list->selectionModel()->selectedRows().size(), count);
        m_f->dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 0);
        QVERIFY(m_f->listed().isEmpty());
    }

    void displayWithoutAnyChild()
    {
        addRecord(QStringLiteral("小明"), QStringLiteral("感冒发烧"), QStringLiteral("孤儿记录"), 20260101);
        showPage();
        QVERIFY(m_f->click("displayButton"));
        QCOMPARE(m_f->dialogs().texts().first(), QStringLiteral("当前还没有该用户，请添加"));
        QVERIFY(m_f->listed().isEmpty());
    }

    void namesAndKeywordsWithQuotes()
    {
        const QString name = QStringLiteral("O'Neil");
        addChild(name);
        showPage();
        fillNewRecord(QStringLiteral("感冒发烧"), QStringLiteral("it's a 'cold'"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("添加成功!")});
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong"), QStringLiteral("username=?"), {name}), 1);
        chooseSearchKind("fullTextRadio");
        m_f->field<QLineEdit>("keywordEdit")->setText(QStringLiteral("'cold'"));
        QVERIFY(m_f->click("searchButton"));
        QCOMPARE(m_f->listed(), QStringList{QStringLiteral("it's a 'cold'")});
        QVERIFY(m_f->dialogs().texts().isEmpty());
    }

    // While a record is added or changed, the list never replaces what is being typed.
    void listStaysOutOfTheWayWhileEditing()
    {
        openOneOldRecord(QStringLiteral("旧记录"));
        addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("另一条"), 20200102);
        QVERIFY(m_f->click("addButton"));
        m_f->field<QLineEdit>("titleEdit")->setText(QStringLiteral("正在写的"));
        QVERIFY(m_f->click("displayButton"));
        auto* list = m_f->field<QTableView>("recordList");
        QCOMPARE(list->model()->rowCount(), 2);
        // Tab into the freshly filled list, arrow keys, a click on a row: none reach the fields.
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        m_f->clickRow(1);
        QCOMPARE(m_f->field<QLineEdit>("titleEdit")->text(), QStringLiteral("正在写的"));
        QVERIFY(!list->isEnabled());
        QVERIFY(m_f->click("undoButton"));
        QVERIFY(list->isEnabled());
    }

    // Restoring the minimised window must not put 类型 and 儿童姓名 back on their first entry.
    void restoringTheWindowKeepsTheChoicesOfAnEdit()
    {
        addChild(QStringLiteral("小明"));
        addChild(QStringLiteral("小红"));
        showPage();
        fillNewRecord(QStringLiteral("咳嗽"), QStringLiteral("小明的"));
        m_f->field<QComboBox>("childCombo")->setCurrentText(QStringLiteral("小明"));
        m_f->page().showMinimized();
        QTest::qWait(20);
        m_f->page().showNormal();
        QTest::qWait(20);
        QCOMPARE(m_f->field<QComboBox>("editCategoryCombo")->currentText(), QStringLiteral("咳嗽"));
        QCOMPARE(m_f->field<QComboBox>("childCombo")->currentText(), QStringLiteral("小明"));
        // Choosing the page's tab again (a show from the program) still reloads the children.
        addChild(QStringLiteral("小刚"));
        m_f->page().hide();
        m_f->page().show();
        QCOMPARE(m_f->field<QComboBox>("searchUserCombo")->itemText(0), QStringLiteral("小刚"));
    }

    void changeOfARowAnotherProgramChangedIsNotSavedOverIt()
    {
        // A long diagnosis to which another program adds a conclusion at its end.
        const QString diagnosis(3000, QChar(u'诊'));
        addChild(QStringLiteral("小明"));
        m_f->db().exec(QStringLiteral("INSERT INTO bnrong (leixing, username, title, zhenduan, riqi) "
                                      "VALUES ('咳嗽', '小明', '旧记录', ?, 20200101)"),
                       {diagnosis});
        showPage();
        m_f->field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        QVERIFY(m_f->click("displayButton"));
        m_f->clickRow(0);
        QVERIFY(m_f->click("modifyButton"));
        m_f->field<QLineEdit>("titleEdit")->setText(QStringLiteral("我的修改"));
        // Meanwhile another client of the file changes the title and the diagnosis.
        const QString theirs = diagnosis + QStringLiteral("最后的结论");
        m_f->db().exec(QStringLiteral("UPDATE bnrong SET title='别人的修改', zhenduan=?"), {theirs});
        QVERIFY(m_f->click("saveButton"));
        const QStringList shown = m_f->dialogs().take();
        QCOMPARE(shown.size(), 1);
        const QString& text = shown.first();
        QVERIFY2(text.contains(QStringLiteral("已被其他程序改动")), qPrintable(text));
        // Every field that differs, stored value against the user's, long text around where
        // the two part; the fields that agree are not listed.
        QVERIFY2(text.contains(QStringLiteral("标题：\n    现在保存的：“别人的修改”\n    您填写的：“我的修改”")),
                 qPrintable(text));
        const QString tail(20, QChar(u'诊'));
        QVERIFY2(text.contains(QStringLiteral("医生诊断：\n    现在保存的：“…") + tail +
                               QStringLiteral("最后的结论”\n    您填写的：“…") + tail + QStringLiteral("”")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("日期：\n    现在保存的：“20200101”\n    您填写的：“20261207”")),
                 qPrintable(text));
        for (const char* same : {"症状描述", "处方", "类型：", "儿童姓名", "操作："})
            QVERIFY2(!text.contains(QString::fromUtf8(same)), same);
        QVERIFY(text.size() < 600);
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT title FROM bnrong")).toString(), QStringLiteral("别人的修改"));
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT zhenduan FROM bnrong")).toString(), theirs);
        QCOMPARE(m_f->field<QLineEdit>("titleEdit")->text(), QStringLiteral("我的修改"));
        // Saving again, knowing, replaces what is stored now.
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().take().first(), QStringLiteral("修改成功!"));
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT title FROM bnrong")).toString(), QStringLiteral("我的修改"));
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT zhenduan FROM bnrong")).toString(), diagnosis);
    }

    void savingWithoutAChangeWritesNothing()
    {
        // Text an older program stored as bytes that are no valid UTF-8 comes back with
        // replacement marks; saving it unchanged must not rewrite it, nor move the date.
        // A server keeps only whole UTF-8, so there the stored text is an ordinary one.
        const bool server = TestDatabase::onServer();
        addChild(QStringLiteral("小明"));
        m_f->db().exec(QStringLiteral("INSERT INTO bnrong (leixing, username, title, zhenduan, riqi) "
                                      "VALUES ('咳嗽', '小明', '旧记录', %1, 20200101)")
                           .arg(server ? QStringLiteral("'a'") : QStringLiteral("CAST(X'61ED' AS TEXT)")));
        m_f->db().exec(QStringLiteral("CREATE TABLE writes (n INTEGER)"));
        if (server) {
            m_f->db().exec(QStringLiteral("CREATE FUNCTION counted() RETURNS trigger LANGUAGE plpgsql AS "
                                          "'BEGIN INSERT INTO writes VALUES (1); RETURN NULL; END'"));
            m_f->db().exec(QStringLiteral(
                "CREATE TRIGGER counted AFTER UPDATE ON bnrong FOR EACH ROW EXECUTE FUNCTION counted()"));
        } else {
            m_f->db().exec(QStringLiteral("CREATE TRIGGER counted AFTER UPDATE ON bnrong BEGIN "
                                          "INSERT INTO writes VALUES (1); END"));
        }
        showPage();
        m_f->field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        QVERIFY(m_f->click("displayButton"));
        m_f->clickRow(0);
        QVERIFY(m_f->click("modifyButton"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("内容没有改动，记录保持原样。")});
        QCOMPARE(m_f->db().count(QStringLiteral("writes")), 0);
        if (server)
            QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT zhenduan FROM bnrong")).toString(), QStringLiteral("a"));
        else
            QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT hex(zhenduan) FROM bnrong")).toString(),
                     QStringLiteral("61ED"));
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT riqi FROM bnrong")).toInt(), 20200101);
        QVERIFY(m_f->field<QPushButton>("addButton")->isEnabled());
        QVERIFY(!m_f->field<QPushButton>("saveButton")->isEnabled());
    }

    void textThatIsNotWholeUnicodeIsRefusedByItsField()
    {
        // A lone half of a character pair, as a paste may bring, in a new record and in a change.
        addChild(QStringLiteral("小明"));
        showPage();
        m_f->field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        fillNewRecord(QStringLiteral("咳嗽"), QStringLiteral("夜里咳"));
        m_f->field<QPlainTextEdit>("diagnosisEdit")->setPlainText(QStringLiteral("支气管炎") + QChar(0xD83D));
        QVERIFY(m_f->click("saveButton"));
        QStringList shown = m_f->dialogs().take();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(QStringLiteral("“医生诊断”里有一个无法保存的残缺字符")),
                 qPrintable(shown.first()));
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 0);
        QVERIFY(m_f->field<QPushButton>("saveButton")->isEnabled());

        m_f->field<QPlainTextEdit>("diagnosisEdit")->setPlainText(QStringLiteral("支气管炎"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("添加成功!")});
        m_f->clickRow(0);
        QVERIFY(m_f->click("modifyButton"));
        m_f->field<QLineEdit>("operatorEdit")->setText(QChar(0xDE00) + QStringLiteral("爸爸"));
        QVERIFY(m_f->click("saveButton"));
        shown = m_f->dialogs().take();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(QStringLiteral("“操作”里有一个无法保存的残缺字符")),
                 qPrintable(shown.first()));
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT zaozuo FROM bnrong")).toString(), QStringLiteral("妈妈"));
    }

    void enterSearchesOnlyWhileWorkingInTheSearchGroup()
    {
        openOneOldRecord(QStringLiteral("旧记录"));
        QVERIFY(m_f->click("modifyButton"));
        // Enter in the fields of a change keeps the marked row (a search would refill the list).
        QTest::keyClick(m_f->field<QLineEdit>("titleEdit"), Qt::Key_Return);
        QCOMPARE(m_f->field<QTableView>("recordList")->currentIndex().row(), 0);
        QVERIFY(m_f->click("undoButton"));
        // Typing a keyword is working in the search group: Enter searches.
        addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("X-ray"), 20200102);
        chooseSearchKind("fullTextRadio");
        QVERIFY(m_f->click("addButton"));
        QTest::keyClicks(m_f->field<QLineEdit>("keywordEdit"), QStringLiteral("ray"));
        QTest::keyClick(m_f->field<QLineEdit>("keywordEdit"), Qt::Key_Return);
        QCOMPARE(m_f->listed(), QStringList{QStringLiteral("X-ray")});
    }

    void searchKindRadiosReactToBeingChecked()
    {
        showPage();
        // A screen reader's toggle action checks the button without a mouse click.
        m_f->field<QRadioButton>("byDateRadio")->toggle();
        QVERIFY(m_f->field<QLineEdit>("dateFromEdit")->isEnabled());
        QCOMPARE(m_f->field<QLineEdit>("dateFromEdit")->text(), QStringLiteral("20261207"));
        for (const char* name : {"增加", "查找", "症状描述", "用户操作"}) {
            const QString wanted = QString::fromUtf8(name);
            const QList<QGroupBox*> groups = m_f->page().findChildren<QGroupBox*>();
            QVERIFY2(std::any_of(groups.begin(), groups.end(),
                                 [&](const QGroupBox* g) { return g->accessibleName() == wanted; }),
                     name);
        }
    }

    void aClickBelowTheRowsChoosesNoRecord()
    {
        openOneOldRecord(QStringLiteral("旧记录"));
        auto* list = m_f->field<QTableView>("recordList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, {10, list->viewport()->height() - 5});
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("表格还没有记录")});
    }

    void undoClosesTheEditingGroup()
    {
        addChild(QStringLiteral("小明"));
        showPage();
        fillNewRecord(QStringLiteral("咳嗽"), QStringLiteral("不要了"));
        QVERIFY(m_f->click("undoButton"));
        QVERIFY(m_f->field<QLineEdit>("titleEdit")->text().isEmpty());
        QVERIFY(!m_f->field<QLineEdit>("titleEdit")->isEnabled());
        QVERIFY(m_f->field<QPushButton>("addButton")->isEnabled());
        QVERIFY(!m_f->field<QPushButton>("saveButton")->isEnabled());
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 0);
    }
};

QTEST_MAIN(TestMedicalRecords)
#include "tst_medicalrecords.moc"

#include "health/ui/CBL.h"
#include "tests/support/PageFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

// The medical records page, clicked as a user would, against a fresh database.
class TestMedicalRecords : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PageFixture<CBL>> m_f;

    template <typename T> T* field(const char* name) const
    {
        return Gui::find<T>(&m_f->page(), QString::fromLatin1(name));
    }
    bool click(const char* name) { return Gui::click(&m_f->page(), QString::fromLatin1(name)); }

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
    QStringList listedTitles() const
    {
        QStringList titles;
        auto* model = field<QTableView>("recordList")->model();
        for (int row = 0; row < model->rowCount(); ++row)
            titles << model->index(row, 1).data().toString();
        return titles;
    }
    void fillNewRecord(const QString& category, const QString& title)
    {
        QVERIFY(click("addButton"));
        field<QComboBox>("editCategoryCombo")->setCurrentText(category);
        field<QLineEdit>("titleEdit")->setText(title);
        field<QPlainTextEdit>("symptomsEdit")->setPlainText(QStringLiteral("发烧38.5度"));
        field<QPlainTextEdit>("diagnosisEdit")->setPlainText(QStringLiteral("上呼吸道感染"));
        field<QPlainTextEdit>("prescriptionEdit")->setPlainText(QStringLiteral("多喝水，按时服药"));
        field<QLineEdit>("operatorEdit")->setText(QStringLiteral("妈妈"));
    }
    void clickRow(int row)
    {
        auto* list = field<QTableView>("recordList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 1)).center());
    }
    // One child with one record of 2020, displayed and clicked.
    void openOneOldRecord(const QString& title)
    {
        addChild(QStringLiteral("小明"));
        addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), title, 20200101);
        showPage();
        field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        QVERIFY(click("displayButton"));
        clickRow(0);
    }
    void chooseSearchKind(const char* radio) { QTest::mouseClick(field<QRadioButton>(radio), Qt::LeftButton); }

private slots:
    void init() { m_f = std::make_unique<PageFixture<CBL>>(); }

    void cleanup() { m_f.reset(); }

    void pageStartsWithOnlyAddEnabled()
    {
        showPage();
        QVERIFY(field<QPushButton>("addButton")->isEnabled());
        for (const char* name : {"saveButton", "modifyButton", "deleteButton", "undoButton"})
            QVERIFY2(!field<QPushButton>(name)->isEnabled(), name);
        QVERIFY(!field<QLineEdit>("titleEdit")->isEnabled());
        QVERIFY(!field<QLineEdit>("dateFromEdit")->isEnabled());
        QCOMPARE(field<QComboBox>("searchCategoryCombo")->itemText(0), QStringLiteral("感冒发烧"));
        auto* model = field<QTableView>("recordList")->model();
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
        QVERIFY(click("addButton"));
        for (const Step& step : steps) {
            field<QComboBox>("editCategoryCombo")->setCurrentText(step.category);
            field<QComboBox>("childCombo")->setCurrentText(step.child);
            field<QLineEdit>("titleEdit")->setText(step.title);
            QVERIFY(click("saveButton"));
            QCOMPARE(m_f->dialogs().take(), QStringList{step.expected});
            QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 0);
        }
        // The refused category left the fields open for another try.
        QVERIFY(field<QLineEdit>("titleEdit")->isEnabled());
        QVERIFY(field<QLineEdit>("titleEdit")->text().isEmpty());

        field<QComboBox>("editCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        field<QLineEdit>("titleEdit")->setText(twenty);
        QVERIFY(click("saveButton"));
        QCOMPARE(m_f->dialogs().texts().first(), QStringLiteral("添加成功!"));
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong"), QStringLiteral("title=?"), {twenty}), 1);
    }

    void addedRecordIsListedWithTodaysDate()
    {
        addChild(QStringLiteral("小明"));
        showPage();
        field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        fillNewRecord(QStringLiteral("咳嗽"), QStringLiteral("夜里咳嗽"));
        QCOMPARE(field<QComboBox>("childCombo")->currentText(), QStringLiteral("小明"));
        QCOMPARE(field<QLineEdit>("dateEdit")->text(), QStringLiteral("20261207"));
        QVERIFY(click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("添加成功!")});

        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT riqi FROM bnrong")).toInt(), 20261207);
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT zaozuo FROM bnrong")).toString(), QStringLiteral("妈妈"));
        QCOMPARE(listedTitles(), QStringList{QStringLiteral("夜里咳嗽")});
        auto* model = field<QTableView>("recordList")->model();
        QCOMPARE(model->index(0, 3).data().toString(), QStringLiteral("20261207"));
        QVERIFY(field<QPushButton>("addButton")->isEnabled());
        QVERIFY(!field<QPushButton>("saveButton")->isEnabled());
        QVERIFY(!field<QPushButton>("undoButton")->isEnabled());
        QVERIFY(!field<QLineEdit>("titleEdit")->isEnabled());
    }

    void changingMovesTheDateToToday()
    {
        openOneOldRecord(QStringLiteral("旧记录"));
        QCOMPARE(field<QLineEdit>("titleEdit")->text(), QStringLiteral("旧记录"));
        QVERIFY(field<QPushButton>("modifyButton")->isEnabled());
        QVERIFY(click("modifyButton"));
        QVERIFY(!field<QComboBox>("childCombo")->isEnabled());
        QVERIFY(!field<QPushButton>("modifyButton")->isEnabled());
        field<QLineEdit>("titleEdit")->setText(QStringLiteral("改过的记录"));
        QVERIFY(click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("修改成功!")});
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT riqi FROM bnrong")).toInt(), 20261207);
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT title FROM bnrong")).toString(), QStringLiteral("改过的记录"));
    }

    void changingToAnUnknownCategoryIsRefused()
    {
        openOneOldRecord(QStringLiteral("记录"));
        QVERIFY(click("modifyButton"));
        field<QComboBox>("editCategoryCombo")->setCurrentText(QStringLiteral("不存在"));
        QVERIFY(click("saveButton"));
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
        field<QComboBox>("searchUserCombo")->setCurrentText(QStringLiteral("小明"));
        field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        if (!radio.isEmpty())
            chooseSearchKind(qPrintable(radio));
        field<QLineEdit>("keywordEdit")->setText(keyword);
        if (!from.isEmpty()) {
            QCOMPARE(field<QLineEdit>("dateFromEdit")->text(), QStringLiteral("20261207")); // today by default
            field<QLineEdit>("dateFromEdit")->setText(from);
            field<QLineEdit>("dateToEdit")->setText(to);
        }
        QVERIFY(click("searchButton"));
        QStringList listed = listedTitles();
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
        QTest::keyClick(field<QLineEdit>("keywordEdit"), Qt::Key_Return);
        QVERIFY(listedTitles().isEmpty()); // no kind chosen yet: Enter does nothing special
        chooseSearchKind("fullTextRadio");
        field<QLineEdit>("keywordEdit")->setText(QStringLiteral("一周"));
        QTest::keyClick(field<QLineEdit>("keywordEdit"), Qt::Key_Return);
        QCOMPARE(listedTitles(), QStringList{QStringLiteral("咳嗽一周")});
    }

    void dateSearchRefusesTextThatIsNoDate()
    {
        addChild(QStringLiteral("小明"));
        showPage();
        chooseSearchKind("byDateRadio");
        field<QLineEdit>("dateFromEdit")->setText(QStringLiteral("0 or 1"));
        QVERIFY(click("searchButton"));
        QCOMPARE(m_f->dialogs().texts().size(), 1);
        QVERIFY(m_f->dialogs().last().contains(QStringLiteral("8位数字")));
    }

    void deletingSeveralRows()
    {
        addChild(QStringLiteral("小明"));
        for (int i = 1; i <= 4; ++i)
            addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("记录%1").arg(i), 20260100 + i);
        showPage();
        field<QComboBox>("searchCategoryCombo")->setCurrentText(QStringLiteral("咳嗽"));
        QVERIFY(click("displayButton"));
        auto* list = field<QTableView>("recordList");
        list->selectionModel()->select(list->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list->selectionModel()->select(list->model()->index(2, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);

        m_f->dialogs().answerConfirm(false);
        QVERIFY(click("deleteButton"));
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 4);
        QCOMPARE(m_f->dialogs().shown().last().caption, QStringLiteral("系统提示"));

        m_f->dialogs().answerConfirm(true);
        QVERIFY(click("deleteButton"));
        QCOMPARE(m_f->dialogs().take(),
                 (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("确定要删除吗？")}));
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 2);
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong"), QStringLiteral("title IN ('记录4', '记录2')")), 0);
        QStringList listed = listedTitles(); // the search runs again: every record of the child
        listed.sort();
        QCOMPARE(listed, (QStringList{QStringLiteral("记录1"), QStringLiteral("记录3")}));
    }

    void displayWithoutAnyChild()
    {
        addRecord(QStringLiteral("小明"), QStringLiteral("感冒发烧"), QStringLiteral("孤儿记录"), 20260101);
        showPage();
        QVERIFY(click("displayButton"));
        QCOMPARE(m_f->dialogs().texts().first(), QStringLiteral("当前还没有该用户，请添加"));
        QVERIFY(listedTitles().isEmpty());
    }

    void namesAndKeywordsWithQuotes()
    {
        const QString name = QStringLiteral("O'Neil");
        addChild(name);
        showPage();
        fillNewRecord(QStringLiteral("感冒发烧"), QStringLiteral("it's a 'cold'"));
        QVERIFY(click("saveButton"));
        QCOMPARE(m_f->dialogs().take(), QStringList{QStringLiteral("添加成功!")});
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong"), QStringLiteral("username=?"), {name}), 1);
        chooseSearchKind("fullTextRadio");
        field<QLineEdit>("keywordEdit")->setText(QStringLiteral("'cold'"));
        QVERIFY(click("searchButton"));
        QCOMPARE(listedTitles(), QStringList{QStringLiteral("it's a 'cold'")});
        QVERIFY(m_f->dialogs().texts().isEmpty());
    }

    void undoClosesTheEditingGroup()
    {
        addChild(QStringLiteral("小明"));
        showPage();
        fillNewRecord(QStringLiteral("咳嗽"), QStringLiteral("不要了"));
        QVERIFY(click("undoButton"));
        QVERIFY(field<QLineEdit>("titleEdit")->text().isEmpty());
        QVERIFY(!field<QLineEdit>("titleEdit")->isEnabled());
        QVERIFY(field<QPushButton>("addButton")->isEnabled());
        QVERIFY(!field<QPushButton>("saveButton")->isEnabled());
        QCOMPARE(m_f->db().count(QStringLiteral("bnrong")), 0);
    }
};

QTEST_MAIN(TestMedicalRecords)
#include "tst_medicalrecords.moc"

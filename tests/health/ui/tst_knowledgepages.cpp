#include "health/ui/CZS.h"
#include "health/ui/Libraries.h"
#include "tests/support/PageFixture.h"

#include "common/TextBytes.h"
#include "common/TextOrder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

// The knowledge libraries and the disease knowledge base, clicked as a user would.
class TestKnowledgePages : public QObject
{
    Q_OBJECT

private:
    template <typename Page>
    static void fillArticle(PageFixture<Page>& f, const QString& type, const QString& title, const QString& text,
                            bool begin = true)
    {
        if (begin)
            QVERIFY(f.click("addButton"));
        f.template field<QComboBox>("editTypeCombo")->setCurrentText(type);
        f.template field<QLineEdit>("titleEdit")->setText(title);
        f.template field<QPlainTextEdit>("textEdit")->setPlainText(text);
    }
    static QString chinese(int characters) { return QString(characters, QChar(0x5065)); }

private slots:
    void trainingChecksInOrder()
    {
        PageFixture<CTN> f;
        f.show();
        const int before = f.db().count(QStringLiteral("tnrong"));
        struct Step
        {
            QString type, title, text, expected;
        };
        const QList<Step> steps{
            {QStringLiteral("爬行训练"), QStringLiteral("t"), chinese(1000) + QLatin1Char('x'),
             QStringLiteral("内容太长，不能超过1000个字")},
            {QString(), QStringLiteral("t"), QStringLiteral("x"), QStringLiteral("类型不能为空")},
            {QStringLiteral("爬行训练"), QString(), QStringLiteral("x"), QStringLiteral("标题不能为空")},
            {QStringLiteral("爬行训练"), chinese(20) + QLatin1Char('x'), QStringLiteral("x"),
             QStringLiteral("标题太长，不能超过20个字")},
            {QStringLiteral("跳舞"), QStringLiteral("t"), QStringLiteral("x"), QStringLiteral("没有该类型,请正确操作")},
        };
        for (const Step& step : steps) {
            fillArticle(f, step.type, step.title, step.text);
            QVERIFY(f.click("saveButton"));
            QCOMPARE(f.dialogs().take(), QStringList{step.expected});
        }
        QVERIFY(f.field<QLineEdit>("titleEdit")->isEnabled()); // still editing after the refusal
        QCOMPARE(f.db().count(QStringLiteral("tnrong")), before);

        fillArticle(f, QStringLiteral("爬行训练"), chinese(20), chinese(1000));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("添加成功!"));
        QCOMPARE(f.db().count(QStringLiteral("tnrong"), QStringLiteral("title=?"), {chinese(20)}), 1);
    }

    void nutritionWordingAndKeywordRadio()
    {
        PageFixture<CYYANG> f;
        f.show();
        QVERIFY(!f.field<QLineEdit>("keywordEdit")->isEnabled());
        QTest::mouseClick(f.field<QRadioButton>("byTitleRadio"), Qt::LeftButton);
        QVERIFY(f.field<QLineEdit>("keywordEdit")->isEnabled());
        fillArticle(f, QStringLiteral("维生素"), chinese(21), QStringLiteral("x"));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("标题太长,不要超过20个字")});
        fillArticle(f, QStringLiteral("维生素"), QStringLiteral("t"), chinese(1001));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("内容太长,不要超过1000个字")});
    }

    void infantLibraryTakesAnyLengthButNeedsAType()
    {
        PageFixture<CCHILD> f;
        f.show();
        auto* types = f.field<QComboBox>("editTypeCombo");
        QCOMPARE(types->count(), 5); // three types and two empty entries
        fillArticle(f, QString(), QStringLiteral("t"), QStringLiteral("x"));
        types->setCurrentIndex(4);
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("类型不能为空")});
        fillArticle(f, QString(), QStringLiteral("很长的文章"), chinese(5000));
        types->setCurrentIndex(0);
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("添加成功!"));
        QCOMPARE(f.db().count(QStringLiteral("childconnect"), QStringLiteral("title='很长的文章'")), 1);
    }

    void displaySearchModifyAndDelete()
    {
        PageFixture<CWMAN> f;
        f.show();
        f.field<QComboBox>("searchTypeCombo")->setCurrentText(QStringLiteral("孕期保健"));
        QVERIFY(f.click("displayButton"));
        QCOMPARE(f.listed().size(), 3); // the shipped articles of the type
        f.field<QLineEdit>("keywordEdit")->setText(QStringLiteral("胎动"));
        QVERIFY(f.click("searchButton"));
        QCOMPARE(f.listed(), QStringList{QStringLiteral("数胎动")});
        f.clickRow(0);
        QVERIFY(f.field<QPlainTextEdit>("displayEdit")->toPlainText().contains(QStringLiteral("胎动")));
        QVERIFY(f.click("modifyButton"));
        f.field<QLineEdit>("titleEdit")->setText(QStringLiteral("数胎动的方法"));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("修改成功!"));
        QCOMPARE(f.db().count(QStringLiteral("womanconnect"), QStringLiteral("title='数胎动的方法'")), 1);

        f.field<QLineEdit>("keywordEdit")->setText(QStringLiteral("胎动"));
        QVERIFY(f.click("searchButton"));
        f.clickRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteButton"));
        QCOMPARE(f.db().count(QStringLiteral("womanconnect"), QStringLiteral("title LIKE '%胎动%'")), 0);
        QVERIFY(f.click("searchButton"));
        QVERIFY(f.listed().isEmpty());
    }

    void emptyKeywordIsRefused()
    {
        PageFixture<CTN> f;
        f.show();
        QVERIFY(f.click("searchButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("标题不能为空")});
    }

    void typeBoxesAreLabelledAndSortedAsThePagesShowThem()
    {
        PageFixture<CYYANG> nutrition;
        nutrition.show();
        QCOMPARE(nutrition.field<QComboBox>("searchTypeCombo")->accessibleName(), QStringLiteral("类别"));
        QCOMPARE(nutrition.field<QComboBox>("editTypeCombo")->accessibleName(), QStringLiteral("类别"));
        auto* editTypes = nutrition.field<QComboBox>("editTypeCombo");
        QStringList types;
        for (int i = 0; i < editTypes->count(); ++i)
            types << editTypes->itemText(i);
        QCOMPARE(types, TextOrder::sortedByPinyin(types));

        PageFixture<CZS> diseases;
        diseases.show();
        QCOMPARE(diseases.field<QComboBox>("searchTypeCombo")->accessibleName(), QStringLiteral("类别"));
        QCOMPARE(diseases.field<QPlainTextEdit>("textEdit")->accessibleName(), QStringLiteral("描述"));
    }

    void diseaseTitlesAndDates()
    {
        PageFixture<CZS> f;
        f.show();
        QCOMPARE(f.field<QComboBox>("searchTypeCombo")->currentIndex(), 1);
        fillArticle(f, QStringLiteral("皮肤疾病"), chinese(15) + QLatin1Char('x'), QStringLiteral("x"));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("标题太长,不能超过15个字")});
        // A refused save keeps the page adding, with 增加 still off.
        QVERIFY(!f.field<QPushButton>("addButton")->isEnabled());
        fillArticle(f, QStringLiteral("皮肤疾病"), chinese(15), QString(), false);
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("内容不能为空")});
        fillArticle(f, QStringLiteral("皮肤疾病"), chinese(15), QStringLiteral("正文"), false);
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("添加成功!"));
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT time FROM bing WHERE title=?"), {chinese(15)}).toInt(), 20261207);
    }

    void diseaseSearches()
    {
        PageFixture<CZS> f;
        f.db().exec(QStringLiteral("DELETE FROM bing"));
        const QString insert = QStringLiteral("INSERT INTO bing (title, connect, leixing, time) VALUES (?, 'x', ?, ?)");
        f.db().exec(insert, {QStringLiteral("冬季感冒"), QStringLiteral("呼吸系统疾病"), 20041231});
        f.db().exec(insert, {QStringLiteral("春季感冒"), QStringLiteral("呼吸系统疾病"), 20050301});
        f.db().exec(insert, {QStringLiteral("肺炎"), QStringLiteral("呼吸系统疾病"), 20051231});
        f.db().exec(insert, {QStringLiteral("胃肠型感冒"), QStringLiteral("消化系统疾病"), 20050601});
        f.show();
        f.field<QComboBox>("searchTypeCombo")->setCurrentText(QStringLiteral("呼吸系统疾病"));
        f.field<QLineEdit>("keywordEdit")->setText(QStringLiteral("感冒"));

        QVERIFY(f.click("searchButton")); // no mode: the whole category, whatever the keyword
        QCOMPARE(f.listed().size(), 3);

        QTest::mouseClick(f.field<QRadioButton>("fullTextRadio"), Qt::LeftButton);
        f.field<QLineEdit>("keywordEdit")->setText(QStringLiteral("感冒"));
        QVERIFY(f.click("searchButton"));
        QStringList found = f.listed();
        found.sort();
        QCOMPARE(found,
                 (QStringList{QStringLiteral("冬季感冒"), QStringLiteral("春季感冒"), QStringLiteral("胃肠型感冒")}));

        QTest::mouseClick(f.field<QRadioButton>("byDateRadio"), Qt::LeftButton);
        QCOMPARE(f.field<QLineEdit>("dateFromEdit")->text(), QStringLiteral("20261207"));
        f.field<QLineEdit>("dateFromEdit")->setText(QStringLiteral("20050101"));
        f.field<QLineEdit>("dateToEdit")->setText(QStringLiteral("20051231"));
        QVERIFY(f.click("searchButton"));
        found = f.listed();
        found.sort();
        QCOMPARE(found, (QStringList{QStringLiteral("春季感冒"), QStringLiteral("肺炎")}));

        // Bounds in this decade and beyond are accepted; text that is no date is named.
        f.field<QLineEdit>("dateToEdit")->setText(QStringLiteral("20270101"));
        QVERIFY(f.click("searchButton"));
        QCOMPARE(f.listed().size(), 2);
        QVERIFY(f.dialogs().texts().isEmpty());
        f.field<QLineEdit>("dateToEdit")->setText(QStringLiteral("2027"));
        QVERIFY(f.click("searchButton"));
        QVERIFY(f.dialogs().last().contains(QStringLiteral("19000101")));
    }

    void diseaseAddIsOffWhileEditingAndAClickLocksTheKeyword()
    {
        PageFixture<CZS> f;
        f.show();
        auto* add = f.field<QPushButton>("addButton");
        QVERIFY(f.click("addButton"));
        QVERIFY(!add->isEnabled());
        QVERIFY(f.click("undoButton"));
        QVERIFY(add->isEnabled());

        QTest::mouseClick(f.field<QRadioButton>("fullTextRadio"), Qt::LeftButton);
        QVERIFY(f.field<QLineEdit>("keywordEdit")->isEnabled());
        f.field<QComboBox>("searchTypeCombo")->setCurrentText(QStringLiteral("皮肤疾病"));
        QVERIFY(f.click("displayButton"));
        f.clickRow(0);
        QVERIFY(!f.field<QLineEdit>("keywordEdit")->isEnabled());
        QVERIFY(add->isEnabled());
        QVERIFY(f.click("modifyButton"));
        QVERIFY(!add->isEnabled());
        // Saved without a change: nothing is written, and the page says so.
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("内容没有改动，记录保持原样。"));
        QVERIFY(add->isEnabled());
    }

    void modifyingAnArticleKeepsItsDate()
    {
        PageFixture<CZS> f;
        f.db().exec(QStringLiteral("DELETE FROM bing"));
        f.db().exec(QStringLiteral("INSERT INTO bing (title, connect, leixing, time) "
                                   "VALUES ('旧文章', '旧内容', '皮肤疾病', 20050301)"));
        f.show();
        f.field<QComboBox>("searchTypeCombo")->setCurrentText(QStringLiteral("皮肤疾病"));
        QVERIFY(f.click("displayButton"));
        f.clickRow(0);
        QVERIFY(f.click("modifyButton"));
        QCOMPARE(f.field<QPlainTextEdit>("textEdit")->toPlainText(), QStringLiteral("旧内容"));
        f.field<QPlainTextEdit>("textEdit")->setPlainText(QStringLiteral("新内容"));
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("修改成功!"));
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT time FROM bing")).toInt(), 20050301);
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT connect FROM bing")).toString(), QStringLiteral("新内容"));
    }

    // The training library's first type, listed with its shipped articles.
    static void displayFirstType(PageFixture<CTN>& f)
    {
        f.show();
        QVERIFY(f.click("displayButton"));
        QVERIFY(f.listed().size() >= 2);
    }

    void arrowKeysWhileChangingDoNotSwapTheArticle()
    {
        PageFixture<CTN> f;
        displayFirstType(f);
        const QString first = f.listed().at(0);
        const QString second = f.listed().at(1);
        f.clickRow(0);
        QVERIFY(f.click("modifyButton"));
        f.field<QPlainTextEdit>("textEdit")->setPlainText(QStringLiteral("新的内容"));
        auto* list = f.field<QTableView>("recordList");
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(f.field<QLineEdit>("titleEdit")->text(), first);
        QVERIFY(f.click("saveButton"));
        QCOMPARE(f.dialogs().take().first(), QStringLiteral("修改成功!"));
        QCOMPARE(f.db().scalar(QStringLiteral("SELECT connect FROM tnrong WHERE title=?"), {first}).toString(),
                 QStringLiteral("新的内容"));
        QVERIFY(f.db().scalar(QStringLiteral("SELECT connect FROM tnrong WHERE title=?"), {second}).toString() !=
                QStringLiteral("新的内容"));
    }

    void deletingTheLastArticlesOfATypeEmptiesTheList()
    {
        PageFixture<CTN> f;
        displayFirstType(f);
        f.field<QTableView>("recordList")->selectAll();
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteButton"));
        QCOMPARE(f.dialogs().take(),
                 (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("当前还没有任何记录")}));
        QVERIFY(f.listed().isEmpty());
    }

    void aClickBelowTheRowsSaysTheListIsEmpty()
    {
        PageFixture<CTN> f;
        f.show();
        auto* list = f.field<QTableView>("recordList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->viewport()->rect().center());
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("表格还没有记录")});
    }

    void theArticleBeingReadGetsTheRoom()
    {
        PageFixture<CTN> f;
        displayFirstType(f);
        f.clickRow(0);
        auto* reading = f.field<QPlainTextEdit>("displayEdit");
        auto* editing = f.field<QPlainTextEdit>("textEdit");
        QVERIFY2(reading->height() > 2 * editing->height(),
                 qPrintable(QStringLiteral("%1 / %2").arg(reading->height()).arg(editing->height())));
        QVERIFY(f.click("addButton"));
        QTest::qWait(10);
        QVERIFY2(editing->height() > reading->height(),
                 qPrintable(QStringLiteral("%1 / %2").arg(reading->height()).arg(editing->height())));
    }

    void shippedArticlesFitTheirPages()
    {
        TestDatabase db;
        struct Library
        {
            const char* table;
            int titleBytes;
            int textBytes;
            int types;
        };
        for (const Library& l :
             {Library{"tnrong", 40, 2000, 6}, Library{"ynrong", 40, 2000, 6}, Library{"childconnect", 40, 0, 3},
              Library{"womanconnect", 40, 0, 6}, Library{"bing", 30, 0, 7}}) {
            const QString table = QString::fromLatin1(l.table);
            QSqlDatabase connection = Database::connection();
            QSqlQuery query(connection);
            QVERIFY(query.exec(QStringLiteral("SELECT title, connect FROM [%1]").arg(table)));
            while (query.next()) {
                QVERIFY2(TextBytes::length(query.value(0).toString()) <= l.titleBytes,
                         qPrintable(query.value(0).toString()));
                if (l.textBytes)
                    QVERIFY(TextBytes::length(query.value(1).toString()) <= l.textBytes);
                QVERIFY(query.value(1).toString().contains(QStringLiteral("医")) ||
                        query.value(1).toString().contains(QStringLiteral("门诊")));
            }
            QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM (SELECT leixing FROM [%1] GROUP BY leixing "
                                              "HAVING count(*) >= 3)")
                                   .arg(table)));
            QVERIFY(query.next());
            QCOMPARE(query.value(0).toInt(), l.types);
        }
        // Every type of the type tables has its articles.
        QCOMPARE(db.count(QStringLiteral("tneng"), QStringLiteral("leixing NOT IN (SELECT leixing FROM tnrong)")), 0);
        QCOMPARE(db.count(QStringLiteral("yyang"), QStringLiteral("leixing NOT IN (SELECT leixing FROM ynrong)")), 0);
        QCOMPARE(db.count(QStringLiteral("leixing"), QStringLiteral("[类型] NOT IN (SELECT leixing FROM bing)")), 0);
    }
};

QTEST_MAIN(TestKnowledgePages)
#include "tst_knowledgepages.moc"

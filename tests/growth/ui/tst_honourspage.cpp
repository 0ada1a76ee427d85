#include "growth/ui/HonoursPage.h"
#include "media/ui/MediaGroup.h"
#include "tests/support/GrowthPageFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

// The honours page, clicked as a user would, with the dialogs scripted.
class TestHonoursPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GrowthPageFixture<HonoursPage>> m_f;

    TestDatabase& db() { return m_f->db(); }
    ScriptedDialogs& dialogs() { return m_f->dialogs(); }
    template <typename T> T* field(const char* name) { return m_f->field<T>(name); }

    qint64 addHonour(const QString& name, const QString& date, const QString& music = {})
    {
        db().exec(QStringLiteral("INSERT INTO rongyu (mingcheng, riqi, jigou, connect, miaoshu, music) "
                                 "VALUES (?, ?, '幼儿园', '奖状', '表现很好', ?)"),
                  {name, date, music});
        return db().scalar(QStringLiteral("SELECT max(id) FROM rongyu")).toLongLong();
    }
    QStringList search(const QString& year, const QString& name = {})
    {
        m_f->choose("searchYearCombo", year);
        field<QLineEdit>("searchNameEdit")->setText(name);
        Gui::click(&m_f->page(), QStringLiteral("searchButton"));
        return m_f->listed(1);
    }
    void fill(const QString& name, const QString& year, const QString& month, const QString& day, const QString& body,
              const QString& prize, const QString& description)
    {
        field<QLineEdit>("nameEdit")->setText(name);
        m_f->choose("yearCombo", year);
        m_f->choose("monthCombo", month);
        m_f->choose("dayCombo", day);
        field<QLineEdit>("bodyEdit")->setText(body);
        field<QLineEdit>("prizeEdit")->setText(prize);
        field<QPlainTextEdit>("descriptionEdit")->setPlainText(description);
    }

private slots:
    void init() { m_f = std::make_unique<GrowthPageFixture<HonoursPage>>(QStringLiteral("rongyu")); }
    void cleanup() { m_f.reset(); }

    void searchListsTheOldestHonourFirst()
    {
        addHonour(QStringLiteral("三好学生"), QStringLiteral("2006\\06\\01"));
        addHonour(QStringLiteral("游泳第一名"), QStringLiteral("2006\\07\\06"));
        addHonour(QStringLiteral("三好学生标兵"), QStringLiteral("2007\\06\\06"));
        addHonour(QStringLiteral("100%出勤"), QStringLiteral("2026\\01\\06"));
        m_f->show();
        auto* years = field<QComboBox>("yearCombo");
        QCOMPARE(years->itemText(0), QStringLiteral("2000"));
        QCOMPARE(years->itemText(years->count() - 1), QStringLiteral("2027"));
        QCOMPARE(field<QTableView>("recordList")->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("编号"));

        QVERIFY(search({}).isEmpty());
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("至少输入一个条件")});
        QCOMPARE(search({}, QStringLiteral("三好")),
                 (QStringList{QStringLiteral("三好学生"), QStringLiteral("三好学生标兵")}));
        QCOMPARE(m_f->listed(0), (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
        QCOMPARE(search(QStringLiteral("2006")),
                 (QStringList{QStringLiteral("三好学生"), QStringLiteral("游泳第一名")}));
        // Day 06 is the sixth of a month, not June or 2006.
        m_f->choose("searchDayCombo", QStringLiteral("06"));
        QCOMPARE(search({}), (QStringList{QStringLiteral("游泳第一名"), QStringLiteral("三好学生标兵"),
                                          QStringLiteral("100%出勤")}));
        m_f->choose("searchDayCombo", {});
        QCOMPARE(search({}, QStringLiteral("%")), QStringList{QStringLiteral("100%出勤")});
        QVERIFY(dialogs().take().isEmpty());
        QVERIFY(search(QStringLiteral("2006"), QStringLiteral("标兵")).isEmpty());
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("没有记录")});
    }

    void savingChecksTheFieldsInOrderThenAddsTheHonour()
    {
        m_f->show();
        const QString y = QStringLiteral("2026"), m = QStringLiteral("06"), d = QStringLiteral("18");
        const QString name = QStringLiteral("三好宝宝"), body = QStringLiteral("阳光幼儿园"),
                      prize = QStringLiteral("奖状");
        struct Step
        {
            QStringList values;
            QString expected;
        };
        const QList<Step> steps{
            {{{}, {}, {}, {}, {}, {}, {}}, QStringLiteral("请输入荣誉名称，谢谢！")},
            {{name, {}, {}, {}, {}, {}, {}}, QStringLiteral("请输入获奖的年份，谢谢！")},
            {{name, y, {}, {}, {}, {}, {}}, QStringLiteral("请输入获奖的月份，谢谢！")},
            {{name, y, m, {}, {}, {}, {}}, QStringLiteral("请输入获奖的日期，谢谢！")},
            {{name, y, m, d, {}, {}, {}}, QStringLiteral("请输入颁奖机构，谢谢！")},
            {{name, y, m, d, body, {}, {}}, QStringLiteral("请输入奖品内容，谢谢！")},
            {{name, y, m, d, body, prize, {}}, QStringLiteral("请输入荣誉的文字描述，谢谢！")},
        };
        for (const Step& s : steps) {
            const QStringList& v = s.values;
            fill(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
            QVERIFY(m_f->click("saveButton"));
            QCOMPARE(dialogs().take(), QStringList{s.expected});
            QCOMPARE(db().count(QStringLiteral("rongyu")), 0);
        }
        fill(name, y, m, d, body, prize, QStringLiteral("认真听讲"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功添加资料，谢谢!")});
        QCOMPARE(db().count(QStringLiteral("rongyu"),
                            QStringLiteral("riqi=? AND mingcheng=? AND jigou=? AND connect=?"),
                            {QStringLiteral("2026\\06\\18"), name, body, prize}),
                 1);
        // The page is empty again and adds.
        QVERIFY(field<QLineEdit>("nameEdit")->text().isEmpty());
        QCOMPARE(field<QComboBox>("yearCombo")->currentIndex(), -1);
        QVERIFY(!m_f->page().isModifying());
    }

    void aClickLoadsTheHonourByItsIdWhateverItsYear()
    {
        const qint64 first = addHonour(QStringLiteral("三好学生"), QStringLiteral("1998\\11\\30"));
        const qint64 second =
            addHonour(QStringLiteral("三好学生"), QStringLiteral("2006\\06\\01"), QStringLiteral(" a.jpg"));
        db().exec(QStringLiteral("UPDATE rongyu SET jigou='小学' WHERE id=?"), {second});
        m_f->show();
        QCOMPARE(search({}, QStringLiteral("三好")).size(), 2);

        m_f->clickRow(1);
        QCOMPARE(m_f->page().loadedId(), second);
        QCOMPARE(field<QLineEdit>("bodyEdit")->text(), QStringLiteral("小学"));
        QCOMPARE(field<QComboBox>("yearCombo")->currentText(), QStringLiteral("2006"));
        QCOMPARE(field<QComboBox>("monthCombo")->currentText(), QStringLiteral("06"));
        QCOMPARE(field<QComboBox>("dayCombo")->currentText(), QStringLiteral("01"));
        QCOMPARE(field<QTableWidget>("attachmentList")->rowCount(), 1);
        QVERIFY(!m_f->enabled("saveButton")); // attachments listed: 修改 saves

        // A year before the list's first is added to it, so the honour keeps its date.
        m_f->clickRow(0);
        QCOMPARE(m_f->page().loadedId(), first);
        QCOMPARE(field<QLineEdit>("bodyEdit")->text(), QStringLiteral("幼儿园"));
        QCOMPARE(field<QComboBox>("yearCombo")->currentText(), QStringLiteral("1998"));
        QCOMPARE(field<QComboBox>("yearCombo")->itemText(0), QStringLiteral("1998"));
        QCOMPARE(field<QTableWidget>("attachmentList")->rowCount(), 0);
        QVERIFY(m_f->enabled("saveButton"));
        QVERIFY(m_f->click("saveButton")); // without attachments 保存 saves into it too
        QCOMPARE(dialogs().take().last(), QStringLiteral("成功修改资料，谢谢!"));
        QCOMPARE(db().count(QStringLiteral("rongyu")), 2);
        QCOMPARE(m_f->column(QStringLiteral("riqi"), first), QStringLiteral("1998\\11\\30"));
    }

    void modifyingSavesIntoTheClickedHonourOnly()
    {
        const qint64 first = addHonour(QStringLiteral("游泳"), QStringLiteral("2006\\06\\01"));
        const qint64 second = addHonour(QStringLiteral("游泳"), QStringLiteral("2006\\06\\01"));
        m_f->show();
        search(QStringLiteral("2006"));
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("请输入荣誉名称，谢谢！")});

        m_f->clickRow(1);
        field<QLineEdit>("prizeEdit")->setText(QStringLiteral("奖牌"));
        QVERIFY(m_f->click("modifyButton"));
        // The search runs again before the success is told.
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料，谢谢!")});
        QCOMPARE(m_f->column(QStringLiteral("connect"), second), QStringLiteral("奖牌"));
        QCOMPARE(m_f->column(QStringLiteral("connect"), first), QStringLiteral("奖状"));
        QCOMPARE(m_f->listed(1).size(), 2);
        // The list was filled again, so no hit is chosen now.
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("请选择要修改的记录")});

        m_f->clickRow(0);
        db().exec(QStringLiteral("DELETE FROM rongyu WHERE id=?"), {first});
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("这项荣誉已经不存在了，可能已被删除。请重新搜索。")});
        QCOMPARE(field<QLineEdit>("nameEdit")->text(), QStringLiteral("游泳"));
    }

    void deletingAnHonourKeepsFilesOtherRowsName()
    {
        m_f->storeFile(QStringLiteral("prize.jpg"));
        m_f->storeFile(QStringLiteral("own.jpg"));
        addHonour(QStringLiteral("三好学生"), QStringLiteral("2006\\06\\01"), QStringLiteral(" prize.jpg own.jpg"));
        addHonour(QStringLiteral("游泳"), QStringLiteral("2006\\07\\01"));
        db().exec(QStringLiteral(
            "INSERT INTO chengzhang (riqi, biaoti, music) VALUES ('2006\\06\\01', '领奖', ' prize.jpg')"));
        m_f->show();
        search(QStringLiteral("2006"));
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take(), (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("表格上还没有记录")}));

        m_f->clickRow(0);
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take(), (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("删除成功")}));
        QCOMPARE(db().count(QStringLiteral("rongyu")), 1);
        QVERIFY(m_f->stored(QStringLiteral("prize.jpg")));
        QVERIFY(!m_f->stored(QStringLiteral("own.jpg")));
        QVERIFY(field<QLineEdit>("nameEdit")->text().isEmpty());
        QCOMPARE(field<QTableWidget>("attachmentList")->rowCount(), 0);
        // The search ran again with the date still chosen.
        QCOMPARE(m_f->listed(1), QStringList{QStringLiteral("游泳")});
    }

    // Tab into the list rests the focus on a hit without choosing it: 删除 deletes nothing.
    void keyboardFocusAloneChoosesNoHonour()
    {
        addHonour(QStringLiteral("三好学生"), QStringLiteral("2006\\06\\01"));
        m_f->show();
        search(QStringLiteral("2006"));
        QCOMPARE(m_f->deleteWithOnlyTheFocusInTheList(),
                 (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("表格上还没有记录")}));
        QCOMPARE(db().count(QStringLiteral("rongyu")), 1);
        QVERIFY(field<QLineEdit>("nameEdit")->text().isEmpty());
    }

    // Moving to another honour, by arrow key or click, while the fields hold unsaved changes asks
    // first; declining keeps the fields and the list on the honour shown.
    void unsavedChangesAreNotReplacedUnasked()
    {
        const qint64 first = addHonour(QStringLiteral("三好学生"), QStringLiteral("2006\\06\\01"));
        const qint64 second = addHonour(QStringLiteral("游泳"), QStringLiteral("2006\\07\\01"));
        m_f->show();
        search(QStringLiteral("2006"));
        m_f->clickRow(0);
        QCOMPARE(m_f->page().loadedId(), first);
        // Unchanged fields: the arrow keys move freely.
        QTest::keyClick(m_f->list(), Qt::Key_Down);
        QCOMPARE(m_f->page().loadedId(), second);
        QTest::keyClick(m_f->list(), Qt::Key_Up);
        QCOMPARE(m_f->page().loadedId(), first);
        QVERIFY(dialogs().take().isEmpty());

        field<QLineEdit>("prizeEdit")->setText(QStringLiteral("奖杯"));
        m_f->clickRow(0); // the honour shown: nothing to ask, nothing replaced
        QVERIFY(dialogs().take().isEmpty());
        QCOMPARE(field<QLineEdit>("prizeEdit")->text(), QStringLiteral("奖杯"));
        dialogs().answerConfirm(false);
        QTest::keyClick(m_f->list(), Qt::Key_Down);
        QCOMPARE(dialogs().take(),
                 QStringList{QStringLiteral("荣誉“三好学生”的修改还没有保存。要放弃这些修改，显示另一项荣誉吗？")});
        QCOMPARE(m_f->page().loadedId(), first);
        QCOMPARE(field<QLineEdit>("prizeEdit")->text(), QStringLiteral("奖杯"));
        QCOMPARE(m_f->list()->currentIndex().row(), 0);
        dialogs().answerConfirm(false);
        m_f->clickRow(1);
        QCOMPARE(dialogs().take().size(), 1);
        QCOMPARE(m_f->page().loadedId(), first);
        QCOMPARE(field<QLineEdit>("prizeEdit")->text(), QStringLiteral("奖杯"));

        // Saved, the fields move on unasked; given up, the other honour is shown.
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料，谢谢!")});
        QCOMPARE(m_f->column(QStringLiteral("connect"), first), QStringLiteral("奖杯"));
        m_f->clickRow(0);
        field<QLineEdit>("bodyEdit")->setText(QStringLiteral("不要了"));
        dialogs().answerConfirm(true);
        QTest::keyClick(m_f->list(), Qt::Key_Down);
        QCOMPARE(dialogs().take().size(), 1);
        QCOMPARE(m_f->page().loadedId(), second);
        QCOMPARE(field<QLineEdit>("nameEdit")->text(), QStringLiteral("游泳"));
        QCOMPARE(m_f->column(QStringLiteral("jigou"), first), QStringLiteral("幼儿园"));
    }

    void attachmentsGoWithoutAQuestionAndTheRowFollows()
    {
        m_f->storeFile(QStringLiteral("a.jpg"));
        m_f->storeFile(QStringLiteral("b.jpg"));
        const qint64 id =
            addHonour(QStringLiteral("三好学生"), QStringLiteral("2006\\06\\01"), QStringLiteral(" a.jpg b.jpg"));
        m_f->show();
        QVERIFY(m_f->click("deleteMediaButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("请选择要删除的项目")});
        search(QStringLiteral("2006"));
        m_f->clickRow(0);
        field<QTableWidget>("attachmentList")->selectRow(1);
        QVERIFY(m_f->click("deleteMediaButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功删除")});
        QCOMPARE(m_f->column(QStringLiteral("music"), id), QStringLiteral(" a.jpg"));
        QVERIFY(m_f->stored(QStringLiteral("a.jpg")) && !m_f->stored(QStringLiteral("b.jpg")));
        // The remaining attachment stays listed, so saving keeps it named.
        field<QLineEdit>("prizeEdit")->setText(QStringLiteral("奖杯"));
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(m_f->column(QStringLiteral("music"), id), QStringLiteral(" a.jpg"));
    }
};

QTEST_MAIN(TestHonoursPage)
#include "tst_honourspage.moc"

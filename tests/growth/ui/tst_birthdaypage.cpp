#include "growth/ui/BirthdayPage.h"
#include "media/ui/MediaGroup.h"
#include "tests/support/GrowthPageFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

// The birthday page, clicked as a user would, with the dialogs scripted.
class TestBirthdayPage : public QObject
{
    Q_OBJECT

private:
    using Row = BirthdayLists::Row;

    std::unique_ptr<GrowthPageFixture<BirthdayPage>> m_f;

    TestDatabase& db() { return m_f->db(); }
    ScriptedDialogs& dialogs() { return m_f->dialogs(); }
    template <typename T> T* field(const char* name) { return m_f->field<T>(name); }

    qint64 addBirthday(const QString& year, const QString& description, const QString& presents = {},
                       const QString& greetings = {}, const QString& music = {})
    {
        db().exec(QStringLiteral("INSERT INTO shengri (riqi, connect, liuyan, songli, music) VALUES (?, ?, ?, ?, ?)"),
                  {QString(year + QStringLiteral("年")), description, greetings, presents, music});
        return db().scalar(QStringLiteral("SELECT max(id) FROM shengri")).toLongLong();
    }
    void chooseYear(const QString& year) { m_f->choose("yearCombo", year); }
    void search(const QString& year)
    {
        chooseYear(year);
        QVERIFY(m_f->click("searchButton"));
    }
    void addPresent(const QString& giver, const QString& present)
    {
        field<QLineEdit>("presentEdit")->setText(present);
        field<QLineEdit>("giverEdit")->setText(giver);
        QVERIFY(m_f->click("addPresentButton"));
    }
    void addGreeting(const QString& author, const QString& greeting)
    {
        field<QPlainTextEdit>("greetingEdit")->setPlainText(greeting);
        field<QLineEdit>("authorEdit")->setText(author);
        QVERIFY(m_f->click("addGreetingButton"));
    }
    void clickList(const char* name, int row)
    {
        auto* list = field<QTableWidget>(name);
        const QPoint at = row < list->rowCount() ? list->visualRect(list->model()->index(row, 1)).center()
                                                 : QPoint(10, list->viewport()->height() - 5);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void init() { m_f = std::make_unique<GrowthPageFixture<BirthdayPage>>(QStringLiteral("shengri")); }
    void cleanup() { m_f.reset(); }

    void searchShowsTheNewestRecordOfTheYear()
    {
        addBirthday(QStringLiteral("2026"), QStringLiteral("先记的"));
        addBirthday(QStringLiteral("2026"), QStringLiteral("后记的"), QStringLiteral("爸爸|自行车=姥姥|绘本="),
                    QStringLiteral("妈妈|生日快乐="));
        addBirthday(QStringLiteral("2001"), QStringLiteral("很早的生日"));
        m_f->show();
        auto* years = field<QComboBox>("yearCombo");
        QCOMPARE(years->itemText(0), QStringLiteral("2000"));
        QCOMPARE(years->itemText(years->count() - 1), QStringLiteral("2027"));

        QVERIFY(m_f->click("searchButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("请输入生日的年份，谢谢！")});
        search(QStringLiteral("2026"));
        QCOMPARE(field<QPlainTextEdit>("descriptionEdit")->toPlainText(), QStringLiteral("后记的"));
        QCOMPARE(m_f->page().presents(), (QList<Row>{{QStringLiteral("爸爸"), QStringLiteral("自行车")},
                                                     {QStringLiteral("姥姥"), QStringLiteral("绘本")}}));
        QCOMPARE(m_f->page().greetings(), (QList<Row>{{QStringLiteral("妈妈"), QStringLiteral("生日快乐")}}));
        // Records of years the old lists never offered are reached.
        search(QStringLiteral("2001"));
        QCOMPARE(field<QPlainTextEdit>("descriptionEdit")->toPlainText(), QStringLiteral("很早的生日"));
        QVERIFY(m_f->page().presents().isEmpty());
        search(QStringLiteral("2010"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("还没有记录")});
        QVERIFY(field<QPlainTextEdit>("descriptionEdit")->toPlainText().isEmpty());
    }

    void presentsAndGreetingsAreCheckedListedAndShownWhole()
    {
        m_f->show();
        QVERIFY(m_f->click("addPresentButton"));
        field<QLineEdit>("presentEdit")->setText(QStringLiteral("自行车"));
        QVERIFY(m_f->click("addPresentButton"));
        QVERIFY(m_f->click("addGreetingButton"));
        field<QPlainTextEdit>("greetingEdit")->setPlainText(QStringLiteral("快乐"));
        QVERIFY(m_f->click("addGreetingButton"));
        QCOMPARE(dialogs().take(),
                 (QStringList{QStringLiteral("请输入礼物内容，谢谢！"), QStringLiteral("请输入送礼人姓名，谢谢！"),
                              QStringLiteral("请输入留言内容，谢谢！"), QStringLiteral("请输入留言人姓名，谢谢！")}));
        QVERIFY(m_f->page().presents().isEmpty() && m_f->page().greetings().isEmpty());

        addPresent(QStringLiteral("爸爸"), QStringLiteral("自行车"));
        addPresent(QStringLiteral("姥姥"), QStringLiteral("绘本"));
        // A new present goes on top, and the fields are emptied for the next.
        QCOMPARE(m_f->page().presents(), (QList<Row>{{QStringLiteral("姥姥"), QStringLiteral("绘本")},
                                                     {QStringLiteral("爸爸"), QStringLiteral("自行车")}}));
        QVERIFY(field<QLineEdit>("giverEdit")->text().isEmpty());

        clickList("greetingList", 0);
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("表格中还没有记录")});
        const QString longGreeting = QString(400, QChar(0x4E50));
        addGreeting(QStringLiteral("妈妈"), longGreeting);
        clickList("greetingList", 0);
        QCOMPARE(dialogs().take(), QStringList{longGreeting});

        QVERIFY(m_f->click("deletePresentButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("请选择要删除的项，谢谢！")});
        clickList("presentList", 1);
        dialogs().take();
        QVERIFY(m_f->click("deletePresentButton"));
        QCOMPARE(m_f->page().presents(), (QList<Row>{{QStringLiteral("姥姥"), QStringLiteral("绘本")}}));
        QVERIFY(m_f->click("deletePresentButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("请选择要删除的项，谢谢！")});
    }

    void savedListsReadBackExactlyAsTyped()
    {
        m_f->show();
        QVERIFY(m_f->click("saveButton"));
        chooseYear(QStringLiteral("2026"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take(),
                 (QStringList{QStringLiteral("请输入生日的年份，谢谢！"), QStringLiteral("请输入生日的描述，谢谢！")}));
        QCOMPARE(db().count(QStringLiteral("shengri")), 0);

        const QList<Row> presents{{QStringLiteral("小|明"), QStringLiteral("积木=拼图")},
                                  {QStringLiteral("舅舅\\"), QStringLiteral("C:\\照片|=")}};
        for (auto it = presents.crbegin(); it != presents.crend(); ++it)
            addPresent(it->who, it->what);
        for (int i = 0; i < 100; ++i)
            addGreeting(QStringLiteral("亲友%1").arg(99 - i), QString(300, QChar(0x798F)));
        field<QPlainTextEdit>("descriptionEdit")->setPlainText(QStringLiteral("六岁生日"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功添加资料，谢谢!")});
        QCOMPARE(db().count(QStringLiteral("shengri"), QStringLiteral("riqi='2026年'")), 1);
        // Saving empties the page, the year included.
        QVERIFY(m_f->page().presents().isEmpty());
        QCOMPARE(field<QComboBox>("yearCombo")->currentIndex(), -1);

        search(QStringLiteral("2026"));
        QCOMPARE(m_f->page().presents(), presents);
        QCOMPARE(m_f->page().greetings().size(), 100);
        QCOMPARE(m_f->page().greetings().first(), (Row{QStringLiteral("亲友0"), QString(300, QChar(0x798F))}));
    }

    void modifyingAYearWithoutARecordChangesNothing()
    {
        m_f->show();
        chooseYear(QStringLiteral("2025"));
        field<QPlainTextEdit>("descriptionEdit")->setPlainText(QStringLiteral("五岁生日"));
        addPresent(QStringLiteral("爸爸"), QStringLiteral("滑板车"));
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral(
                                       "2025年还没有生日记录，没有可以修改的内容。请按“保 存”添加这一年的记录。")});
        QCOMPARE(db().count(QStringLiteral("shengri")), 0);
        QCOMPARE(field<QPlainTextEdit>("descriptionEdit")->toPlainText(), QStringLiteral("五岁生日"));
        QCOMPARE(m_f->page().presents().size(), 1);
        // "保 存" then adds the year's record.
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功添加资料，谢谢!")});
        QCOMPARE(db().count(QStringLiteral("shengri"), QStringLiteral("riqi='2025年'")), 1);
    }

    void modifyingSavesIntoTheRecordShownAndStaysInThatMode()
    {
        const qint64 older = addBirthday(QStringLiteral("2026"), QStringLiteral("先记的"));
        const qint64 newer =
            addBirthday(QStringLiteral("2026"), QStringLiteral("后记的"), QStringLiteral("爸爸|自行车="));
        m_f->show();
        search(QStringLiteral("2026"));
        addPresent(QStringLiteral("姥姥"), QStringLiteral("绘本"));
        field<QPlainTextEdit>("descriptionEdit")->setPlainText(QStringLiteral("改过的"));
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料,谢谢!")});
        QCOMPARE(m_f->column(QStringLiteral("connect"), newer), QStringLiteral("改过的"));
        QCOMPARE(m_f->column(QStringLiteral("songli"), newer), QStringLiteral("姥姥|绘本=爸爸|自行车="));
        QCOMPARE(m_f->column(QStringLiteral("connect"), older), QStringLiteral("先记的"));
        QCOMPARE(db().count(QStringLiteral("shengri")), 2);

        // The page is empty again: a year with a record is neither changed unseen nor doubled,
        // by 保 存 or by 修 改, and what was typed stays.
        chooseYear(QStringLiteral("2026"));
        field<QPlainTextEdit>("descriptionEdit")->setPlainText(QStringLiteral("再改一次"));
        addPresent(QStringLiteral("舅舅"), QStringLiteral("风筝"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("2026年已经有生日记录了，这次没有保存。要修改它，请先按"
                                                              "“搜索”显示这一年的记录，改好后再按“修 改”。")});
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("页面上没有显示2026年的生日记录，没有修改任何内容。请先"
                                                              "按“搜索”显示这一年的记录，改好后再按“修 改”。")});
        QCOMPARE(m_f->column(QStringLiteral("connect"), newer), QStringLiteral("改过的"));
        QCOMPARE(m_f->column(QStringLiteral("songli"), newer), QStringLiteral("姥姥|绘本=爸爸|自行车="));
        QCOMPARE(db().count(QStringLiteral("shengri")), 2);
        QCOMPARE(field<QPlainTextEdit>("descriptionEdit")->toPlainText(), QStringLiteral("再改一次"));
        QCOMPARE(m_f->page().presents().size(), 1);
    }

    // 修 改 once, then another year with a record chosen without 搜索: 保 存 leaves that record
    // as it was, its presents, greetings and attachments included.
    void aYearNotShownIsNeverOverwritten()
    {
        m_f->storeFile(QStringLiteral("cake.jpg"));
        const qint64 earlier =
            addBirthday(QStringLiteral("2025"), QStringLiteral("五岁"), QStringLiteral("爸爸|自行车="),
                        QStringLiteral("奶奶|生日快乐="), QStringLiteral(" cake.jpg"));
        const qint64 shown = addBirthday(QStringLiteral("2026"), QStringLiteral("六岁"));
        m_f->show();
        search(QStringLiteral("2026"));
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料,谢谢!")});
        chooseYear(QStringLiteral("2025"));
        field<QPlainTextEdit>("descriptionEdit")->setPlainText(QStringLiteral("不该写进去的"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take().size(), 1);
        QCOMPARE(m_f->column(QStringLiteral("connect"), earlier), QStringLiteral("五岁"));
        QCOMPARE(m_f->column(QStringLiteral("songli"), earlier), QStringLiteral("爸爸|自行车="));
        QCOMPARE(m_f->column(QStringLiteral("liuyan"), earlier), QStringLiteral("奶奶|生日快乐="));
        QCOMPARE(m_f->column(QStringLiteral("music"), earlier), QStringLiteral(" cake.jpg"));
        QCOMPARE(m_f->column(QStringLiteral("connect"), shown), QStringLiteral("六岁"));
        QCOMPARE(db().count(QStringLiteral("shengri")), 2);
        QVERIFY(m_f->stored(QStringLiteral("cake.jpg")));
        // A year without a record is added by 保 存.
        chooseYear(QStringLiteral("2024"));
        field<QPlainTextEdit>("descriptionEdit")->setPlainText(QStringLiteral("四岁"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功添加资料，谢谢!")});
        QCOMPARE(db().count(QStringLiteral("shengri"), QStringLiteral("riqi='2024年'")), 1);
    }

    void onlyTheShownRecordIsGuardedAgainstChangesMeanwhile()
    {
        const qint64 id = addBirthday(QStringLiteral("2026"), QStringLiteral("先记的"));
        const qint64 earlier = addBirthday(QStringLiteral("2025"), QStringLiteral("五岁"));
        m_f->show();
        search(QStringLiteral("2026"));
        db().exec(QStringLiteral("UPDATE shengri SET connect='别处改的' WHERE id=?"), {id});
        field<QPlainTextEdit>("descriptionEdit")->setPlainText(QStringLiteral("这里改的"));
        QVERIFY(m_f->click("modifyButton"));
        const QStringList said = dialogs().take();
        QCOMPARE(said.size(), 1);
        QVERIFY2(
            said.first().contains(QStringLiteral("生日描述：\n    现在保存的：“别处改的”\n    您填写的：“这里改的”")),
            qPrintable(said.first()));
        QCOMPARE(m_f->column(QStringLiteral("connect"), id), QStringLiteral("别处改的"));
        QCOMPARE(field<QPlainTextEdit>("descriptionEdit")->toPlainText(), QStringLiteral("这里改的"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料,谢谢!")});
        QCOMPARE(m_f->column(QStringLiteral("connect"), id), QStringLiteral("这里改的"));

        QCOMPARE(m_f->column(QStringLiteral("connect"), earlier), QStringLiteral("五岁"));
    }

    // A file added and then left by choosing another year before saving leaves no copy behind.
    void changingTheYearBeforeSavingLeavesNoCopy()
    {
        m_f->show();
        chooseYear(QStringLiteral("2025"));
        m_f->attach(QStringLiteral("cake.jpg"), "cake");
        QVERIFY(m_f->stored(QStringLiteral("cake.jpg")));
        chooseYear(QStringLiteral("2026"));
        QVERIFY(!m_f->stored(QStringLiteral("cake.jpg")));
        QCOMPARE(field<QTableWidget>("attachmentList")->rowCount(), 0);
    }

    void deletingTheShownRecordKeepsFilesOtherRowsName()
    {
        m_f->storeFile(QStringLiteral("cake.jpg"));
        m_f->storeFile(QStringLiteral("party.avi"));
        addBirthday(QStringLiteral("2026"), QStringLiteral("先记的"));
        addBirthday(QStringLiteral("2026"), QStringLiteral("后记的"), {}, {}, QStringLiteral(" cake.jpg party.avi"));
        db().exec(QStringLiteral(
            "INSERT INTO chengzhang (riqi, biaoti, music) VALUES ('2026\\05\\01', '蛋糕', ' cake.jpg')"));
        m_f->show();
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton")); // no year: nothing happens
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("确定要删除吗？")});
        QCOMPARE(db().count(QStringLiteral("shengri")), 2);

        // A year whose record is not on the page: the question says so, and a No keeps it.
        chooseYear(QStringLiteral("2026"));
        dialogs().answerConfirm(false);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take(),
                 QStringList{QStringLiteral("页面上没有显示2026年的生日记录。确定要删除这一年的生日记录吗？")});
        QCOMPARE(db().count(QStringLiteral("shengri")), 2);

        search(QStringLiteral("2026"));
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take(),
                 (QStringList{QStringLiteral("确定要删除2026年的生日记录吗？"), QStringLiteral("删除成功")}));
        QCOMPARE(db().count(QStringLiteral("shengri")), 1);
        QCOMPARE(db().scalar(QStringLiteral("SELECT connect FROM shengri")).toString(), QStringLiteral("先记的"));
        QVERIFY(m_f->stored(QStringLiteral("cake.jpg")));
        QVERIFY(!m_f->stored(QStringLiteral("party.avi")));
        // The description stays on the page; the attachments are gone.
        QCOMPARE(field<QPlainTextEdit>("descriptionEdit")->toPlainText(), QStringLiteral("后记的"));
        QCOMPARE(field<QTableWidget>("attachmentList")->rowCount(), 0);
    }
};

QTEST_MAIN(TestBirthdayPage)
#include "tst_birthdaypage.moc"

#include "growth/ui/DiaryPage.h"
#include "media/ui/MediaGroup.h"
#include "tests/support/GrowthPageFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCursor>

// The growth diary, clicked as a user would, with the dialogs and the file chooser scripted.
class TestDiaryPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GrowthPageFixture<DiaryPage>> m_f;

    TestDatabase& db() { return m_f->db(); }
    ScriptedDialogs& dialogs() { return m_f->dialogs(); }
    template <typename T> T* field(const char* name) { return m_f->field<T>(name); }

    qint64 addEntry(const QString& date, const QString& title, const QString& keyword = QStringLiteral("日常"),
                    const QString& music = {}, const QString& content = QStringLiteral("今天很开心"))
    {
        db().exec(QStringLiteral("INSERT INTO chengzhang (riqi, tianqi, [key], biaoti, content, music) "
                                 "VALUES (?, '晴', ?, ?, ?, ?)"),
                  {date, keyword, title, content, music});
        return db().scalar(QStringLiteral("SELECT max(id) FROM chengzhang")).toLongLong();
    }
    // Searches with the given criteria; an empty one is left unchosen.
    QStringList search(const QString& year, const QString& month, const QString& day, const QString& title = {},
                       const QString& keyword = {})
    {
        m_f->choose("yearCombo", year);
        m_f->choose("monthCombo", month);
        m_f->choose("dayCombo", day);
        field<QLineEdit>("searchTitleEdit")->setText(title);
        field<QLineEdit>("searchKeywordEdit")->setText(keyword);
        Gui::click(&m_f->page(), QStringLiteral("searchButton"));
        return m_f->listed(2);
    }
    void load(int row)
    {
        auto* list = field<QTableView>("recordList");
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    void fill(const QString& title, const QString& weather, const QString& keyword, const QString& content)
    {
        field<QLineEdit>("titleEdit")->setText(title);
        field<QLineEdit>("weatherEdit")->setText(weather);
        field<QLineEdit>("keywordEdit")->setText(keyword);
        field<QPlainTextEdit>("contentEdit")->setPlainText(content);
    }
    QStringList attachments() { return m_f->attachments(); }
    void attach(const QString& name, const QByteArray& content) { m_f->attach(name, content); }

private slots:
    void init() { m_f = std::make_unique<GrowthPageFixture<DiaryPage>>(QStringLiteral("chengzhang")); }
    void cleanup() { m_f.reset(); }

    void startsReadyToAddWithYearsUpToNextYear()
    {
        m_f->show();
        QVERIFY(m_f->enabled("saveButton") && m_f->enabled("undoButton"));
        QVERIFY(!m_f->enabled("modifyButton") && !m_f->enabled("deleteButton"));
        QVERIFY(!m_f->page().findChild<QPushButton*>(QStringLiteral("addButton")));
        // The text takes 5000 characters, as the title takes 20.
        field<QPlainTextEdit>("contentEdit")->setPlainText(QString(5003, QChar(0x5B57)));
        QCOMPARE(field<QPlainTextEdit>("contentEdit")->toPlainText().size(), 5000);
        QCOMPARE(field<QLineEdit>("titleEdit")->maxLength(), 20);
        auto* years = field<QComboBox>("yearCombo");
        // An empty entry first, so a chosen year can be taken back; then 2000 to the clock's year + 1.
        QCOMPARE(years->itemText(0), QString());
        QCOMPARE(years->itemText(1), QStringLiteral("2000"));
        QCOMPARE(years->itemText(years->count() - 1), QStringLiteral("2027"));
        QCOMPARE(years->currentIndex(), -1);
        QCOMPARE(field<QComboBox>("dayCombo")->itemText(7), QStringLiteral("07"));
        auto* model = field<QTableView>("recordList")->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("日期"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("标题"));
    }

    void searchNeedsACriterionAndSaysWhenNothingIsFound()
    {
        addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"));
        m_f->show();
        QVERIFY(search({}, {}, {}).isEmpty());
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("至少输入一个条件")});
        QVERIFY(search({}, {}, {}, QStringLiteral("跳舞")).isEmpty());
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("未检索到符合条件的记录")});
        QCOMPARE(search({}, {}, {}, QStringLiteral("游泳")), QStringList{QStringLiteral("游泳")});
        QVERIFY(dialogs().take().isEmpty());
        QCOMPARE(m_f->listed(0), QStringList{QStringLiteral("2006\\05\\07")});
        QCOMPARE(m_f->listed(1), QStringList{QStringLiteral("晴")});
    }

    void searchByEachCriterionAndTheirCombinations()
    {
        addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"), QStringLiteral("运动"));
        addEntry(QStringLiteral("2006\\07\\15"), QStringLiteral("画画"), QStringLiteral("艺术"));
        addEntry(QStringLiteral("2007\\03\\01"), QStringLiteral("游泳比赛"), QStringLiteral("运动"));
        addEntry(QStringLiteral("2025\\12\\07"), QStringLiteral("100%完成"), QStringLiteral("a_b"));
        addEntry(QStringLiteral("2025\\12\\08"), QStringLiteral("100分"), QStringLiteral("axb"));
        m_f->show();
        const QString none;
        QCOMPARE(search(QStringLiteral("2006"), none, none),
                 (QStringList{QStringLiteral("游泳"), QStringLiteral("画画")}));
        QCOMPARE(search(none, QStringLiteral("07"), none), QStringList{QStringLiteral("画画")});
        // Day 07 finds the seventh of any month, never July or 2007.
        QCOMPARE(search(none, none, QStringLiteral("07")),
                 (QStringList{QStringLiteral("游泳"), QStringLiteral("100%完成")}));
        QCOMPARE(search(none, none, none, QStringLiteral("游泳")),
                 (QStringList{QStringLiteral("游泳"), QStringLiteral("游泳比赛")}));
        QCOMPARE(search(none, none, none, none, QStringLiteral("运动")),
                 (QStringList{QStringLiteral("游泳"), QStringLiteral("游泳比赛")}));
        QCOMPARE(search(QStringLiteral("2007"), none, none, QStringLiteral("游泳")),
                 QStringList{QStringLiteral("游泳比赛")});
        QCOMPARE(search(QStringLiteral("2006"), QStringLiteral("05"), QStringLiteral("07"), QStringLiteral("游"),
                        QStringLiteral("运")),
                 QStringList{QStringLiteral("游泳")});
        QCOMPARE(search(none, QStringLiteral("12"), none, QStringLiteral("%")),
                 QStringList{QStringLiteral("100%完成")});
        QCOMPARE(search(none, none, none, none, QStringLiteral("_")), QStringList{QStringLiteral("100%完成")});
        QVERIFY(dialogs().take().isEmpty());
        // The empty entry takes a chosen year back.
        QCOMPARE(search(none, QStringLiteral("03"), none).size(), 1);
        QCOMPARE(field<QComboBox>("yearCombo")->currentText(), QString());
    }

    void savingChecksTheFieldsInOrderThenAddsTodaysEntry()
    {
        m_f->show();
        struct Step
        {
            QString title, weather, keyword, content, expected;
        };
        const QList<Step> steps{
            {{}, {}, {}, {}, QStringLiteral("请输入成长日记的标题，谢谢！")},
            {QStringLiteral("学游泳"), {}, {}, {}, QStringLiteral("请输入成长日记的天气，谢谢！")},
            {QStringLiteral("学游泳"), QStringLiteral("晴"), {}, {}, QStringLiteral("请输入成长日记的关键字，谢谢！")},
            {QStringLiteral("学游泳"), QStringLiteral("晴"), QStringLiteral("运动"), QStringLiteral("  "),
             QStringLiteral("请输入成长日记的内容，谢谢！")},
        };
        for (const Step& step : steps) {
            fill(step.title, step.weather, step.keyword, step.content);
            QVERIFY(m_f->click("saveButton"));
            QCOMPARE(dialogs().take(), QStringList{step.expected});
            QCOMPARE(db().count(QStringLiteral("chengzhang")), 0);
        }

        // A file attached before saving is named in the new entry.
        m_f->field<QComboBox>("mediaTypeCombo")->setCurrentIndex(1);
        const QString photo = m_f->mediaFolder().chosen() + QStringLiteral("/pool.jpg");
        QVERIFY(TestMedia::write(photo, "picture"));
        dialogs().answerFiles({photo});
        QVERIFY(m_f->click("browseButton"));
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("addMediaButton"));
        dialogs().take();

        fill(QStringLiteral("学游泳"), QStringLiteral("晴"), QStringLiteral("运动"), QStringLiteral("第一次下水"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功添加资料，谢谢!")});
        QCOMPARE(db().count(QStringLiteral("chengzhang"), QStringLiteral("riqi=? AND biaoti=? AND music=?"),
                            {QStringLiteral("2026\\12\\07"), QStringLiteral("学游泳"), QStringLiteral(" pool.jpg")}),
                 1);
        QVERIFY(field<QLineEdit>("titleEdit")->text().isEmpty());
        QVERIFY(field<QPlainTextEdit>("contentEdit")->toPlainText().isEmpty());
        QVERIFY(attachments().isEmpty());
        QCOMPARE(m_f->page().mediaGroup()->rowCounter(), 0);
    }

    void loadingShowsTheEntryWithItsAttachments()
    {
        m_f->storeFile(QStringLiteral("a.jpg"));
        addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"), QStringLiteral("运动"),
                 QStringLiteral(" a.jpg song.mp3"), QStringLiteral("第一次下水"));
        m_f->show();
        search(QStringLiteral("2006"), {}, {});
        load(0);
        QCOMPARE(field<QLineEdit>("titleEdit")->text(), QStringLiteral("游泳"));
        QCOMPARE(field<QLineEdit>("weatherEdit")->text(), QStringLiteral("晴"));
        QCOMPARE(field<QLineEdit>("keywordEdit")->text(), QStringLiteral("运动"));
        QCOMPARE(field<QPlainTextEdit>("contentEdit")->toPlainText(), QStringLiteral("第一次下水"));
        QCOMPARE(attachments(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("song.mp3")}));
        QCOMPARE(field<QTableWidget>("attachmentList")->item(1, 0)->text(), QStringLiteral("音频文件"));
        QVERIFY(m_f->enabled("modifyButton") && m_f->enabled("deleteButton") && !m_f->enabled("saveButton"));
        QVERIFY(dialogs().take().isEmpty());

        // 撤 消 leaves an empty page that adds.
        QVERIFY(m_f->click("undoButton"));
        QVERIFY(field<QLineEdit>("titleEdit")->text().isEmpty() && attachments().isEmpty() && m_f->listed().isEmpty());
        QVERIFY(m_f->enabled("saveButton") && !m_f->enabled("modifyButton") && !m_f->enabled("deleteButton"));
        QVERIFY(!m_f->page().isModifying());
    }

    void entriesOfTheSameDayAndTitleAreChangedAndDeletedSeparately()
    {
        m_f->storeFile(QStringLiteral("shared.jpg"));
        m_f->storeFile(QStringLiteral("first.jpg"));
        const QString day = QStringLiteral("2026\\12\\01");
        const qint64 first = addEntry(day, QStringLiteral("公园"), QStringLiteral("玩"),
                                      QStringLiteral(" shared.jpg first.jpg"), QStringLiteral("上午"));
        const qint64 second = addEntry(day, QStringLiteral("公园"), QStringLiteral("玩"), QStringLiteral(" shared.jpg"),
                                       QStringLiteral("下午"));
        m_f->show();
        QCOMPARE(search({}, {}, {}, QStringLiteral("公园")).size(), 2);

        load(1);
        QCOMPARE(field<QPlainTextEdit>("contentEdit")->toPlainText(), QStringLiteral("下午"));
        field<QPlainTextEdit>("contentEdit")->setPlainText(QStringLiteral("下午去划船"));
        field<QLineEdit>("weatherEdit")->setText(QStringLiteral("多云"));
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料，谢谢!")});
        QCOMPARE(m_f->column(QStringLiteral("content"), second), QStringLiteral("下午去划船"));
        QCOMPARE(m_f->column(QStringLiteral("riqi"), second), day); // the date never changes
        QCOMPARE(m_f->column(QStringLiteral("content"), first), QStringLiteral("上午"));
        QCOMPARE(m_f->listed(1), (QStringList{QStringLiteral("晴"), QStringLiteral("多云")}));
        // The page stays on the entry: the fields keep their texts and saving again changes it.
        QVERIFY(!m_f->enabled("saveButton"));
        field<QLineEdit>("keywordEdit")->setText(QStringLiteral("划船"));
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(m_f->column(QStringLiteral("key"), second), QStringLiteral("划船"));
        QCOMPARE(m_f->column(QStringLiteral("key"), first), QStringLiteral("玩"));
        dialogs().take();

        // Deleting the first keeps the second and the file both name.
        load(0);
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(db().count(QStringLiteral("chengzhang")), 1);
        QCOMPARE(db().count(QStringLiteral("chengzhang"), QStringLiteral("id=?"), {second}), 1);
        QVERIFY(m_f->stored(QStringLiteral("shared.jpg")));
        QVERIFY(!m_f->stored(QStringLiteral("first.jpg")));
        // The search ran again with the criteria still standing.
        QCOMPARE(m_f->listed(2), QStringList{QStringLiteral("公园")});
        QVERIFY(field<QLineEdit>("titleEdit")->text().isEmpty());
        QVERIFY(attachments().isEmpty());
        QVERIFY(m_f->enabled("saveButton") && m_f->enabled("deleteButton"));

        // The last entry that names it takes the file with it.
        load(0);
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(db().count(QStringLiteral("chengzhang")), 0);
        QVERIFY(!m_f->stored(QStringLiteral("shared.jpg")));
    }

    void deleteAsksAndNeedsAMarkedHit()
    {
        addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"));
        m_f->show();
        search(QStringLiteral("2006"), {}, {});
        load(0);
        dialogs().answerConfirm(false);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("确定要删除2006\\05\\07的日记“游泳”吗？")});
        QCOMPARE(db().count(QStringLiteral("chengzhang")), 1);

        // After a deletion the search runs again; with no hit marked there is nothing to delete.
        addEntry(QStringLiteral("2006\\05\\08"), QStringLiteral("跑步"));
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(db().count(QStringLiteral("chengzhang")), 1);
        QCOMPARE(m_f->listed(2), QStringList{QStringLiteral("跑步")});
        dialogs().take();
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take(), (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("请选择记录")}));
        QCOMPARE(db().count(QStringLiteral("chengzhang")), 1);
    }

    // 删 除 takes the entry in the fields, not a hit merely clicked since, and names it; with none
    // loaded it takes the clicked hit; a hit that only has the keyboard focus is not chosen.
    void deleteTakesTheEntryShownAndNamesIt()
    {
        m_f->storeFile(QStringLiteral("a.jpg"));
        m_f->storeFile(QStringLiteral("b.jpg"));
        const qint64 a = addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"), {}, QStringLiteral(" a.jpg"));
        const qint64 b = addEntry(QStringLiteral("2006\\05\\08"), QStringLiteral("跑步"), {}, QStringLiteral(" b.jpg"));
        m_f->show();
        QCOMPARE(search(QStringLiteral("2006"), {}, {}), (QStringList{QStringLiteral("游泳"), QStringLiteral("跑步")}));
        load(0);
        m_f->clickRow(1);
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take().value(0), QStringLiteral("确定要删除2006\\05\\07的日记“游泳”吗？"));
        QCOMPARE(db().count(QStringLiteral("chengzhang"), QStringLiteral("id=?"), {a}), 0);
        QCOMPARE(db().count(QStringLiteral("chengzhang"), QStringLiteral("id=?"), {b}), 1);
        QVERIFY(!m_f->stored(QStringLiteral("a.jpg")));
        QVERIFY(m_f->stored(QStringLiteral("b.jpg")));

        // The list refilled: Tab into it marks nothing, so 删 除 deletes nothing.
        QCOMPARE(m_f->listed(2), QStringList{QStringLiteral("跑步")});
        QCOMPARE(m_f->deleteWithOnlyTheFocusInTheList(),
                 (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("请选择记录")}));
        QCOMPARE(db().count(QStringLiteral("chengzhang")), 1);

        // A clicked hit, with nothing loaded, is the one deleted and named.
        m_f->clickRow(0);
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take().value(0), QStringLiteral("确定要删除2006\\05\\08的日记“跑步”吗？"));
        QCOMPARE(db().count(QStringLiteral("chengzhang")), 0);
        QVERIFY(!m_f->stored(QStringLiteral("b.jpg")));
    }

    // Attachments added and then left before saving (another entry loaded, 撤 消) take the copies
    // made for them along; a stored file the page reused stays, and so does every saved row.
    void abandonedAttachmentsLeaveNoCopies()
    {
        m_f->storeFile(QStringLiteral("a.jpg"));
        const qint64 a = addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"), {}, QStringLiteral(" a.jpg"));
        addEntry(QStringLiteral("2006\\05\\08"), QStringLiteral("跑步"));
        m_f->show();
        search(QStringLiteral("2006"), {}, {});
        load(0);
        attach(QStringLiteral("new.jpg"), "new picture");
        QCOMPARE(attachments(), (QStringList{QStringLiteral("new.jpg"), QStringLiteral("a.jpg")}));
        QVERIFY(m_f->stored(QStringLiteral("new.jpg")));
        load(1);
        QVERIFY(!m_f->stored(QStringLiteral("new.jpg")));
        QCOMPARE(m_f->column(QStringLiteral("music"), a), QStringLiteral(" a.jpg"));
        QCOMPARE(db().count(QStringLiteral("unsaved_media")), 0);

        // On the other entry: a.jpg chosen again is the stored file, reused; undone.jpg a copy.
        attach(QStringLiteral("a.jpg"), "picture");
        attach(QStringLiteral("undone.jpg"), "undone");
        QCOMPARE(attachments(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("undone.jpg")}));
        QVERIFY(m_f->click("undoButton"));
        QVERIFY(!m_f->stored(QStringLiteral("undone.jpg")));
        QCOMPARE(m_f->mediaFolder().stored(), QStringList{QStringLiteral("a.jpg")});
        QCOMPARE(m_f->column(QStringLiteral("music"), a), QStringLiteral(" a.jpg"));
    }

    // A stored text longer than its box takes (another program wrote it) is shown and saved
    // whole; typing never makes it longer.
    void longStoredTextsRoundTripWhole()
    {
        const QString content = QString(6000, QChar(0x5B57));
        const QString title = QString(30, QChar(0x9898));
        const qint64 id = addEntry(QStringLiteral("2006\\05\\07"), title, QStringLiteral("日常"), {}, content);
        m_f->show();
        search(QStringLiteral("2006"), {}, {});
        load(0);
        QCOMPARE(field<QPlainTextEdit>("contentEdit")->toPlainText().size(), 6000);
        QCOMPARE(field<QLineEdit>("titleEdit")->text(), title);
        field<QLineEdit>("keywordEdit")->setText(QStringLiteral("长文"));
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料，谢谢!")});
        QCOMPARE(m_f->column(QStringLiteral("content"), id), content);
        QCOMPARE(m_f->column(QStringLiteral("biaoti"), id), title);

        auto* edit = field<QPlainTextEdit>("contentEdit");
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, QStringLiteral("abc"));
        QCOMPARE(edit->toPlainText(), content);
        auto* titleEdit = field<QLineEdit>("titleEdit");
        titleEdit->end(false);
        QTest::keyClick(titleEdit, Qt::Key_Backspace);
        QTest::keyClicks(titleEdit, QStringLiteral("xy"));
        QCOMPARE(titleEdit->text(), title.left(29));
        // An empty box takes the usual limit again.
        titleEdit->selectAll();
        QTest::keyClick(titleEdit, Qt::Key_Delete);
        QTest::keyClicks(titleEdit, QString(25, QLatin1Char('t')));
        QCOMPARE(titleEdit->text().size(), 20);
    }

    void anEntryChangedMeanwhileIsKeptUntilSavedAgain()
    {
        const qint64 id = addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"), QStringLiteral("运动"));
        m_f->show();
        search(QStringLiteral("2006"), {}, {});
        load(0);
        // Another program changes the entry while it is shown here.
        db().exec(QStringLiteral("UPDATE chengzhang SET tianqi='雨' WHERE id=?"), {id});
        field<QLineEdit>("titleEdit")->setText(QStringLiteral("学游泳"));
        QVERIFY(m_f->click("modifyButton"));
        const QStringList said = dialogs().take();
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().contains(QStringLiteral("标题：\n    现在保存的：“游泳”\n    您填写的：“学游泳”")) &&
                     said.first().contains(QStringLiteral("天气：\n    现在保存的：“雨”\n    您填写的：“晴”")),
                 qPrintable(said.first()));
        QCOMPARE(m_f->column(QStringLiteral("biaoti"), id), QStringLiteral("游泳"));
        QCOMPARE(field<QLineEdit>("titleEdit")->text(), QStringLiteral("学游泳"));
        // Saving again replaces what is stored now with what the fields hold.
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料，谢谢!")});
        QCOMPARE(m_f->column(QStringLiteral("biaoti"), id), QStringLiteral("学游泳"));
        QCOMPARE(m_f->column(QStringLiteral("tianqi"), id), QStringLiteral("晴"));
    }

    void anEntryGoneMeanwhileIsReportedAndThePageStays()
    {
        const qint64 id = addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"));
        m_f->show();
        search(QStringLiteral("2006"), {}, {});
        load(0);
        db().exec(QStringLiteral("DELETE FROM chengzhang WHERE id=?"), {id});
        field<QLineEdit>("titleEdit")->setText(QStringLiteral("改过的标题"));

        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("这篇日记已经不存在了，可能已被删除。请重新搜索。")});
        QCOMPARE(db().count(QStringLiteral("chengzhang")), 0);
        QCOMPARE(field<QLineEdit>("titleEdit")->text(), QStringLiteral("改过的标题"));

        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteButton"));
        QCOMPARE(dialogs().take(), (QStringList{QStringLiteral("确定要删除吗？"),
                                                QStringLiteral("这篇日记已经不存在了，可能已被删除。请重新搜索。")}));
        QCOMPARE(m_f->listed(2), QStringList{QStringLiteral("游泳")});
        QCOMPARE(field<QLineEdit>("titleEdit")->text(), QStringLiteral("改过的标题"));
        QVERIFY(m_f->page().isModifying());
    }

    void deletingAnAttachmentOfALoadedEntryRewritesItsRow()
    {
        m_f->storeFile(QStringLiteral("a.jpg"));
        m_f->storeFile(QStringLiteral("b.jpg"));
        const qint64 id = addEntry(QStringLiteral("2006\\05\\07"), QStringLiteral("游泳"), QStringLiteral("运动"),
                                   QStringLiteral(" a.jpg b.jpg"));
        m_f->show();
        search(QStringLiteral("2006"), {}, {});
        load(0);
        field<QTableWidget>("attachmentList")->selectRow(0);
        dialogs().answerConfirm(true);
        QVERIFY(m_f->click("deleteMediaButton"));
        QCOMPARE(dialogs().take(), (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("成功删除")}));
        QCOMPARE(m_f->column(QStringLiteral("music"), id), QStringLiteral(" b.jpg"));
        QVERIFY(!m_f->stored(QStringLiteral("a.jpg")) && m_f->stored(QStringLiteral("b.jpg")));
        QCOMPARE(attachments(), QStringList{QStringLiteral("b.jpg")});
        // The row written by the deletion counts as shown: modifying afterwards is no conflict.
        QVERIFY(m_f->click("modifyButton"));
        QCOMPARE(dialogs().take(), QStringList{QStringLiteral("成功修改资料，谢谢!")});
    }
};

QTEST_MAIN(TestDiaryPage)
#include "tst_diarypage.moc"

#include "tests/support/TestDatabase.h"

#include "data/ArticleQuery.h"
#include "data/Children.h"
#include "data/RecordQuery.h"
#include "data/Records.h"
#include "data/tables/Articles.h"
#include "data/tables/CBNRONG.h"
#include "data/tables/CPPER.h"
#include "data/tables/Categories.h"
#include "data/tables/Cbingli.h"

// The statements the pages run, without any widget: children, measurements, categories,
// articles, and the writes every editing page makes.
class TestStatements : public QObject
{
    Q_OBJECT

private:
    static void measure(TestDatabase& db, const QString& child, const QString& age, int date)
    {
        db.exec(QStringLiteral("INSERT INTO personinfo ([用户名], [年龄], [日期]) VALUES (?, ?, ?)"),
                {child, age, date});
    }

    static QStringList ages(CPPER& records)
    {
        QStringList list;
        for (; !records.isEOF(); records.moveNext())
            list << records.m_age;
        return list;
    }

private slots:
    void childrenAreAddedFoundAndRemovedWithTheirMeasurements()
    {
        TestDatabase db;
        QCOMPARE(*Children::add(QStringLiteral("小明")), Children::Change::Done);
        QCOMPARE(*Children::add(QStringLiteral("小红")), Children::Change::Done);
        QCOMPARE(*Children::add(QStringLiteral("小明")), Children::Change::Exists);
        QCOMPARE(*Children::newestFirst(), (QStringList{QStringLiteral("小红"), QStringLiteral("小明")}));
        QVERIFY(*Children::exists(QStringLiteral("小红")));
        QVERIFY(!*Children::exists(QStringLiteral("小")));

        measure(db, QStringLiteral("小明"), QStringLiteral("3个月"), 20260101);
        measure(db, QStringLiteral("小红"), QStringLiteral("3个月"), 20260101);
        QCOMPARE(*Children::remove(QStringLiteral("小明")), Children::Change::Done);
        QCOMPARE(*Children::remove(QStringLiteral("小明")), Children::Change::Missing);
        QCOMPARE(db.count(QStringLiteral("personinfo")), 1);
        QCOMPARE(*Children::newestFirst(), QStringList{QStringLiteral("小红")});
    }

    void measurementsOfOneChildByDateAndAge()
    {
        TestDatabase db;
        measure(db, QStringLiteral("小明"), QStringLiteral("3个月"), 20260101);
        measure(db, QStringLiteral("小明"), QStringLiteral("6个月"), 20260401);
        measure(db, QStringLiteral("小明"), QStringLiteral("1岁"), 20261001);
        measure(db, QStringLiteral("小红"), QStringLiteral("6个月"), 20260401);

        CPPER records;
        records.setSort(QStringLiteral("[编号] desc"));
        QVERIFY(records.openOfChild(QStringLiteral("小明")).ok());
        QCOMPARE(ages(records), (QStringList{QStringLiteral("1岁"), QStringLiteral("6个月"), QStringLiteral("3个月")}));
        QVERIFY(records.openOfChildBetween(QStringLiteral("小明"), 20260101, 20260401).ok());
        QCOMPARE(ages(records), (QStringList{QStringLiteral("6个月"), QStringLiteral("3个月")}));
        QVERIFY(records.openOfChildAtAge(QStringLiteral("小明"), QStringLiteral("6个月")).ok());
        QCOMPARE(records.rowCount(), 1);
        QVERIFY(records.openColumnsOnly().ok());
        QVERIFY(records.isEOF());
        QCOMPARE(records.columnNames().size(), 12);
    }

    void categoriesAreFoundByExactName()
    {
        TestDatabase db;
        CFleixing categories;
        QVERIFY(categories.openNamed(QStringLiteral("没有这个类型")).ok());
        QVERIFY(categories.isEOF());
        categories.addNew();
        categories.m_name = QStringLiteral("疫苗's");
        QVERIFY(categories.update().ok());
        QVERIFY(categories.openNamed(QStringLiteral("疫苗's")).ok());
        QVERIFY(!categories.isEOF());
    }

    void articleStatementsSelectByTypeTitleAndDate()
    {
        TestDatabase db;
        db.exec(QStringLiteral("DELETE FROM bing"));
        db.exec(QStringLiteral("INSERT INTO bing (leixing, title, connect, time) VALUES "
                               "('呼吸', '感冒', 'a', 20260105), ('呼吸', '咳嗽', 'b', 20260301), "
                               "('皮肤', '湿疹', 'c', 20260201)"));
        const auto count = [](const Statement& statement) {
            Cbingli articles;
            return articles.open(statement) ? int(articles.rowCount()) : -1;
        };
        QCOMPARE(count(ArticleQuery::ofType(QStringLiteral("bing"), QStringLiteral("呼吸"))), 2);
        QCOMPARE(
            count(ArticleQuery::ofTypeWithTitle(QStringLiteral("bing"), QStringLiteral("呼吸"), QStringLiteral("咳"))),
            1);
        QCOMPARE(count(ArticleQuery::withTitle(QStringLiteral("bing"), QStringLiteral("疹"))), 1);
        QCOMPARE(count(ArticleQuery::ofTypeEnteredBetween(QStringLiteral("bing"), QStringLiteral("呼吸"), 20260101,
                                                          20260201)),
                 1);
    }

    void typedWildcardsMatchThemselves()
    {
        TestDatabase db;
        db.exec(QStringLiteral("DELETE FROM bing"));
        for (const char* title : {"50%的孩子", "500克", "a_b", "axb", "c\\d", "cd"})
            db.exec(QStringLiteral("INSERT INTO bing (leixing, title) VALUES ('t', ?)"), {QString::fromUtf8(title)});
        const auto found = [](const QString& keyword) {
            Cbingli articles;
            QStringList titles;
            if (!articles.open(ArticleQuery::withTitle(QStringLiteral("bing"), keyword)))
                return QStringList{QStringLiteral("failed")};
            for (; !articles.isEOF(); articles.moveNext())
                titles << articles.m_title;
            return titles;
        };
        QCOMPARE(found(QStringLiteral("50%")), QStringList{QStringLiteral("50%的孩子")});
        QCOMPARE(found(QStringLiteral("%")), QStringList{QStringLiteral("50%的孩子")});
        QCOMPARE(found(QStringLiteral("_")), QStringList{QStringLiteral("a_b")});
        QCOMPARE(found(QStringLiteral("c\\d")), QStringList{QStringLiteral("c\\d")});
        QCOMPARE(found(QStringLiteral("50")).size(), 2);

        SearchInput input{SearchKind::FullText, QStringLiteral("小明"), {}, QStringLiteral("%"), {}, {}};
        db.exec(QStringLiteral("INSERT INTO bnrong (username, title) VALUES ('小明', '发烧'), ('小明', '100%好了')"));
        CBNRONG records;
        QVERIFY(records.open(*RecordQuery::search(RecordColumns{QStringLiteral("bnrong")}, input)).ok());
        QCOMPARE(records.rowCount(), 1);
        QCOMPARE(records.m_title, QStringLiteral("100%好了"));
    }

    void changeOfAVanishedRowSaysSoAndWritesNothing()
    {
        TestDatabase db;
        CBNRONG records;
        QVERIFY(
            Records::add(records, [](Recordset& r) { static_cast<CBNRONG&>(r).m_title = QStringLiteral("一"); }).ok());
        const qint64 id = records.lastInsertedId();
        const auto retitle = [](Recordset& r) { static_cast<CBNRONG&>(r).m_title = QStringLiteral("二"); };
        QCOMPARE(*Records::change(records, QStringLiteral("id"), id, retitle, QStringLiteral("gone")),
                 Records::ChangeOutcome::Written);
        QCOMPARE(db.scalar(QStringLiteral("SELECT title FROM bnrong WHERE id=?"), {id}).toString(),
                 QStringLiteral("二"));
        const Result gone = Records::change(records, QStringLiteral("id"), id + 1, retitle, QStringLiteral("gone"));
        QCOMPARE(gone.error(), QStringLiteral("gone"));
        QCOMPARE(db.count(QStringLiteral("bnrong")), 1);
    }

    void deletingSeveralRowsIsAllOrNothing()
    {
        TestDatabase db;
        for (int i = 0; i < 3; ++i)
            db.exec(QStringLiteral("INSERT INTO bnrong (title) VALUES ('x')"));
        QVERIFY(Records::deleteByIds(QStringLiteral("bnrong"), QStringLiteral("id"), {1, 3}).ok());
        QCOMPARE(db.count(QStringLiteral("bnrong")), 1);
        // A statement the engine refuses part-way leaves every row in place.
        if (TestDatabase::onServer()) {
            db.exec(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                   "'BEGIN IF old.id = 2 THEN RAISE EXCEPTION ''refused''; END IF; RETURN old; END'"));
            db.exec(
                QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON bnrong FOR EACH ROW EXECUTE FUNCTION refuse()"));
        } else {
            db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON bnrong WHEN old.id = 2 "
                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        }
        db.exec(QStringLiteral("INSERT INTO bnrong (title) VALUES ('y')"));
        QVERIFY(!Records::deleteByIds(QStringLiteral("bnrong"), QStringLiteral("id"), {4, 2}).ok());
        QCOMPARE(db.count(QStringLiteral("bnrong")), 2);
    }

    void failedCommitRollsBackAndLeavesTheConnectionUsable()
    {
        TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO bnrong (title) VALUES ('a'), ('b')"));
        if (TestDatabase::onServer()) {
            // On a server a commit is refused by a check that runs only when the transaction ends.
            db.exec(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                   "'BEGIN RAISE EXCEPTION ''refused at commit''; END'"));
            db.exec(QStringLiteral("CREATE CONSTRAINT TRIGGER refuse AFTER DELETE ON bnrong DEFERRABLE INITIALLY "
                                   "DEFERRED FOR EACH ROW EXECUTE FUNCTION refuse()"));
            const Result r = Records::deleteByIds(QStringLiteral("bnrong"), QStringLiteral("id"), {1});
            QVERIFY(!r.ok());
            QVERIFY2(r.message().contains(QStringLiteral("没有保存")), qPrintable(r.error()));
            QVERIFY2(!r.detail().isEmpty(), "the engine's words follow as detail");
            db.exec(QStringLiteral("DROP TRIGGER refuse ON bnrong"));
        } else {
            // Another client of the file holds a read transaction past the busy timeout.
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
            other.setDatabaseName(db.path());
            other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1"));
            QVERIFY(other.open());
            QSqlQuery read(other);
            QVERIFY(read.exec(QStringLiteral("BEGIN")));
            QVERIFY(read.exec(QStringLiteral("SELECT count(*) FROM bnrong")) && read.next());

            const Result r = Records::deleteByIds(QStringLiteral("bnrong"), QStringLiteral("id"), {1});
            QVERIFY(!r.ok());
            QVERIFY2(r.message().contains(QStringLiteral("没有保存")), qPrintable(r.error()));
            QVERIFY2(!r.detail().isEmpty(), "the engine's words follow as detail");
            read.finish();
            read.exec(QStringLiteral("COMMIT"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("reader"));

        // The connection is out of the failed transaction: the next write lands for good.
        QVERIFY(Records::deleteByIds(QStringLiteral("bnrong"), QStringLiteral("id"), {2}).ok());
        Database::close();
        QVERIFY(db.reopen().ok());
        QCOMPARE(db.count(QStringLiteral("bnrong")), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT title FROM bnrong")).toString(), QStringLiteral("a"));
    }

    void enginesWordsFollowAChineseMessage()
    {
        TestDatabase db;
        CBNRONG records;
        db.exec(QStringLiteral("DROP TABLE bnrong"));
        const Result r = records.open();
        QVERIFY(!r.ok());
        QVERIFY2(r.message().contains(QStringLiteral("缺少")), qPrintable(r.error()));
        QVERIFY(r.detail().contains(TestDatabase::onServer() ? QStringLiteral("does not exist")
                                                             : QStringLiteral("no such table")));
        // A write whose statement cannot be prepared fails instead of doing nothing.
        records.addNew();
        QVERIFY(!records.update().ok());
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"

#include "tests/support/TestDatabase.h"

#include "data/PagedQuery.h"
#include "data/RecordQuery.h"
#include "data/tables/CBNRONG.h"
#include "data/tables/CBUSER.h"
#include "data/tables/CPPER.h"
#include "data/tables/Skins.h"

class TestRecordset : public QObject
{
    Q_OBJECT

private:
    static qint64 addRecord(const QString& user, const QString& category, const QString& title, int date)
    {
        CBNRONG records;
        records.addNew();
        records.m_username = user;
        records.m_leixing = category;
        records.m_title = title;
        records.m_riqi = date;
        const Result r = records.update();
        if (!r)
            qWarning("%s", qPrintable(r.error()));
        return records.lastInsertedId();
    }

private slots:
    void addReadChangeDelete()
    {
        TestDatabase db;
        const qint64 id = addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("夜里咳"), 20261201);
        QVERIFY(id > 0);

        CBNRONG records;
        QVERIFY(records.open(QStringLiteral("select * from bnrong where id=?"), {id}).ok());
        QVERIFY(!records.isEOF());
        QCOMPARE(records.m_id, int(id));
        QCOMPARE(records.m_title, QStringLiteral("夜里咳"));
        QCOMPARE(records.m_riqi, 20261201);
        QCOMPARE(records.m_chufang, QString()); // stored empty, read back empty
        QCOMPARE(records.fieldValue(QStringLiteral("leixing")).toString(), QStringLiteral("咳嗽"));

        QVERIFY(records.edit().ok());
        records.m_riqi = 20261207;
        records.m_zhenduan = QStringLiteral("支气管炎");
        QVERIFY(records.update().ok());
        QCOMPARE(db.scalar(QStringLiteral("SELECT riqi FROM bnrong WHERE id=?"), {id}).toInt(), 20261207);
        QCOMPARE(db.scalar(QStringLiteral("SELECT zhenduan FROM bnrong WHERE id=?"), {id}).toString(),
                 QStringLiteral("支气管炎"));

        QVERIFY(records.requery().ok());
        QVERIFY(records.remove().ok());
        QCOMPARE(db.count(QStringLiteral("bnrong")), 0);
        records.close();
        QVERIFY(records.isEOF());
        QVERIFY(!records.edit().ok());
    }

    void valuesWithQuotesAreStoredAndFound()
    {
        TestDatabase db;
        const QString name = QStringLiteral("O'Brien \"小\"; DROP TABLE user;--");
        CBUSER user;
        user.addNew();
        user.m_username = name;
        QVERIFY(user.update().ok());
        CUs found;
        QVERIFY(found.open(QStringLiteral("select * from user where username=?"), {name}).ok());
        QVERIFY(!found.isEOF());
        QCOMPARE(found.m_username, name);
        QCOMPARE(db.count(QStringLiteral("user")), 1);
    }

    void filterSortAndWalk()
    {
        TestDatabase db;
        for (int i = 1; i <= 5; ++i)
            addRecord(i % 2 ? QStringLiteral("甲") : QStringLiteral("乙"), QStringLiteral("咳嗽"),
                      QStringLiteral("t%1").arg(i), 20260100 + i);
        CBNRONG records;
        records.setFilter(QStringLiteral("username=?"), {QStringLiteral("甲")});
        records.setSort(QStringLiteral("id desc"));
        QVERIFY(records.open(QStringLiteral("select * from bnrong")).ok());
        QStringList titles;
        for (; !records.isEOF(); records.moveNext())
            titles << records.m_title;
        QCOMPARE(titles, (QStringList{QStringLiteral("t5"), QStringLiteral("t3"), QStringLiteral("t1")}));

        // A statement with its own condition gets the filter added to it.
        QVERIFY(records.open(QStringLiteral("select * from bnrong where riqi>=?"), {20260103}).ok());
        QCOMPARE(records.m_title, QStringLiteral("t5"));
        records.setFilter({});
        records.setSort({});
        QVERIFY(records.requery().ok());
        QCOMPARE(records.m_title, QStringLiteral("t3"));
    }

    void columnsBindByPosition()
    {
        TestDatabase db;
        CPPER person;
        person.addNew();
        person.m_username = QStringLiteral("小红");
        person.m_sex = QStringLiteral("女");
        person.m_age = QStringLiteral("2岁");
        person.m_height = 88.75;
        person.m_weight = 12;
        person.m_heartRate = 110;
        person.m_date = 20261207;
        QVERIFY(person.update().ok());
        QVERIFY(person.open().ok());
        QCOMPARE(person.m_height, 88.75);
        QCOMPARE(person.m_heartRate, 110);
        QCOMPARE(person.m_date, 20261207);
        QCOMPARE(person.m_operator, QString());
    }

    void datesRoundTrip()
    {
        TestDatabase db;
        CSKINDATA skins;
        QVERIFY(skins.open(QStringLiteral("select * from skin order by data desc")).ok());
        QVERIFY(!skins.isEOF());
        QVERIFY(skins.m_data.isValid());
        const QDateTime when(QDate(2026, 12, 7), QTime(9, 30, 15));
        QVERIFY(skins.edit().ok());
        skins.m_data = when;
        QVERIFY(skins.update().ok());
        QVERIFY(skins.requery().ok());
        QCOMPARE(skins.m_data, when);
    }

    void rejectedStatementReportsTheEngineText()
    {
        TestDatabase db;
        CBNRONG records;
        const Result r = records.open(QStringLiteral("select * from nosuchtable"));
        QVERIFY(!r.ok());
        QVERIFY2(r.error().contains(QStringLiteral("nosuchtable")), qPrintable(r.error()));
        QVERIFY(records.isEOF());
    }

    void transactionGuardRollsBackUnlessCommitted()
    {
        TestDatabase db;
        {
            TransactionGuard guard;
            QVERIFY(guard.started());
            addRecord(QStringLiteral("甲"), QStringLiteral("咳嗽"), QStringLiteral("x"), 20260101);
        }
        QCOMPARE(db.count(QStringLiteral("bnrong")), 0);
        {
            TransactionGuard guard;
            addRecord(QStringLiteral("甲"), QStringLiteral("咳嗽"), QStringLiteral("x"), 20260101);
            QVERIFY(guard.commit().ok());
        }
        QCOMPARE(db.count(QStringLiteral("bnrong")), 1);
    }

    void textsReadAsTheEngineHoldsThemRowAfterRow()
    {
        if (TestDatabase::onServer())
            QSKIP("A server keeps only well-formed text; the bytes below are a file's matter.");
        TestDatabase db;
        // Well-formed texts of one to four bytes a character, long before short, and bytes that
        // are not well-formed UTF-8 (broken, truncated, overlong, a surrogate, a noncharacter, a
        // byte order mark): each reads as QString::fromUtf8 reads it.
        const QList<QByteArray> stored{QByteArrayLiteral("abc"),
                                       QStringLiteral("夜里咳嗽，体温三十八度五").toUtf8(),
                                       QByteArrayLiteral("a"),
                                       QStringLiteral("宝宝👶é").toUtf8(),
                                       QByteArray(""),
                                       QByteArrayLiteral("\xC3\x28x"),
                                       QByteArrayLiteral("\xE4\xB8"),
                                       QByteArrayLiteral("\xC0\xAF"),
                                       QByteArrayLiteral("\xED\xA0\x80"),
                                       QByteArrayLiteral("\xEF\xBF\xBF"),
                                       QByteArrayLiteral("\xEF\xBB\xBF\xE5\xA4\x9C")};
        QSqlQuery insert(Database::connection());
        QVERIFY(insert.prepare(QStringLiteral(
            "INSERT INTO bnrong (username, leixing, title, riqi) VALUES ('小明', '咳嗽', CAST(? AS TEXT), 1)")));
        for (const QByteArray& bytes : stored) {
            insert.addBindValue(bytes);
            QVERIFY(insert.exec());
        }

        CBNRONG records;
        QVERIFY(records.open(QStringLiteral("select * from bnrong order by id"), {}).ok());
        QList<QString> kept;
        for (const QByteArray& bytes : stored) {
            QVERIFY(!records.isEOF());
            QCOMPARE(records.m_title, QString::fromUtf8(bytes));
            QVERIFY(!records.m_title.isNull());
            // A copy taken from a member keeps its text when the next row is read.
            kept << records.m_title;
            records.moveNext();
        }
        QVERIFY(records.isEOF());
        for (qsizetype i = 0; i < stored.size(); ++i)
            QCOMPARE(kept.at(i), QString::fromUtf8(stored.at(i)));
    }

    void pagedQueryReadsPagesInOrderAndKnowsTheEnd()
    {
        TestDatabase db;
        for (int i = 1; i <= 10; ++i)
            addRecord(QStringLiteral("小明"), QStringLiteral("咳嗽"), QStringLiteral("记录%1").arg(i), 20260100 + i);
        const RecordColumns columns{QStringLiteral("bnrong")};
        Statement newestFirst = RecordQuery::listing(
            columns, RecordQuery::byUserAndCategory(columns, QStringLiteral("小明"), QStringLiteral("咳嗽")));
        newestFirst.sql += QStringLiteral(" ORDER BY id desc");

        // Pages of 4, 4 and 2 rows; of 5 and 5, where the end shows without a further read.
        for (int page : {4, 5}) {
            PagedQuery query(newestFirst);
            QStringList titles;
            QList<qint64> dates;
            while (!query.atEnd()) {
                QVERIFY(query
                            .fetch(page,
                                   [&](const PagedRow& row) {
                                       titles << row.text(1);
                                       dates << row.integer(3);
                                   })
                            .ok());
            }
            QCOMPARE(titles.size(), 10);
            QCOMPARE(query.fetched(), 10);
            QCOMPARE(titles.first(), QStringLiteral("记录10"));
            QCOMPARE(titles.last(), QStringLiteral("记录1"));
            QCOMPARE(dates.first(), 20260110);
        }

        // The rest at once, after a first page.
        PagedQuery query(newestFirst);
        int read = 0;
        QVERIFY(query.fetch(3, [&](const PagedRow&) { ++read; }).ok());
        QVERIFY(!query.atEnd());
        QVERIFY(query.fetch(-1, [&](const PagedRow&) { ++read; }).ok());
        QVERIFY(query.atEnd());
        QCOMPARE(read, 10);

        // A statement the engine refuses says so, and reads no further.
        PagedQuery broken(Statement{QStringLiteral("select [id] from [no_such_table]"), {}});
        const Result r = broken.fetch(5, [&](const PagedRow&) {});
        QVERIFY(!r.ok());
        QVERIFY(r.error().contains(QStringLiteral("no_such_table")));
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"

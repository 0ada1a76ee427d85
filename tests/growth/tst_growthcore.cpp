#include "data/Records.h"
#include "data/tables/CCHENGZHANG.h"
#include "data/tables/CSHENGRI.h"
#include "growth/BirthdayLists.h"
#include "growth/GrowthDates.h"
#include "growth/GrowthQuery.h"
#include "tests/support/TestDatabase.h"

#include <QTest>

// Dates, year lists and the search statements of growth, run against a fresh database.
class TestGrowthCore : public QObject
{
    Q_OBJECT

private:
    void addEntry(TestDatabase& db, const QString& date, const QString& title, const QString& keyword = {})
    {
        db.exec(QStringLiteral("INSERT INTO chengzhang (riqi, tianqi, [key], biaoti, content, music) "
                               "VALUES (?, '晴', ?, ?, '', '')"),
                {date, keyword, title});
    }

    // The titles a diary search finds, in list order.
    QStringList diaryTitles(const DateCriteria& date, const QString& title = {}, const QString& keyword = {})
    {
        CCHENGZHANG entries;
        const Result r = entries.open(GrowthQuery::diarySearch(date, title, keyword));
        if (!r)
            qWarning("%s", qPrintable(r.error()));
        QStringList titles;
        for (; !entries.isEOF(); entries.moveNext())
            titles << entries.m_biaoti;
        return titles;
    }

private slots:
    void yearListsRunFrom2000ToNextYear()
    {
        const QStringList years = GrowthDates::yearTexts(QDate(2026, 12, 7));
        QCOMPARE(years.first(), QStringLiteral("2000"));
        QCOMPARE(years.last(), QStringLiteral("2027"));
        QCOMPARE(years.size(), 28);
        QCOMPARE(GrowthDates::yearTexts(QDate(2031, 1, 1)).last(), QStringLiteral("2032"));
        QCOMPARE(GrowthDates::monthTexts().first(), QStringLiteral("01"));
        QCOMPARE(GrowthDates::monthTexts().size(), 12);
        QCOMPARE(GrowthDates::dayTexts().last(), QStringLiteral("31"));
    }

    void storedDatesArePaddedAndSplitByPlace()
    {
        QCOMPARE(GrowthDates::entryDate(QDate(2006, 5, 7)), QStringLiteral("2006\\05\\07"));
        QCOMPARE(GrowthDates::entryDate(QDate(2026, 12, 17)), QStringLiteral("2026\\12\\17"));
        const GrowthDates::Parts parts = GrowthDates::split(QStringLiteral("1998\\11\\30"));
        QCOMPARE(parts.year, QStringLiteral("1998"));
        QCOMPARE(parts.month, QStringLiteral("11"));
        QCOMPARE(parts.day, QStringLiteral("30"));
        // A text that is no stored date gives no month or day rather than wrong ones.
        const GrowthDates::Parts odd = GrowthDates::split(QStringLiteral("2006-5-7"));
        QCOMPARE(odd.year, QStringLiteral("2006"));
        QVERIFY(odd.month.isEmpty() && odd.day.isEmpty());
        QCOMPARE(GrowthDates::birthdayKey(QStringLiteral("2006")), QStringLiteral("2006年"));
    }

    void dateSearchMatchesEachPartInItsPlace()
    {
        TestDatabase db;
        addEntry(db, QStringLiteral("2006\\05\\07"), QStringLiteral("五月七日"));
        addEntry(db, QStringLiteral("2006\\07\\15"), QStringLiteral("七月"));
        addEntry(db, QStringLiteral("2007\\03\\01"), QStringLiteral("二〇〇七年"));
        addEntry(db, QStringLiteral("2005\\12\\07"), QStringLiteral("十二月七日"));

        QCOMPARE(diaryTitles({{}, {}, QStringLiteral("07")}),
                 (QStringList{QStringLiteral("五月七日"), QStringLiteral("十二月七日")}));
        QCOMPARE(diaryTitles({{}, QStringLiteral("07"), {}}), QStringList{QStringLiteral("七月")});
        QCOMPARE(diaryTitles({QStringLiteral("2007"), {}, {}}), QStringList{QStringLiteral("二〇〇七年")});
        QCOMPARE(diaryTitles({QStringLiteral("2006"), QStringLiteral("05"), {}}),
                 QStringList{QStringLiteral("五月七日")});
        QCOMPARE(diaryTitles({QStringLiteral("2006"), {}, QStringLiteral("07")}),
                 QStringList{QStringLiteral("五月七日")});
        QVERIFY(diaryTitles({QStringLiteral("2006"), QStringLiteral("12"), {}}).isEmpty());
    }

    void typedTextMatchesLiterally()
    {
        TestDatabase db;
        addEntry(db, QStringLiteral("2006\\05\\07"), QStringLiteral("考了100%"), QStringLiteral("a_b"));
        addEntry(db, QStringLiteral("2006\\05\\08"), QStringLiteral("考了100分"), QStringLiteral("axb"));
        addEntry(db, QStringLiteral("2006\\05\\09"), QStringLiteral("它's 游泳"), QStringLiteral("水"));

        QCOMPARE(diaryTitles({}, QStringLiteral("%")), QStringList{QStringLiteral("考了100%")});
        QCOMPARE(diaryTitles({}, {}, QStringLiteral("_")), QStringList{QStringLiteral("考了100%")});
        QCOMPARE(diaryTitles({}, QStringLiteral("100")).size(), 2);
        QCOMPARE(diaryTitles({}, QStringLiteral("'s")), QStringList{QStringLiteral("它's 游泳")});
        // Every criterion given must hold.
        QCOMPARE(
            diaryTitles({QStringLiteral("2006"), {}, QStringLiteral("08")}, QStringLiteral("100"), QStringLiteral("x")),
            QStringList{QStringLiteral("考了100分")});
        QVERIFY(
            diaryTitles({QStringLiteral("2006"), {}, QStringLiteral("07")}, QStringLiteral("100"), QStringLiteral("x"))
                .isEmpty());
    }

    void presentsAndGreetingsReadBackExactlyThroughTheDatabase()
    {
        using BirthdayLists::Row;
        TestDatabase db;
        QList<Row> presents{
            {QStringLiteral("爸爸"), QStringLiteral("积木|拼图=两样")},
            {QStringLiteral("小|明"), QStringLiteral("a=b")},
            {QStringLiteral("舅舅\\"), QStringLiteral("C:\\照片\\|=\\")},
            {QStringLiteral("奶奶"), QStringLiteral("=")},
        };
        for (int i = 0; i < 100; ++i)
            presents.append({QStringLiteral("亲戚%1").arg(i), QString(300, QChar(0x793C + i % 3))});
        const QList<Row> greetings{{QStringLiteral("妈妈"), QStringLiteral("生日快乐！\n要天天开心")}};

        CSHENGRI birthday;
        QVERIFY(Records::add(birthday, [&](Recordset&) {
            birthday.m_riqi = QStringLiteral("2026年");
            birthday.m_songli = BirthdayLists::write(presents);
            birthday.m_liuyan = BirthdayLists::write(greetings);
        }));
        // Well beyond the 500 bytes the columns were once given: nothing is cut.
        QVERIFY(db.scalar(QStringLiteral("SELECT length(songli) FROM shengri")).toInt() > 30000);
        CSHENGRI read;
        QVERIFY(read.open(GrowthQuery::birthdaysOfYear(QStringLiteral("2026年"))));
        QCOMPARE(BirthdayLists::read(read.m_songli), presents);
        QCOMPARE(BirthdayLists::read(read.m_liuyan), greetings);
        QCOMPARE(BirthdayLists::read(BirthdayLists::write({})), QList<Row>{});
    }

    void listsWithoutSeparatorsKeepTheirOldForm()
    {
        using BirthdayLists::Row;
        const QList<Row> rows{{QStringLiteral("爸爸"), QStringLiteral("小汽车")},
                              {QStringLiteral("妈妈"), QStringLiteral("故事书 C:\\书")}};
        const QString old = QStringLiteral("爸爸|小汽车=妈妈|故事书 C:\\书=");
        QCOMPARE(BirthdayLists::write(rows), old);
        // Texts stored by earlier versions read as they always did, backslashes included.
        QCOMPARE(BirthdayLists::read(old), rows);
        QCOMPARE(BirthdayLists::read(QStringLiteral("爷爷|红包=")),
                 (QList<Row>{{QStringLiteral("爷爷"), QStringLiteral("红包")}}));
        // An unfinished last row keeps its giver.
        QCOMPARE(BirthdayLists::read(QStringLiteral("爷爷|红包=姥姥|")),
                 (QList<Row>{{QStringLiteral("爷爷"), QStringLiteral("红包")}, {QStringLiteral("姥姥"), QString()}}));
    }
};

QTEST_GUILESS_MAIN(TestGrowthCore)
#include "tst_growthcore.moc"

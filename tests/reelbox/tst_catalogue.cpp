#include "reelbox/Catalogue.h"
#include "reelbox/ChosenFiles.h"
#include "tests/support/TestDatabase.h"

#include <QTest>

// The catalogue's statements on a real database: which records a search finds, the order of
// the list, the year list and the limits of the chosen-file list.
class TestCatalogue : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_db;

    qint64 add(const QString& date, const QString& keyword, const QString& type, const QString& music)
    {
        m_db->exec(QStringLiteral("INSERT INTO mplay (riqi, [key], leixing, miaoshu, music) VALUES (?, ?, ?, '', ?)"),
                   {date, keyword, type, music});
        return m_db->scalar(QStringLiteral("SELECT max(id) FROM mplay")).toLongLong();
    }

    // The ids of the records a search lists, in list order, each once.
    static QList<qint32> found(const CatalogueSearch& search)
    {
        const ResultOf<CatalogueResult> result = Catalogue::search(search);
        if (!result)
            qWarning("%s", qPrintable(result.error()));
        QList<qint32> ids;
        const CatalogueRows rows = result.valueOr({}).rows;
        for (qsizetype row = 0; row < rows.size(); ++row) {
            if (!ids.contains(rows.id(row)))
                ids << rows.id(row);
        }
        return ids;
    }

private slots:
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void datePartsMatchOnlyTheirOwnPlace()
    {
        const QString sound = QStringLiteral("音频文件");
        const qint32 may2003 = qint32(add(QStringLiteral("2003\\05\\03"), {}, sound, QStringLiteral(" a.mp3")));
        const qint32 march2005 = qint32(add(QStringLiteral("2005\\03\\07"), {}, sound, QStringLiteral(" b.mp3")));
        const qint32 april2005 = qint32(add(QStringLiteral("2005\\04\\03"), {}, sound, QStringLiteral(" c.mp3")));

        using Ids = QList<qint32>;
        // Month 03 is March, not the end of the year 2003; day 03 is the third, not March.
        QCOMPARE(found({{}, QStringLiteral("03"), {}, {}, sound}), Ids{march2005});
        QCOMPARE(found({{}, {}, QStringLiteral("03"), {}, sound}), (Ids{april2005, may2003}));
        QCOMPARE(found({QStringLiteral("2005"), {}, {}, {}, sound}), (Ids{april2005, march2005}));
        QCOMPARE(found({QStringLiteral("2005"), {}, QStringLiteral("03"), {}, sound}), Ids{april2005});
        QCOMPARE(found({QStringLiteral("2003"), QStringLiteral("05"), QStringLiteral("03"), {}, sound}), Ids{may2003});
        QCOMPARE(found({{}, {}, {}, {}, QStringLiteral("视频文件")}), Ids{});
    }

    void keywordsAreMatchedLiterally()
    {
        const QString type = QStringLiteral("图像文件");
        const qint32 percent =
            qint32(add(QStringLiteral("2010\\01\\01"), QStringLiteral("打折50%"), type, QStringLiteral(" a.jpg")));
        const qint32 plain =
            qint32(add(QStringLiteral("2010\\01\\01"), QStringLiteral("打折500"), type, QStringLiteral(" b.jpg")));
        const qint32 underscore =
            qint32(add(QStringLiteral("2010\\01\\01"), QStringLiteral("a_b"), type, QStringLiteral(" c.jpg")));
        const qint32 quoted =
            qint32(add(QStringLiteral("2010\\01\\01"), QStringLiteral("宝宝's 生日"), type, QStringLiteral(" d.jpg")));
        add(QStringLiteral("2010\\01\\01"), QStringLiteral("axb"), type, QStringLiteral(" e.jpg"));

        using Ids = QList<qint32>;
        QCOMPARE(found({{}, {}, {}, QStringLiteral("50%"), type}), Ids{percent});
        QCOMPARE(found({{}, {}, {}, QStringLiteral("_"), type}), Ids{underscore});
        QCOMPARE(found({{}, {}, {}, QStringLiteral("'s 生"), type}), Ids{quoted});
        QCOMPARE(found({{}, {}, {}, QStringLiteral("打折"), type}), (Ids{plain, percent}));
    }

    void listsTheNewestRecordFirstEachInItsOwnOrder()
    {
        const QString type = QStringLiteral("图像文件");
        const qint32 first = qint32(add(QStringLiteral("2010\\01\\01"), {}, type, QStringLiteral(" a.jpg A.JPG")));
        add(QStringLiteral("2010\\01\\01"), {}, type, QString()); // names no file: no row
        const qint32 third = qint32(
            add(QStringLiteral("2010\\01\\01"), {}, type, QStringLiteral(" 生日 蛋糕.jpeg b.c.jpg 歌.mp3 说明.txt")));

        const ResultOf<CatalogueResult> result = Catalogue::search({{}, {}, {}, {}, type});
        QVERIFY(result.ok());
        QCOMPARE(result->records, 3);
        QStringList names;
        QList<qint32> ids;
        QList<MediaKind> kinds;
        for (qsizetype i = 0; i < result->rows.size(); ++i) {
            const CatalogueRow row = result->rows.at(i);
            names << row.name;
            ids << row.id;
            kinds << row.kind;
        }
        // A four-letter extension ends its name like any other; the kind comes from the last
        // extension whatever its case.
        QCOMPARE(names,
                 (QStringList{QStringLiteral("生日 蛋糕.jpeg"), QStringLiteral("b.c.jpg"), QStringLiteral("歌.mp3"),
                              QStringLiteral("说明.txt"), QStringLiteral("a.jpg"), QStringLiteral("A.JPG")}));
        QCOMPARE(ids, (QList<qint32>{third, third, third, third, first, first}));
        QCOMPARE(kinds, (QList<MediaKind>{MediaKind::Picture, MediaKind::Picture, MediaKind::Sound, MediaKind::Other,
                                          MediaKind::Picture, MediaKind::Picture}));
    }

    void yearsRunToTheYearAfterToday()
    {
        const QStringList years = Catalogue::years(QDate(2026, 7, 1));
        QCOMPARE(years.first(), QStringLiteral("2000"));
        QCOMPARE(years.last(), QStringLiteral("2027"));
        QCOMPARE(years.size(), 28);
        QCOMPARE(Catalogue::dateText(QStringLiteral("2005"), QStringLiteral("03"), QStringLiteral("07")),
                 QStringLiteral("2005\\03\\07"));
    }

    void chosenFilesRefuseWhatTheyCannotHold()
    {
        const QString media = QStringLiteral("/home/家/Kestrin/database/media");
        ChosenFiles chosen;
        QStringList many;
        for (int i = 0; i < 150; ++i)
            many << QStringLiteral("/photos/%1.jpg").arg(i);
        QVERIFY(chosen.append(many, media).ok());
        // Files chosen again are kept once.
        QVERIFY(chosen.append(many.mid(0, 50), media).ok());
        QCOMPARE(chosen.count(), 150);
        QStringList fifty;
        for (int i = 150; i < 200; ++i)
            fifty << QStringLiteral("/photos/%1.jpg").arg(i);
        QVERIFY(chosen.append(fifty, media).ok()); // exactly full
        const Result more = chosen.append({QStringLiteral("/photos/one more.jpg")}, media);
        QVERIFY(!more.ok());
        QVERIFY(more.message().contains(QStringLiteral("200")));
        QCOMPARE(chosen.count(), 200);

        chosen.clear();
        const QString longName = QString(ChosenFiles::maxNameBytes(), QLatin1Char('x')) + QStringLiteral(".jpg");
        const QString deep = QStringLiteral("/a") + QString(ChosenFiles::maxPathBytes(), QLatin1Char('b'));
        for (const QString& path :
             QStringList{QStringLiteral("/photos/") + longName, deep + QStringLiteral("/c.jpg")}) {
            const Result refused = chosen.append({QStringLiteral("/photos/ok.jpg"), path}, media);
            QVERIFY(!refused.ok());
            QVERIFY(refused.message().contains(QStringLiteral("太长")));
            QVERIFY(chosen.isEmpty());
        }
        QVERIFY(chosen.append({QStringLiteral("/photos/ok.jpg")}, media).ok());
        QCOMPARE(chosen.names(), QStringList{QStringLiteral("ok.jpg")});
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"

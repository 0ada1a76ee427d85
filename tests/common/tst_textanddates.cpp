#include "common/TextBytes.h"
#include "common/TextOrder.h"
#include "tests/support/FixedClock.h"

#include <QTest>

class TestTextAndDates : public QObject
{
    Q_OBJECT

private slots:
    void chineseListsAreSortedByPinyin()
    {
        // By character code the order would be 天 夜 森 暖; by pinyin it is nuan, sen, tian, ye.
        const QStringList skins{QStringLiteral("天空蓝"), QStringLiteral("森林绿"), QStringLiteral("暖阳橙"),
                                QStringLiteral("夜幕灰")};
        QCOMPARE(TextOrder::sortedByPinyin(skins), (QStringList{QStringLiteral("暖阳橙"), QStringLiteral("森林绿"),
                                                                QStringLiteral("天空蓝"), QStringLiteral("夜幕灰")}));
    }

    void byteLengths()
    {
        QCOMPARE(TextBytes::length(QString()), 0);
        QCOMPARE(TextBytes::length(QStringLiteral("abc")), 3);
        QCOMPARE(TextBytes::length(QStringLiteral("感冒")), 4);
        QCOMPARE(TextBytes::length(QStringLiteral("感冒a1")), 6);
        QCOMPARE(TextBytes::length(QString(20, QChar(0x611F))), 40);
        QCOMPARE(TextBytes::length(QString(20, QChar(0x611F)) + QLatin1Char('x')), 41);
    }

    void dateKeys()
    {
        QCOMPARE(DateKey::fromDate(QDate(2005, 6, 7)), 20050607);
        QCOMPARE(DateKey::fromDate(QDate(2026, 12, 31)), 20261231);

        FixedClock clock(QDateTime(QDate(2026, 3, 9), QTime(23, 59)));
        Clock::install(&clock);
        QCOMPARE(DateKey::today(), 20260309);
        Clock::install(nullptr);
        QCOMPARE(DateKey::today(), DateKey::fromDate(QDate::currentDate()));
    }

    void parsingDateKeys()
    {
        QCOMPARE(DateKey::parse(QStringLiteral("20260309")), 20260309);
        QCOMPARE(DateKey::parse(QStringLiteral(" 20240229 ")), 20240229);
        QCOMPARE(DateKey::parse(QStringLiteral("20230229")), 0); // no 29 February in 2023
        QCOMPARE(DateKey::parse(QStringLiteral("20261301")), 0);
        QCOMPARE(DateKey::parse(QStringLiteral("2026-3-9")), 0);
        QCOMPARE(DateKey::parse(QStringLiteral("1 or 1=1")), 0);
        QCOMPARE(DateKey::parse(QString()), 0);
    }
};

QTEST_GUILESS_MAIN(TestTextAndDates)
#include "tst_textanddates.moc"

#include "health/AgeLabels.h"
#include "health/ChartGeometry.h"
#include "health/GrowthAssessment.h"
#include "health/Measurements.h"
#include "tests/support/TestDatabase.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

// Assessment, chart geometry and measurement rules, without widgets.
class TestGrowthAssessment : public QObject
{
    Q_OBJECT

private:
    static QList<double> ages(const ChartData& chart)
    {
        QList<double> list;
        for (const ChartData::Point& p : chart.child)
            list << p.age;
        return list;
    }
    static QList<ReferenceRow> reference()
    {
        return {{QStringLiteral("0个月"), 46.9, 54.0},
                {QStringLiteral("1个月"), 50.7, 59.0},
                {QStringLiteral("2岁"), 82.1, 94.4},
                {QStringLiteral("2.5岁"), 86.4, 99.5}};
    }

private slots:
    void ageLabels()
    {
        const QStringList& labels = AgeLabels::all();
        QCOMPARE(labels.size(), 52);
        QCOMPARE(labels.first(), QStringLiteral("0个月"));
        QCOMPARE(labels.at(16), QStringLiteral("16个月"));
        QCOMPARE(labels.at(17), QStringLiteral("18个月"));
        QCOMPARE(labels.at(18), QStringLiteral("21个月"));
        QCOMPARE(labels.at(19), QStringLiteral("2岁"));
        QCOMPARE(labels.at(20), QStringLiteral("2.5岁"));
        QCOMPARE(labels.last(), QStringLiteral("18岁"));
        QCOMPARE(AgeLabels::leadingNumber(QStringLiteral("2.5岁")), 2.5);
        QCOMPARE(AgeLabels::leadingNumber(QStringLiteral("约3个月")), std::nullopt);
    }

    void monthPointsAreSortedByAge()
    {
        ChartData chart;
        const QList<Measurement> rows{{QStringLiteral("3个月"), 60, 6, QStringLiteral("男")},
                                      {QStringLiteral("1个月"), 54, 4, QStringLiteral("男")},
                                      {QStringLiteral("2岁"), 88, 12, QStringLiteral("男")},
                                      {QStringLiteral("6个月"), 67, 8, QStringLiteral("男")}};
        const QList<ReferenceRow> ref = reference();
        GrowthAssessment::assess(chart, AgeUnit::Months, QStringLiteral("1个月"), rows, &ref, &ref);
        QVERIFY(chart.months);
        QCOMPARE(ages(chart), (QList<double>{1, 3, 6}));
        QCOMPARE(chart.child.at(0).height, 54.0); // points move whole
        QCOMPARE(chart.selectedMonths, 1);
        QCOMPARE(chart.heightReference.size(), 2); // month rows only
        QCOMPARE(chart.heightReference.at(1).max, 59.0);
    }

    void halfYearsKeepTheirDecimals()
    {
        ChartData chart;
        const QList<Measurement> rows{{QStringLiteral("3岁"), 96.5, 14.2, QStringLiteral("女")},
                                      {QStringLiteral("2.5岁"), 90.3, 13.1, QStringLiteral("女")},
                                      {QStringLiteral("5个月"), 64, 7, QStringLiteral("女")}};
        const QList<ReferenceRow> ref = reference();
        GrowthAssessment::assess(chart, AgeUnit::Years, QStringLiteral("2.5岁"), rows, &ref, &ref);
        QVERIFY(!chart.months);
        QCOMPARE(ages(chart), (QList<double>{2.5, 3}));
        QCOMPARE(chart.child.at(0).height, 90.3);
        QCOMPARE(chart.selectedYears, 2.5);
        QCOMPARE(chart.heightReference.size(), 2); // year rows only: never month rows on a year chart
        QCOMPARE(chart.heightReference.at(0).age, 2.0);
    }

    void yearLabelForAChildWithOnlyMonths()
    {
        ChartData chart;
        const QList<Measurement> rows{{QStringLiteral("3个月"), 60, 6, QStringLiteral("男")}};
        const QList<ReferenceRow> ref = reference();
        GrowthAssessment::assess(chart, AgeUnit::Years, QStringLiteral("2岁"), rows, &ref, &ref);
        QVERIFY(chart.months);
        QVERIFY(chart.child.isEmpty());
        QCOMPARE(chart.heightReference.size(), 2);
    }

    void unknownSexKeepsTheReferenceLines()
    {
        ChartData chart;
        const QList<ReferenceRow> ref = reference();
        GrowthAssessment::assess(chart, AgeUnit::Months, QStringLiteral("1个月"),
                                 {{QStringLiteral("1个月"), 54, 4, QStringLiteral("男")}}, &ref, &ref);
        GrowthAssessment::assess(chart, AgeUnit::Months, QStringLiteral("3个月"),
                                 {{QStringLiteral("3个月"), 60, 6, QStringLiteral("?")}}, nullptr, nullptr);
        QCOMPARE(ages(chart), QList<double>{3});
        QCOMPARE(chart.heightReference.size(), 2);
        QCOMPARE(chart.weightReference.size(), 2);
    }

    void equalAgesKeepTheirOrderAndTheLimitHolds()
    {
        ChartData chart;
        QList<Measurement> rows;
        for (int i = 0; i < 600; ++i)
            rows.append({QStringLiteral("%1个月").arg(i % 2 ? 2 : 1), i / 4.0, 5, QStringLiteral("女")});
        GrowthAssessment::assess(chart, AgeUnit::Months, QStringLiteral("1个月"), rows, nullptr, nullptr);
        QCOMPARE(chart.child.size(), ChartData::MaxPoints);
        QCOMPARE(chart.child.at(0).height, 0.0);
        QCOMPARE(chart.child.at(1).height, 0.5);
        QCOMPARE(chart.child.at(250).height, 0.25);
    }

    void aLabelWithMonthsAndYearsIsYears()
    {
        QCOMPARE(GrowthAssessment::unitOf(QStringLiteral("1岁3个月")), AgeUnit::Years);
        QCOMPARE(GrowthAssessment::unitOf(QStringLiteral("3个月")), AgeUnit::Months);
        QCOMPARE(GrowthAssessment::unitOf(QStringLiteral("2.5岁")), AgeUnit::Years);
        QCOMPARE(GrowthAssessment::unitOf(QStringLiteral("三")), AgeUnit::None);
    }

    // Rows written by another program may hold anything; the chart takes only what it can draw.
    void valuesNoChartCanDrawAreLeftOut()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const QList<Measurement> months{{QStringLiteral("99999999999个月"), 60, 6, QStringLiteral("男")},
                                        {QStringLiteral("3个月"), 1e300, 6, QStringLiteral("男")},
                                        {QStringLiteral("4个月"), 62, nan, QStringLiteral("男")},
                                        {QStringLiteral("5个月"), 64, 7, QStringLiteral("男")},
                                        {QStringLiteral("6个月"), -inf, 7, QStringLiteral("男")}};
        const QList<ReferenceRow> ref{{QStringLiteral("1个月"), 50, 59},
                                      {QStringLiteral("2个月"), -1e300, 1e300},
                                      {QStringLiteral("99999999999个月"), 50, 60}};
        ChartData chart;
        GrowthAssessment::assess(chart, AgeUnit::Months, QStringLiteral("99999999999个月"), months, &ref, &ref);
        QCOMPARE(ages(chart), QList<double>{5});
        QCOMPARE(chart.heightReference.size(), 1);
        QVERIFY(chart.selectedMonths >= 0 && chart.selectedMonths <= 24 * 12);

        const QList<Measurement> years{{QStringLiteral("99999999999岁"), 60, 6, QStringLiteral("女")},
                                       {QStringLiteral("3岁"), 95, 1e300, QStringLiteral("女")},
                                       {QStringLiteral("4岁"), 100, 16, QStringLiteral("女")}};
        GrowthAssessment::assess(chart, AgeUnit::Years, QStringLiteral("1e300岁"), years, nullptr, nullptr);
        QCOMPARE(ages(chart), QList<double>{4});
        QVERIFY(std::isfinite(chart.selectedYears) && chart.selectedYears <= 24);

        const ChartGeometry::Picture p = ChartGeometry::draw(chart);
        const QRect sane(-1000, -1000, 3000, 3000);
        for (const ChartGeometry::Line& line : p.lines)
            QVERIFY(sane.contains(line.from) && sane.contains(line.to));
        for (const ChartGeometry::Text& text : p.texts)
            QVERIFY(sane.contains(text.at));
    }

    void assessingFromTheDatabase()
    {
        TestDatabase db;
        for (const char* age : {"3个月", "1个月", "6个月"})
            db.exec(QStringLiteral("INSERT INTO personinfo ([用户名], [性别], [年龄], [身高], [体重]) "
                                   "VALUES ('小明', '男', ?, 60, 6)"),
                    {QString::fromUtf8(age)});
        ChartData chart;
        QVERIFY(GrowthAssessment::assessChild(chart, QStringLiteral("小明"), AgeUnit::Months, QStringLiteral("1个月")));
        QCOMPARE(ages(chart), (QList<double>{1, 3, 6}));
        QCOMPARE(chart.heightReference.size(), 19); // the month rows of nanhigh
        QCOMPARE(chart.heightReference.first().max, 54.0);
        QCOMPARE(chart.weightReference.first().min, 2.6);
    }

    void geometry()
    {
        QCOMPARE(ChartGeometry::ageX(2.5, false), 47);
        QCOMPARE(ChartGeometry::heightY(90), 100);
        QCOMPARE(ChartGeometry::weightY(12.5), 360);
        QCOMPARE(ChartGeometry::ageX(24, true), 510);
        QCOMPARE(ChartGeometry::ageX(18, false), 574);
        QCOMPARE(ChartGeometry::heightY(184.7), 5); // above the axis tip, not clipped
        QCOMPARE(ChartGeometry::heightY(190.5), 0);
        QCOMPARE(ChartGeometry::heightY(191), -1);
        const QStringList years = ChartGeometry::tickLabels(false);
        QCOMPARE(years.size(), 31);
        QCOMPARE(years.first(), QStringLiteral("2.5"));
        QCOMPARE(years.at(1), QStringLiteral("3"));
        QCOMPARE(years.last(), QStringLiteral("17.5"));
        QCOMPARE(ChartGeometry::tickLabels(true).size(), 24);
        QCOMPARE(ChartGeometry::tickLabels(true).last(), QStringLiteral("24"));
    }

    void pictureOfAnEmptyMonthChart()
    {
        const ChartGeometry::Picture p = ChartGeometry::draw(ChartData());
        QStringList texts;
        for (const ChartGeometry::Text& t : p.texts)
            texts << t.text;
        QVERIFY(texts.contains(QStringLiteral("年龄(月)")));
        QVERIFY(texts.contains(QStringLiteral("身高(厘米)")));
        QVERIFY(texts.contains(QStringLiteral("体重(公斤)")));
        QVERIFY(!texts.contains(QStringLiteral("*")));
        // No curves: besides the axes only the short selected-age marker at age 0.
        for (const ChartGeometry::Line& line : p.lines) {
            if (line.pen != ChartGeometry::Pen::Axis) {
                QCOMPARE(line.pen, ChartGeometry::Pen::Child);
                QCOMPARE(line.from, QPoint(30, 186));
                QCOMPARE(line.to, QPoint(30, 180));
            }
        }
        // The first y tick of each chart: 180 cm at y 10 and 90 kg at y 205.
        QVERIFY(std::any_of(p.texts.begin(), p.texts.end(),
                            [](const auto& t) { return t.text == QStringLiteral("180") && t.at == QPoint(10, 7); }));
        QVERIFY(std::any_of(p.texts.begin(), p.texts.end(),
                            [](const auto& t) { return t.text == QStringLiteral("90") && t.at == QPoint(10, 201); }));
    }

    void aSinglePointIsOnlyAStar()
    {
        ChartData chart;
        chart.child = {{3, 60, 6}};
        const ChartGeometry::Picture p = ChartGeometry::draw(chart);
        QVERIFY(std::none_of(p.lines.begin(), p.lines.end(),
                             [](const auto& l) { return l.pen == ChartGeometry::Pen::Child; }));
        QCOMPARE(std::count_if(p.texts.begin(), p.texts.end(), [](const auto& t) { return t.text == u"*"; }), 2);
        QVERIFY(std::any_of(p.texts.begin(), p.texts.end(), [](const auto& t) {
            return t.text == u"*" && t.at == QPoint(90, 126); // height 60 at 3 months, 4 pixels up
        }));
    }

    void measurementRules()
    {
        QCOMPARE(Measurements::cutToOneDecimal(75.56), QStringLiteral("75.5"));
        QCOMPARE(Measurements::cutToOneDecimal(12), QStringLiteral("12.0"));
        QCOMPARE(Measurements::cutToOneDecimal(0.99), QStringLiteral("0.9"));
        QCOMPARE(Measurements::parseNumber(QStringLiteral(" 75.5 ")), 75.5);
        QCOMPARE(Measurements::parseNumber(QStringLiteral("75cm")), std::nullopt);
        QCOMPARE(Measurements::parseNumber(QStringLiteral("abc")), std::nullopt);
        QCOMPARE(Measurements::parseHeartRate(QStringLiteral("200")), 200);
        QCOMPARE(Measurements::parseHeartRate(QStringLiteral("201")), std::nullopt);
        QCOMPARE(Measurements::parseHeartRate(QStringLiteral("-1")), std::nullopt);
        QCOMPARE(Measurements::parseHeartRate(QStringLiteral("90.5")), std::nullopt);
    }

    // What a child can be measured at; each refusal names the field and its range.
    void measurementRanges_data()
    {
        QTest::addColumn<QString>("age");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("weight");
        QTest::addColumn<QString>("refusal");
        const QString ok;
        QTest::newRow("newborn") << QStringLiteral("0个月") << 50.0 << 3.2 << ok;
        QTest::newRow("not measured") << QStringLiteral("9个月") << 0.0 << 0.0 << ok;
        QTest::newRow("eighteen") << QStringLiteral("18岁") << 250.0 << 200.0 << ok;
        QTest::newRow("typed month") << QStringLiteral("20个月") << 80.0 << 10.0 << ok;
        QTest::newRow("huge height") << QStringLiteral("3岁") << 1e300 << 14.0 << QStringLiteral("身高");
        QTest::newRow("tiny height") << QStringLiteral("3岁") << 3.0 << 14.0 << QStringLiteral("身高");
        QTest::newRow("negative weight") << QStringLiteral("3岁") << 95.0 << -2.0 << QStringLiteral("体重");
        QTest::newRow("heavy") << QStringLiteral("3岁") << 95.0 << 201.0 << QStringLiteral("体重");
        QTest::newRow("huge months") << QStringLiteral("99999999999个月") << 60.0 << 6.0 << QStringLiteral("年龄");
        QTest::newRow("half a month") << QStringLiteral("3.5个月") << 60.0 << 6.0 << QStringLiteral("年龄");
        QTest::newRow("one year") << QStringLiteral("1岁") << 75.0 << 9.0 << QStringLiteral("年龄");
        QTest::newRow("nineteen") << QStringLiteral("19岁") << 170.0 << 60.0 << QStringLiteral("年龄");
        QTest::newRow("no number") << QStringLiteral("一岁") << 75.0 << 9.0 << QStringLiteral("年龄");
        QTest::newRow("no unit") << QStringLiteral("12") << 75.0 << 9.0 << QStringLiteral("年龄");
    }
    void measurementRanges()
    {
        QFETCH(QString, age);
        QFETCH(double, height);
        QFETCH(double, weight);
        QFETCH(QString, refusal);
        const Result r = Measurements::checkRanges(age, height, weight);
        if (refusal.isEmpty()) {
            QVERIFY2(r.ok(), qPrintable(r.error()));
            return;
        }
        QVERIFY(!r.ok());
        QVERIFY2(r.message().startsWith(refusal), qPrintable(r.message()));
        // The range is named: two numbers in the message.
        QVERIFY2(r.message().count(QRegularExpression(QStringLiteral("\\d+"))) >= 2, qPrintable(r.message()));
    }
};

QTEST_GUILESS_MAIN(TestGrowthAssessment)
#include "tst_growthassessment.moc"

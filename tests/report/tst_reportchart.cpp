#include "health/AgeLabels.h"
#include "report/HealthReport.h"
#include "report/PdfReport.h"
#include "report/ReportRenderer.h"
#include "tests/report/ReportFixture.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

// The growth charts as printed: the page is rasterised with pdftoppm and the child's points are
// looked for where the fixture's values put them, inside or outside the shaded reference band.
class TestReportChart : public QObject
{
    Q_OBJECT

private:
    static constexpr int Dpi = 100;

    static QPoint pixel(const QPointF& tenthsOfPoint) { return (tenthsOfPoint / 10.0 * Dpi / 72.0).toPoint(); }
    static bool near(QRgb c, int r, int g, int b, int tolerance)
    {
        return std::abs(qRed(c) - r) <= tolerance && std::abs(qGreen(c) - g) <= tolerance &&
               std::abs(qBlue(c) - b) <= tolerance;
    }
    static bool band(QRgb c) { return near(c, 0xd3, 0xeb, 0xd3, 14); }
    static bool white(QRgb c) { return near(c, 255, 255, 255, 8); }
    static bool red(QRgb c) { return qRed(c) > 170 && qGreen(c) < 90 && qBlue(c) < 90; }

    static double monthsOf(const char* label)
    {
        const QString age = QString::fromUtf8(label);
        const double n = AgeLabels::leadingNumber(age).value_or(-1);
        return AgeLabels::isYears(age) ? n * 12 : n;
    }

private slots:
    void pointsSitInOrOutOfTheBandAsTheFixtureSays()
    {
        ReportFixture f;
        f.fill();
        ReportRequest request;
        request.child = QStringLiteral("小明");
        const ResultOf<HealthReport> report = HealthReports::build(request);
        QVERIFY(report);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
        QVERIFY(PdfReport::save(*report, pdf));
        const ReportRenderer renderer(*report);
        QCOMPARE(renderer.charts().size(), 2);

        for (const ReportRenderer::PlacedChart& chart : renderer.charts()) {
            const bool height = chart.quantity == QStringLiteral("身高");
            const QString prefix = dir.filePath(QStringLiteral("page"));
            const QString page = QString::number(chart.page + 1);
            ReportFixture::run(QStringLiteral("pdftoppm"),
                               {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-f"), page,
                                QStringLiteral("-l"), page, QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                                prefix});
            const QImage image(prefix + QStringLiteral(".png"));
            QVERIFY(!image.isNull());
            const ReportChart::Frame& frame = chart.frame;
            const QRect plot(pixel(frame.plot.topLeft()), pixel(frame.plot.bottomRight()));

            QList<int> xs;
            QList<int> ys;
            for (const ReportFixture::Row& row : ReportFixture::measurements()) {
                const double value = height ? row.height : row.weight;
                const bool inside = height ? row.date != 20250115 : row.date != 20251215;
                const QPoint at = pixel(frame.map(monthsOf(row.age), value));
                QVERIFY2(plot.contains(at), row.age);
                xs << at.x();
                ys << at.y();
                QVERIFY2(red(image.pixel(at)),
                         qPrintable(QStringLiteral("no point at %1").arg(QString::fromUtf8(row.age))));
                // Around the point, away from its dot: the band when inside the range, the page when not.
                int shaded = 0;
                int blank = 0;
                for (int step = 0; step < 8; ++step) {
                    const double angle = step * M_PI / 4 + M_PI / 8;
                    const QPoint p = at + QPoint(qRound(9 * std::cos(angle)), qRound(9 * std::sin(angle)));
                    shaded += band(image.pixel(p));
                    blank += white(image.pixel(p));
                }
                if (inside)
                    QVERIFY2(shaded >= 4, qPrintable(QStringLiteral("%1 %2: %3 of 8 shaded")
                                                         .arg(chart.quantity, QString::fromUtf8(row.age))
                                                         .arg(shaded)));
                else
                    QVERIFY2(blank >= 4, qPrintable(QStringLiteral("%1 %2: %3 of 8 blank")
                                                        .arg(chart.quantity, QString::fromUtf8(row.age))
                                                        .arg(blank)));
            }
            // The axes are fitted to the child: the points spread over the plot rather than
            // lying in a corner of it.
            const auto [left, right] = std::minmax_element(xs.begin(), xs.end());
            QVERIFY(*right - *left > plot.width() * 0.8);
            const auto [top, bottom] = std::minmax_element(ys.begin(), ys.end());
            QVERIFY(*bottom - *top > plot.height() * 0.4);
        }
    }

    void axesFitTheChildsAges()
    {
        GrowthSeries baby;
        baby.child = {{0, 50}, {3, 61}, {6, 67}};
        baby.reference = {{0, 54, 46.9}, {3, 66.6, 57.5}, {6, 73.3, 63.7}, {12, 82.1, 71.2}};
        const ReportChart::Frame months = ReportChart::fit(baby, QRectF(0, 0, 1000, 500));
        QVERIFY(!months.years);
        QCOMPARE(months.x.min, 0.0);
        QVERIFY(months.x.max >= 6 && months.x.max <= 10);
        // The reference range at those ages fits too, and not much more.
        QVERIFY(months.y.min <= 46.9 && months.y.min >= 40);
        QVERIFY(months.y.max >= 73.3 && months.y.max <= 85);

        GrowthSeries school;
        school.child = {{72, 115}, {120, 140}};
        school.reference = {{72, 127.2, 108.6}, {120, 152.7, 127.9}};
        const ReportChart::Frame years = ReportChart::fit(school, QRectF(0, 0, 1000, 500));
        QVERIFY(years.years);
        QVERIFY(years.x.min <= 72 && years.x.min >= 60);
        QCOMPARE(years.ageLabel(72), QStringLiteral("6"));

        GrowthSeries single;
        single.child = {{30, 93}};
        const ReportChart::Frame one = ReportChart::fit(single, QRectF(0, 0, 1000, 500));
        QVERIFY(one.x.max > one.x.min);
        QVERIFY(one.y.max > one.y.min);
        QVERIFY(one.contains(30, 93));
    }
};

QTEST_MAIN(TestReportChart)
#include "tst_reportchart.moc"

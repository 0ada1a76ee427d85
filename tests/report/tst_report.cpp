#include "report/HealthReport.h"
#include "report/PdfReport.h"
#include "report/ReportFonts.h"
#include "report/ReportRenderer.h"
#include "tests/report/ReportFixture.h"

#include <QFile>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The report as a reader gets it: the PDF is rendered and read back with poppler's tools.
class TestReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_out;

    QString save(const ReportRequest& request, const QString& name = QStringLiteral("report.pdf"))
    {
        const ResultOf<HealthReport> report = HealthReports::build(request);
        if (!report) {
            QTest::qFail(qPrintable(report.error()), __FILE__, __LINE__);
            return {};
        }
        const QString path = m_out.filePath(name);
        if (Result r = PdfReport::save(*report, path); !r)
            QTest::qFail(qPrintable(r.error()), __FILE__, __LINE__);
        // KESTRIN_REPORT_KEEP=FOLDER keeps each report to look at, named after its test.
        if (const QString keep = qEnvironmentVariable("KESTRIN_REPORT_KEEP"); !keep.isEmpty())
            QFile::copy(
                path, QDir(keep).filePath(QString::fromLatin1(QTest::currentTestFunction()) + QStringLiteral(".pdf")));
        return path;
    }

    static ReportRequest of(const QString& child)
    {
        ReportRequest request;
        request.child = child;
        return request;
    }

    // Each needle occurs in text, each after the one before.
    static bool inOrder(const QString& text, const QStringList& needles)
    {
        qsizetype from = 0;
        for (const QString& needle : needles) {
            const qsizetype at = text.indexOf(needle, from);
            if (at < 0) {
                qWarning("missing or out of order: %s", qPrintable(needle));
                return false;
            }
            from = at + needle.size();
        }
        return true;
    }

    // Every page says "第 N 页，共 M 页" with M the real page count.
    static void checkPageNumbers(const QString& pdf, const QString& text)
    {
        const int pages = ReportFixture::pages(pdf);
        QVERIFY(pages > 0);
        static const QRegularExpression total(QStringLiteral("共 (\\d+) 页"));
        auto matches = total.globalMatch(text);
        int seen = 0;
        while (matches.hasNext()) {
            QCOMPARE(matches.next().captured(1).toInt(), pages);
            ++seen;
        }
        QCOMPARE(seen, pages);
        QStringList numbers;
        for (int n = 1; n <= pages; ++n)
            numbers << QStringLiteral("第 %1 页，共 %2 页").arg(n).arg(pages);
        QVERIFY(inOrder(text, numbers));
    }

private slots:
    void everySectionInOrderWithTheAssessment()
    {
        ReportFixture f;
        f.fill();
        const QString pdf = save(of(QStringLiteral("小明")));
        const QString text = ReportFixture::text(pdf);

        QVERIFY(
            inOrder(text, {QStringLiteral("儿童健康报告"), QStringLiteral("姓名：小明"), QStringLiteral("性别：男"),
                           QStringLiteral("报告日期：2026-12-08"), QStringLiteral("概况"), QStringLiteral("生长曲线"),
                           QStringLiteral("测量记录"), QStringLiteral("预防接种记录"), QStringLiteral("病历记录")}));
        // The summary gives the latest values with the verdict of their age.
        QVERIFY(text.contains(QStringLiteral("最近一次身高：93.4 厘米，2.5岁时（2026-06-15 测量），评估：正常")));
        QVERIFY(text.contains(QStringLiteral("最近一次体重：14.0 公斤，2.5岁时（2026-06-15 测量），评估：正常")));

        const qsizetype table = text.indexOf(QStringLiteral("测量记录"), text.indexOf(QStringLiteral("生长曲线")));
        const QString rows = text.mid(table);
        QStringList dates;
        for (const ReportFixture::Row& r : ReportFixture::measurements())
            dates << HealthReports::dateText(r.date);
        QVERIFY(inOrder(rows, dates));
        QVERIFY(rows.contains(QStringLiteral("12个月")));
        QVERIFY(rows.contains(QStringLiteral("2.5岁")));
        QVERIFY(rows.contains(QStringLiteral("68.5")));
        QVERIFY(rows.contains(QStringLiteral("身高偏低，体重正常")));
        QVERIFY(rows.contains(QStringLiteral("身高正常，体重偏高")));
        // The untouched blood-pressure template is no measurement.
        QVERIFY(!text.contains(QStringLiteral("收缩压=?")));

        const QString later = text.mid(text.indexOf(QStringLiteral("预防接种记录"), table));
        QVERIFY(inOrder(later,
                        {QStringLiteral("2024-01-15"), QStringLiteral("乙肝疫苗"), QStringLiteral("第二针"),
                         QStringLiteral("2024-03-15"), QStringLiteral("脊灰疫苗"), QStringLiteral("2026-01-01"),
                         QStringLiteral("麻疹疫苗"), QStringLiteral("病历记录"), QStringLiteral("2025-03-01"),
                         QStringLiteral("发烧38.5度"), QStringLiteral("上呼吸道感染"), QStringLiteral("布洛芬混悬液"),
                         QStringLiteral("2026-02-01"), QStringLiteral("皮疹就诊"), QStringLiteral("湿疹")}));
        checkPageNumbers(pdf, text);
    }

    void textReadsBackExactlyAndFontsAreEmbedded()
    {
        ReportFixture f;
        f.fill();
        const QString pdf = save(of(QStringLiteral("小明")));
        const QString text = ReportFixture::text(pdf);
        // No Kangxi radical or CJK radical stands in for an ideograph.
        for (const QChar c : text)
            QVERIFY2(c.unicode() < 0x2e80 || c.unicode() > 0x2fdf, qPrintable(QString(c)));
        QVERIFY(text.contains(QStringLiteral("小明")));
        QVERIFY(text.contains(QStringLiteral("身高")));

        const QStringList fonts = ReportFixture::run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
        int listed = 0;
        for (const QString& line : fonts.mid(2)) {
            if (line.trimmed().isEmpty())
                continue;
            ++listed;
            const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            // name type... emb sub uni object ID: emb is the fifth column from the end.
            QCOMPARE(columns.at(columns.size() - 5), QStringLiteral("yes"));
        }
        QVERIFY(listed > 0);
    }

    void aFontThatMisreadsIsNotChosen()
    {
        // The reason for the choice: this family names 小's glyph with the radical ⼩.
        if (QFontDatabase::hasFamily(QStringLiteral("Noto Sans CJK SC")))
            QVERIFY(ReportFonts::misread(QStringLiteral("Noto Sans CJK SC"), QStringLiteral("小明")).contains(u'小'));
        const QString text = QStringLiteral("小明身高体重页一二人口大日月水火山石目儿");
        const QString family = ReportFonts::familyFor(text);
        QVERIFY2(ReportFonts::misread(family, text).isEmpty(), qPrintable(family));
    }

    void aChildWithoutRecordsSaysSoInEachSection()
    {
        ReportFixture f;
        f.addChild(QStringLiteral("小红"));
        const QString pdf = save(of(QStringLiteral("小红")));
        const QString text = ReportFixture::text(pdf);
        QVERIFY(inOrder(text, {QStringLiteral("本期间没有身高的测量。"), QStringLiteral("本期间没有体重的测量。"),
                               QStringLiteral("本期间没有身高和体重的测量，无法绘制生长曲线。"),
                               QStringLiteral("本期间没有测量记录。"), QStringLiteral("本期间没有预防接种记录。"),
                               QStringLiteral("本期间没有病历记录。")}));
        QVERIFY(text.contains(QStringLiteral("性别：未记录")));
        QCOMPARE(ReportFixture::pages(pdf), 1);
        checkPageNumbers(pdf, text);
    }

    void aLongRecordRunsOnOverPagesWhole()
    {
        ReportFixture f;
        f.addChild(QStringLiteral("小明"));
        QString diagnosis;
        for (int i = 0; diagnosis.size() < 5000; ++i)
            diagnosis += QStringLiteral("第%1句：孩子夜间咳嗽，体温正常，建议观察。").arg(i);
        diagnosis.truncate(5000);
        f.addMedicalRecord(QStringLiteral("小明"), 20260301, QStringLiteral("长期咳嗽"), diagnosis);
        // A table row longer than a page runs on too: notes of 5,000 bytes.
        QString notes;
        for (int i = 0; notes.size() < 2500; ++i)
            notes += QStringLiteral("观察%1：接种后精神好。").arg(i);
        notes.truncate(2500);
        f.addImmunisation(QStringLiteral("小明"), 20260201, QStringLiteral("乙肝疫苗"), QStringLiteral("第三针"),
                          notes);
        const QString pdf = save(of(QStringLiteral("小明")));
        QVERIFY(ReportFixture::pages(pdf) >= 4);

        // Read in drawing order, without the page headers, the text is there whole.
        QString body;
        for (const QString& line : ReportFixture::text(pdf, true).split(QLatin1Char('\n'))) {
            if (!line.contains(QStringLiteral("儿童健康报告　姓名")) && !line.contains(QStringLiteral("页，共")))
                body += line;
        }
        body.remove(QRegularExpression(QStringLiteral("\\s")));
        QVERIFY(body.contains(QStringLiteral("诊断：") + diagnosis));
        // The table's heading row is repeated on each page the row runs on to.
        QVERIFY(body.remove(QStringLiteral("日期疫苗剂次备注")).contains(notes));
        checkPageNumbers(pdf, ReportFixture::text(pdf));
    }

    void namesWithQuotes()
    {
        ReportFixture f;
        const QString name = QStringLiteral("王\"小'花");
        f.addChild(name);
        f.addMeasurement(name, {20260101, "3岁", 96.0, 14.5});
        f.addMedicalRecord(name, 20260102, QStringLiteral("“咳嗽”'复诊'"), QStringLiteral("无\"大碍\""));
        const QString text = ReportFixture::text(save(of(name)));
        QVERIFY(text.contains(QStringLiteral("姓名：王\"小'花")));
        QVERIFY(text.contains(QStringLiteral("“咳嗽”'复诊'")));
        QVERIFY(text.contains(QStringLiteral("无\"大碍\"")));
    }

    void thePeriodChoosesTheRecords()
    {
        ReportFixture f;
        f.fill();
        ReportRequest request = of(QStringLiteral("小明"));
        request.from = QDate(2025, 1, 1);
        request.to = QDate(2025, 12, 31);
        const QString text = ReportFixture::text(save(request));
        QVERIFY(text.contains(QStringLiteral("记录期间：2025-01-01 至 2025-12-31")));
        QVERIFY(inOrder(text, {QStringLiteral("2025-01-15"), QStringLiteral("2025-12-15"),
                               QStringLiteral("本期间没有预防接种记录。"), QStringLiteral("发烧38.5度")}));
        for (const char* outside : {"2024-01-15", "2026-06-15", "乙肝疫苗", "皮疹就诊"})
            QVERIFY2(!text.contains(QString::fromUtf8(outside)), outside);
        // The latest values are the latest of the period.
        QVERIFY(text.contains(QStringLiteral("最近一次体重：17.5 公斤，2岁时（2025-12-15 测量），评估：偏高")));
    }

    void onlyTheChosenSections()
    {
        ReportFixture f;
        f.fill();
        ReportRequest request = of(QStringLiteral("小明"));
        request.sections = ReportSection::Immunisations;
        const QString text = ReportFixture::text(save(request));
        QVERIFY(text.contains(QStringLiteral("乙肝疫苗")));
        for (const char* left : {"概况", "生长曲线", "测量记录", "病历记录"})
            QVERIFY2(!text.contains(QString::fromUtf8(left)), left);
    }

    void unknownChildNamesTheChildren()
    {
        ReportFixture f;
        f.fill();
        f.addChild(QStringLiteral("小红"));
        const ResultOf<HealthReport> report = HealthReports::build(of(QStringLiteral("小刚")));
        QVERIFY(!report);
        QVERIFY(report.message().contains(QStringLiteral("小刚")));
        QVERIFY(report.message().contains(QStringLiteral("小红、小明")));
    }

    void anUnwritablePlaceLeavesNoFile()
    {
        ReportFixture f;
        f.fill();
        const ResultOf<HealthReport> report = HealthReports::build(of(QStringLiteral("小明")));
        QVERIFY(report);
        const QString path = m_out.filePath(QStringLiteral("no such folder/report.pdf"));
        const Result saved = PdfReport::save(*report, path);
        QVERIFY(!saved);
        QVERIFY(saved.message().contains(QStringLiteral("不能写入")));
        QVERIFY(!QFile::exists(path));
    }

    void everyMeasurementIsDrawnAndJudged()
    {
        // More points than one screen chart holds, in both units, a month label with text after it.
        HealthReport report;
        report.sex = QStringLiteral("女");
        for (int i = 0; i < 600; ++i)
            report.measurements.append({20200101 + i,
                                        QString::number(2 + (i % 33) / 2.0) + QStringLiteral("岁"),
                                        85.0 + i * 0.1,
                                        12.0,
                                        0,
                                        {},
                                        {},
                                        {},
                                        {},
                                        {}});
        report.measurements.append({20220101, QStringLiteral("6个月"), 66.0, 7.5, 0, {}, {}, {}, {}, {}});
        References references;
        references.heights = {{QStringLiteral("6个月"), 62.1, 71.5}, {QStringLiteral("2岁"), 80.5, 94.3}};
        references.weights = {{QStringLiteral("6个月"), 6.3, 9.6}};
        HealthReports::assessGrowth(report, references);
        QCOMPARE(report.heightSeries.child.size(), 601);
        QCOMPARE(report.heightSeries.child.first().months, 6.0);
        QCOMPARE(report.heightSeries.child.last().months, 18 * 12.0);
        // Year ages join the month ages on one axis in months.
        QCOMPARE(report.heightSeries.reference.size(), 2);
        QCOMPARE(report.heightSeries.reference.last().age, 24.0);
        QCOMPARE(report.measurements.last().heightVerdict, Verdict::Normal);
        QCOMPARE(report.measurements.last().weightVerdict, Verdict::Normal);
        QCOMPARE(report.measurements.first().heightVerdict, Verdict::Normal);
        // No weight reference for years: nothing to judge.
        QCOMPARE(report.measurements.first().weightVerdict, Verdict::Unknown);
        QCOMPARE(report.latestHeight.value, 66.0);
    }

    void verdictsAgainstTheRangeAtTheAge()
    {
        const QList<ChartData::Range> ranges = {{12, 82.1, 71.2}, {15, 85.8, 74.0}};
        QCOMPARE(GrowthAssessment::rangeAt(ranges, 12)->min, 71.2);
        // Between two reference ages the range is read off the straight line the charts draw.
        QCOMPARE(GrowthAssessment::rangeAt(ranges, 13)->min, 71.2 + (74.0 - 71.2) / 3);
        QVERIFY(!GrowthAssessment::rangeAt(ranges, 11));
        QVERIFY(!GrowthAssessment::rangeAt(ranges, 16));
        QCOMPARE(GrowthAssessment::judge(71.1, ranges.first()), Verdict::Low);
        QCOMPARE(GrowthAssessment::judge(71.2, ranges.first()), Verdict::Normal);
        QCOMPARE(GrowthAssessment::judge(82.2, ranges.first()), Verdict::High);
        // Not measured, or no range: nothing to judge.
        QCOMPARE(GrowthAssessment::judge(0, ranges.first()), Verdict::Unknown);
        QCOMPARE(GrowthAssessment::judge(75, std::nullopt), Verdict::Unknown);
        QCOMPARE(GrowthAssessment::assessmentText(Verdict::Low, Verdict::Unknown), QStringLiteral("身高偏低，体重—"));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"

// The health report of a child with 1,000 measurements, 500 immunisations and 500 medical
// records, read from the database, laid out and saved as a PDF, against the same rows read
// through the same bindings and printed as one plain HTML table through QTextDocument to a
// QPdfWriter (the goal's baseline), and, for scale, against the rows painted as plain lines of
// text. They run in turn over several rounds; medians and ranges are printed.
//
//   bench_report [ROUNDS [KEEP-FOLDER]]     default 5 rounds; the last report is copied to KEEP-FOLDER
#include "bench/BenchDatabase.h"
#include "bench/BenchSupport.h"
#include "common/Clock.h"
#include "data/tables/CBNRONG.h"
#include "data/tables/CFNRONG.h"
#include "data/tables/CPPER.h"
#include "report/HealthReport.h"
#include "report/PdfReport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QTextDocument>

#include <algorithm>

namespace {

const QString Child = QStringLiteral("小明");

void fill()
{
    TransactionGuard transaction;
    QSqlQuery query(Database::connection());
    query.prepare(QStringLiteral("INSERT INTO user (username) VALUES (?)"));
    query.addBindValue(Child);
    query.exec();
    query.prepare(QStringLiteral("INSERT INTO personinfo ([用户名], [性别], [年龄], [身高], [体重], [饮食], [心率], "
                                 "[血压], [睡眠], [日期], [操作]) VALUES (?, '男', ?, ?, ?, ?, ?, ?, ?, ?, '妈妈')"));
    for (int i = 0; i < 1000; ++i) {
        // Ages from birth to 18 years, both units, as a family measuring often would have them.
        const int months = i * 216 / 1000;
        const QString age = months < 24 ? QStringLiteral("%1个月").arg(months)
                                        : QStringLiteral("%1岁").arg(QString::number(months / 6 / 2.0));
        query.addBindValue(Child);
        query.addBindValue(age);
        query.addBindValue(50 + months * 0.6);
        query.addBindValue(3.5 + months * 0.25);
        query.addBindValue(QStringLiteral("米饭、蔬菜和牛奶"));
        query.addBindValue(90 + i % 40);
        query.addBindValue(QStringLiteral("收缩压=100舒张压=65"));
        query.addBindValue(QStringLiteral("睡眠良好，十小时"));
        query.addBindValue(DateKey::fromDate(QDate(2008, 1, 1).addDays(i * 6)));
        query.exec();
    }
    query.prepare(QStringLiteral("INSERT INTO cfnrong (username, title, nrong, riqi, leixing) VALUES (?, ?, ?, ?, ?)"));
    for (int i = 0; i < 500; ++i) {
        query.addBindValue(Child);
        query.addBindValue(QStringLiteral("第%1针").arg(i % 4 + 1));
        query.addBindValue(QStringLiteral("左上臂接种，观察三十分钟，无不良反应。"));
        query.addBindValue(DateKey::fromDate(QDate(2008, 1, 1).addDays(i * 12)));
        query.addBindValue(QStringLiteral("乙肝疫苗"));
        query.exec();
    }
    query.prepare(
        QStringLiteral("INSERT INTO bnrong (leixing, username, title, chufang, zhengzhuang, zhenduan, zaozuo, "
                       "riqi) VALUES ('感冒发烧', ?, ?, ?, ?, ?, '妈妈', ?)"));
    for (int i = 0; i < 500; ++i) {
        query.addBindValue(Child);
        query.addBindValue(QStringLiteral("第%1次发烧").arg(i));
        query.addBindValue(QStringLiteral("退烧药，每次5毫升，一天三次，多喝温水。"));
        query.addBindValue(QStringLiteral("夜里发烧到38.5度，流鼻涕，精神尚可，食欲稍差。"));
        query.addBindValue(QStringLiteral("病毒性上呼吸道感染，注意观察体温，三天不退烧再来复诊。"));
        query.addBindValue(DateKey::fromDate(QDate(2008, 1, 1).addDays(i * 12)));
        query.exec();
    }
    (void)transaction.commit();
}

// The same rows as the report, through the same bindings, as the baselines print them.
QList<QStringList> readRows()
{
    QList<QStringList> rows;
    CPPER measurements;
    (void)measurements.openOfChildInDateOrder(Child, 0, 99991231);
    for (; !measurements.isEOF(); measurements.moveNext())
        rows << QStringList{QString::number(measurements.m_date),
                            measurements.m_age,
                            QString::number(measurements.m_height),
                            QString::number(measurements.m_weight),
                            QString::number(measurements.m_heartRate),
                            measurements.m_bloodPressure,
                            measurements.m_diet,
                            measurements.m_sleep};
    CFNRONG immunisations;
    (void)immunisations.openOfChildInDateOrder(Child, 0, 99991231);
    for (; !immunisations.isEOF(); immunisations.moveNext())
        rows << QStringList{QString::number(immunisations.m_riqi), immunisations.m_leixing, immunisations.m_title,
                            immunisations.m_nrong};
    CBNRONG records;
    (void)records.openOfChildInDateOrder(Child, 0, 99991231);
    for (; !records.isEOF(); records.moveNext())
        rows << QStringList{QString::number(records.m_riqi), records.m_title, records.m_zhengzhuang, records.m_zhenduan,
                            records.m_chufang};
    return rows;
}

// The baseline of the goal: one plain HTML table, QTextDocument to PDF.
void plainTable(const QString& path)
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">");
    for (const QStringList& row : readRows()) {
        html += QStringLiteral("<tr>");
        for (const QString& text : row)
            html += QStringLiteral("<td>") + text.toHtmlEscaped() + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    QTextDocument document;
    document.setHtml(html);
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    document.print(&writer);
}

// A floor, for scale: each row as one line of text painted straight onto the PDF, no layout.
void plainLines(const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("Droid Sans Fallback"), 9));
    double y = 50;
    for (const QStringList& row : readRows()) {
        if (y > 800) {
            writer.newPage();
            y = 50;
        }
        painter.drawText(QPointF(40, y), row.join(QStringLiteral("  ")));
        y += 13;
    }
}

void healthReport(const QString& path)
{
    ReportRequest request;
    request.child = Child;
    const ResultOf<HealthReport> report = HealthReports::build(request);
    if (!report || !PdfReport::save(*report, path))
        qFatal("the report failed: %s", qPrintable(report.error()));
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    QTemporaryDir dir;
    if (openBenchDatabase(dir).isEmpty())
        return 1;
    fill();
    const QString reportPath = dir.filePath(QStringLiteral("report.pdf"));
    const QString tablePath = dir.filePath(QStringLiteral("table.pdf"));
    // One untimed run of each loads fonts and warms the file cache.
    healthReport(reportPath);
    plainTable(tablePath);

    plainLines(dir.filePath(QStringLiteral("lines.pdf")));
    const QString linesPath = dir.filePath(QStringLiteral("lines.pdf"));
    Figure table{QStringLiteral("report"),
                 QStringLiteral("health report of 1,000 measurements, 500 immunisations and 500 medical records to PDF "
                                "vs one plain HTML table through QTextDocument"),
                 2.0};
    Figure lines{QStringLiteral("report_lines"),
                 QStringLiteral("the same report vs plain lines of text painted to PDF, no layout (a floor)"), 0};
    for (int round = 0; round < rounds; ++round) {
        // The order turns each round, so no side always runs on a warmer machine.
        double times[3] = {0, 0, 0};
        const std::function<void()> runs[] = {[&] { times[0] = timeMs([&] { healthReport(reportPath); }); },
                                              [&] { times[1] = timeMs([&] { plainTable(tablePath); }); },
                                              [&] { times[2] = timeMs([&] { plainLines(linesPath); }); }};
        for (int i = 0; i < 3; ++i)
            runs[(round + i) % 3]();
        table.add(times[0], times[1]);
        lines.add(times[0], times[2]);
    }
    report(table);
    // The floor has no goal: it shows what is left once layout is taken away.
    QTextStream(stdout) << lines.what << ": ratio " << BenchDetail::number(lines.ratios().median()) << ' '
                        << BenchDetail::spread(lines.ratios()) << Qt::endl;
    if (argc > 2) {
        const QString kept = QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("bench-report.pdf"));
        QFile::remove(kept);
        QFile::copy(reportPath, kept);
    }
    Database::close();
    return 0;
}

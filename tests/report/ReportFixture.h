#pragma once

#include "tests/support/FixedClock.h"
#include "tests/support/TestDatabase.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

// A boy, 小明, with measurements in months and in years, immunisations and medical records on a
// fresh database; and the poppler tools that read a PDF back.
class ReportFixture
{
public:
    struct Row
    {
        int date;
        const char* age;
        double height;
        double weight;
    };
    // Heights and weights against the boys' reference: the 12-month height is below its range,
    // the 2-year weight above; every other value lies well inside.
    static QList<Row> measurements()
    {
        return {{20240115, "1个月", 55.0, 4.6},   {20240415, "3个月", 62.0, 6.8}, {20240715, "6个月", 68.5, 8.6},
                {20250115, "12个月", 68.0, 10.3}, {20251215, "2岁", 88.5, 17.5},  {20260615, "2.5岁", 93.4, 14.0}};
    }

    ReportFixture() { Clock::install(&m_clock); }
    ~ReportFixture() { Clock::install(nullptr); }

    TestDatabase& db() { return m_db; }

    void addChild(const QString& name) const
    {
        m_db.exec(QStringLiteral("INSERT INTO [user] (username) VALUES (?)"), {name});
    }
    void addMeasurement(const QString& child, const Row& r) const
    {
        m_db.exec(QStringLiteral("INSERT INTO personinfo ([用户名], [性别], [年龄], [身高], [体重], [饮食], [心率], "
                                 "[血压], [睡眠], [日期], [操作]) VALUES (?, '男', ?, ?, ?, '母乳', 120, "
                                 "'收缩压=?舒张压=?', '良好', ?, '妈妈')"),
                  {child, QString::fromUtf8(r.age), r.height, r.weight, r.date});
    }
    void addImmunisation(const QString& child, int date, const QString& vaccine, const QString& dose,
                         const QString& notes) const
    {
        m_db.exec(QStringLiteral("INSERT INTO cfnrong (username, title, nrong, riqi, leixing) VALUES (?, ?, ?, ?, ?)"),
                  {child, dose, notes, date, vaccine});
    }
    void addMedicalRecord(const QString& child, int date, const QString& title, const QString& diagnosis) const
    {
        m_db.exec(
            QStringLiteral("INSERT INTO bnrong (leixing, username, title, chufang, zhengzhuang, zhenduan, zaozuo, "
                           "riqi) VALUES ('感冒发烧', ?, ?, '多喝水，布洛芬混悬液', '咳嗽、流涕', ?, '妈妈', ?)"),
            {child, title, diagnosis, date});
    }

    // 小明 with everything; rows are added out of date order, as a family enters them late.
    void fill() const
    {
        const QString child = QStringLiteral("小明");
        addChild(child);
        QList<Row> rows = measurements();
        std::swap(rows[1], rows[4]);
        for (const Row& r : rows)
            addMeasurement(child, r);
        addImmunisation(child, 20260101, QStringLiteral("麻疹疫苗"), QStringLiteral("加强"),
                        QStringLiteral("轻微发热一天"));
        addImmunisation(child, 20240115, QStringLiteral("乙肝疫苗"), QStringLiteral("第二针"),
                        QStringLiteral("左上臂，无不适"));
        addImmunisation(child, 20240315, QStringLiteral("脊灰疫苗"), QStringLiteral("初免第一针"),
                        QStringLiteral("口服"));
        addMedicalRecord(child, 20260201, QStringLiteral("皮疹就诊"), QStringLiteral("湿疹"));
        addMedicalRecord(child, 20250301, QStringLiteral("发烧38.5度"), QStringLiteral("上呼吸道感染"));
    }

    // Output of a poppler tool; fails the test when it does not run.
    static QString run(const QString& program, const QStringList& args)
    {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            QTest::qFail(qPrintable(program + QStringLiteral(" is missing: install poppler-utils")), __FILE__,
                         __LINE__);
            return {};
        }
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            QTest::qFail(
                qPrintable(program + QStringLiteral(" failed: ") + QString::fromUtf8(p.readAllStandardError())),
                __FILE__, __LINE__);
            return {};
        }
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    static QString text(const QString& pdf, bool raw = false)
    {
        QStringList args;
        if (raw)
            args << QStringLiteral("-raw");
        return run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
    }
    static int pages(const QString& pdf)
    {
        static const QRegularExpression line(QStringLiteral("Pages:\\s+(\\d+)"));
        return line.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
    }

private:
    FixedClock m_clock{QDateTime(QDate(2026, 12, 8), QTime(9, 0))};
    TestDatabase m_db;
};

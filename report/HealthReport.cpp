#include "report/HealthReport.h"

#include "common/Clock.h"
#include "data/Children.h"
#include "data/tables/CBNRONG.h"
#include "data/tables/CFNRONG.h"
#include "data/tables/CPPER.h"
#include "health/AgeLabels.h"
#include "report/ReportTr.h"

#include <algorithm>
#include <cmath>

namespace HealthReports {

namespace {

// Date keys that leave a period open at either end.
constexpr int EarliestKey = 0;
constexpr int LatestKey = 99991231;

int keyOf(const QDate& date, int open)
{
    return date.isValid() ? DateKey::fromDate(date) : open;
}

// The blood-pressure field starts with this template; left as it is, nothing was measured.
bool bloodPressureMeasured(const QString& text)
{
    return !text.trimmed().isEmpty() && text != QStringLiteral("收缩压=?舒张压=?");
}

Result readMeasurements(HealthReport& report, int from, int to)
{
    CPPER records;
    if (Result r = records.openOfChildInDateOrder(report.child, from, to); !r)
        return r;
    for (; !records.isEOF(); records.moveNext()) {
        ReportMeasurement m;
        m.date = records.m_date;
        m.age = records.m_age;
        m.height = records.m_height;
        m.weight = records.m_weight;
        m.heartRate = records.m_heartRate;
        m.bloodPressure = bloodPressureMeasured(records.m_bloodPressure) ? records.m_bloodPressure : QString();
        m.diet = records.m_diet;
        m.sleep = records.m_sleep;
        report.measurements.append(m);
        if (!records.m_sex.trimmed().isEmpty())
            report.sex = records.m_sex.trimmed();
    }
    return {};
}

Result readImmunisations(HealthReport& report, int from, int to)
{
    CFNRONG records;
    if (Result r = records.openOfChildInDateOrder(report.child, from, to); !r)
        return r;
    for (; !records.isEOF(); records.moveNext())
        report.immunisations.append({records.m_riqi, records.m_leixing, records.m_title, records.m_nrong});
    return {};
}

Result readMedicalRecords(HealthReport& report, int from, int to)
{
    CBNRONG records;
    if (Result r = records.openOfChildInDateOrder(report.child, from, to); !r)
        return r;
    for (; !records.isEOF(); records.moveNext())
        report.medicalRecords.append({records.m_riqi, records.m_leixing, records.m_title, records.m_zhengzhuang,
                                      records.m_zhenduan, records.m_chufang});
    return {};
}

QList<ChartData::Range> inMonths(QList<ChartData::Range> ranges, double factor)
{
    for (ChartData::Range& range : ranges)
        range.age *= factor;
    return ranges;
}

LatestValue latestOf(const QList<ReportMeasurement>& measurements, double ReportMeasurement::*value,
                     Verdict ReportMeasurement::*verdict)
{
    LatestValue latest;
    for (const ReportMeasurement& m : measurements) {
        if (m.*value > 0)
            latest = {true, m.*value, m.age, m.date, m.*verdict};
    }
    return latest;
}

} // namespace

QString dateText(int dateKey)
{
    const QDate date = DateKey::toDate(dateKey);
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString::number(dateKey);
}

void assessGrowth(HealthReport& report, const std::optional<References>& references)
{
    QList<Measurement> rows;
    for (const ReportMeasurement& m : report.measurements)
        rows.append({m.age, m.height, m.weight, report.sex});
    const QList<ReferenceRow>* heights = references ? &references->heights : nullptr;
    const QList<ReferenceRow>* weights = references ? &references->weights : nullptr;

    // The child's points of each unit, as the screen's charts take them. A screen chart holds
    // at most MaxPoints points; the report takes the rows in parts of that size so that it
    // shows every measurement of the period.
    QList<ChartData::Point> points;
    for (qsizetype from = 0; from < rows.size(); from += ChartData::MaxPoints) {
        const QList<Measurement> part = rows.mid(from, ChartData::MaxPoints);
        ChartData monthChart;
        GrowthAssessment::assess(monthChart, AgeUnit::Months, {}, part, nullptr, nullptr);
        if (monthChart.months)
            points += monthChart.child;
        ChartData yearChart;
        GrowthAssessment::assess(yearChart, AgeUnit::Years, {}, part, nullptr, nullptr);
        if (!yearChart.months) {
            for (ChartData::Point p : yearChart.child) {
                p.age *= 12;
                points.append(p);
            }
        }
    }

    const QList<ReferenceRow> none;
    const QList<ChartData::Range> monthHeights = GrowthAssessment::rangesOf(heights ? *heights : none, true);
    const QList<ChartData::Range> yearHeights = GrowthAssessment::rangesOf(heights ? *heights : none, false);
    const QList<ChartData::Range> monthWeights = GrowthAssessment::rangesOf(weights ? *weights : none, true);
    const QList<ChartData::Range> yearWeights = GrowthAssessment::rangesOf(weights ? *weights : none, false);

    for (ReportMeasurement& m : report.measurements) {
        const AgeUnit unit = GrowthAssessment::unitOf(m.age);
        const std::optional<double> age = AgeLabels::leadingNumber(m.age);
        if (unit == AgeUnit::None || !age)
            continue;
        const bool months = unit == AgeUnit::Months;
        // A month label counts whole months, as the charts place it.
        const double at = months ? std::floor(*age) : *age;
        m.heightVerdict =
            GrowthAssessment::judge(m.height, GrowthAssessment::rangeAt(months ? monthHeights : yearHeights, at));
        m.weightVerdict =
            GrowthAssessment::judge(m.weight, GrowthAssessment::rangeAt(months ? monthWeights : yearWeights, at));
    }

    report.latestHeight = latestOf(report.measurements, &ReportMeasurement::height, &ReportMeasurement::heightVerdict);
    report.latestWeight = latestOf(report.measurements, &ReportMeasurement::weight, &ReportMeasurement::weightVerdict);

    std::stable_sort(points.begin(), points.end(),
                     [](const ChartData::Point& a, const ChartData::Point& b) { return a.age < b.age; });
    report.heightSeries = {};
    report.weightSeries = {};
    for (const ChartData::Point& p : points) {
        if (p.height > 0)
            report.heightSeries.child.append({p.age, p.height});
        if (p.weight > 0)
            report.weightSeries.child.append({p.age, p.weight});
    }
    report.heightSeries.reference = monthHeights + inMonths(yearHeights, 12);
    report.weightSeries.reference = monthWeights + inMonths(yearWeights, 12);
}

ResultOf<HealthReport> build(const ReportRequest& request)
{
    ResultOf<bool> known = Children::exists(request.child);
    if (!known)
        return Result(known);
    if (!*known) {
        const ResultOf<QStringList> names = Children::newestFirst();
        const QStringList children = names.valueOr({});
        if (children.isEmpty())
            return Result::failure(
                ReportTr::tr("没有名叫“%1”的孩子，记录里还没有任何孩子。请先在“基本健康管理”中添加孩子。")
                    .arg(request.child));
        return Result::failure(ReportTr::tr("没有名叫“%1”的孩子。记录里的孩子有：%2。请用其中一个名字。")
                                   .arg(request.child, children.join(QStringLiteral("、"))));
    }
    if (request.from.isValid() && request.to.isValid() && request.from > request.to)
        return Result::failure(ReportTr::tr("报告的起始日期（%1）晚于结束日期（%2）。请重新选择期间。")
                                   .arg(request.from.toString(QStringLiteral("yyyy-MM-dd")),
                                        request.to.toString(QStringLiteral("yyyy-MM-dd"))));

    HealthReport report;
    report.child = request.child;
    report.reportDate = request.reportDate.isValid() ? request.reportDate : Clock::current().today();
    report.from = request.from;
    report.to = request.to;
    report.sections = request.sections;
    const int from = keyOf(request.from, EarliestKey);
    const int to = keyOf(request.to, LatestKey);
    if (Result r = readMeasurements(report, from, to); !r)
        return r;
    if (Result r = readImmunisations(report, from, to); !r)
        return r;
    if (Result r = readMedicalRecords(report, from, to); !r)
        return r;
    ResultOf<std::optional<References>> references = GrowthAssessment::referencesFor(report.sex);
    if (!references)
        return Result(references);
    assessGrowth(report, *references);
    return report;
}

} // namespace HealthReports

QString HealthReport::periodText() const
{
    const QString format = QStringLiteral("yyyy-MM-dd");
    if (!from.isValid() && !to.isValid())
        return ReportTr::tr("全部记录");
    if (!to.isValid())
        return ReportTr::tr("%1 以后").arg(from.toString(format));
    if (!from.isValid())
        return ReportTr::tr("%1 以前").arg(to.toString(format));
    return ReportTr::tr("%1 至 %2").arg(from.toString(format), to.toString(format));
}

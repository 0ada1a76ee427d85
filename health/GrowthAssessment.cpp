#include "health/GrowthAssessment.h"

#include "data/tables/CPPER.h"
#include "data/tables/GrowthReference.h"
#include "health/AgeLabels.h"
#include "health/HealthTr.h"

#include <algorithm>
#include <cmath>

namespace GrowthAssessment {

namespace {

// The largest values a chart is asked to draw. Rows that another program or an older version
// wrote may hold anything; what lies outside these is left out rather than converted to pixels.
constexpr double MaxAgeMonths = 18 * 12;
constexpr double MaxAgeYears = 18;
constexpr double MaxValue = 300;

bool drawable(double value, double max)
{
    return std::isfinite(value) && value >= 0 && value <= max;
}

bool drawableAge(double age, bool months)
{
    return drawable(age, months ? MaxAgeMonths : MaxAgeYears);
}

Result readReference(GrowthReferenceRecordset& table, QList<ReferenceRow>& rows)
{
    if (Result r = table.open(QStringLiteral("select * from [%1] order by ID").arg(table.table())); !r)
        return r;
    for (; !table.isEOF(); table.moveNext())
        rows.append({table.m_nianling, table.m_min, table.m_max});
    return {};
}

} // namespace

QList<ChartData::Range> rangesOf(const QList<ReferenceRow>& rows, bool months)
{
    QList<ChartData::Range> ranges;
    for (const ReferenceRow& row : rows) {
        if (ranges.size() >= ChartData::MaxPoints)
            break;
        // Rows whose label has "月" are month rows; every other row is a year row.
        if (AgeLabels::isMonths(row.label) != months)
            continue;
        const double age = AgeLabels::leadingNumber(row.label).value_or(0);
        if (!drawableAge(age, months) || !drawable(row.max, MaxValue) || !drawable(row.min, MaxValue))
            continue;
        ranges.append({age, row.max, row.min});
    }
    return ranges;
}

AgeUnit unitOf(const QString& label)
{
    // A label such as "1岁3个月" is years: the year check comes after the month check and wins.
    if (AgeLabels::isYears(label))
        return AgeUnit::Years;
    if (AgeLabels::isMonths(label))
        return AgeUnit::Months;
    return AgeUnit::None;
}

void assess(ChartData& chart, AgeUnit unit, const QString& chosenLabel, const QList<Measurement>& rows,
            const QList<ReferenceRow>* heights, const QList<ReferenceRow>* weights)
{
    QList<ChartData::Point> monthPoints;
    QList<ChartData::Point> yearPoints;
    // A chosen age beyond the axes puts the marker at their end.
    const std::optional<double> chosen = AgeLabels::leadingNumber(chosenLabel);
    if (unit == AgeUnit::Months && chosen)
        chart.selectedMonths = int(std::clamp(*chosen, 0.0, MaxAgeMonths));
    else if (unit == AgeUnit::Years && chosen)
        chart.selectedYears = std::clamp(*chosen, 0.0, MaxAgeYears);

    for (const Measurement& row : rows) {
        const double age = AgeLabels::leadingNumber(row.age).value_or(0);
        const bool months = unit == AgeUnit::Months;
        if (unit == AgeUnit::None || !drawableAge(age, months) || !drawable(row.height, MaxValue) ||
            !drawable(row.weight, MaxValue))
            continue;
        if (months && AgeLabels::isMonths(row.age) && monthPoints.size() < ChartData::MaxPoints)
            monthPoints.append({std::floor(age), row.height, row.weight});
        else if (!months && AgeLabels::isYears(row.age) && yearPoints.size() < ChartData::MaxPoints)
            yearPoints.append({age, row.height, row.weight});
    }

    chart.months = yearPoints.isEmpty();
    chart.child = chart.months ? monthPoints : yearPoints;
    std::stable_sort(chart.child.begin(), chart.child.end(),
                     [](const ChartData::Point& a, const ChartData::Point& b) { return a.age < b.age; });

    if (heights)
        chart.heightReference = rangesOf(*heights, chart.months);
    if (weights)
        chart.weightReference = rangesOf(*weights, chart.months);
}

ResultOf<std::optional<References>> referencesFor(const QString& sex)
{
    std::unique_ptr<GrowthReferenceRecordset> heightTable;
    std::unique_ptr<GrowthReferenceRecordset> weightTable;
    if (sex == QStringLiteral("男")) {
        heightTable = std::make_unique<CBoy>();
        weightTable = std::make_unique<CBOYW>();
    } else if (sex == QStringLiteral("女")) {
        heightTable = std::make_unique<CGirl>();
        weightTable = std::make_unique<CGIRLW>();
    } else {
        return std::optional<References>();
    }
    References references;
    if (Result r = readReference(*heightTable, references.heights); !r)
        return r;
    if (Result r = readReference(*weightTable, references.weights); !r)
        return r;
    return std::optional<References>(std::move(references));
}

std::optional<ChartData::Range> rangeAt(const QList<ChartData::Range>& ranges, double age)
{
    for (qsizetype i = 0; i < ranges.size(); ++i) {
        const ChartData::Range& at = ranges.at(i);
        if (at.age == age)
            return at;
        if (i + 1 < ranges.size()) {
            const ChartData::Range& next = ranges.at(i + 1);
            if (at.age < age && age < next.age) {
                const double t = (age - at.age) / (next.age - at.age);
                return ChartData::Range{age, at.max + t * (next.max - at.max), at.min + t * (next.min - at.min)};
            }
        }
    }
    return std::nullopt;
}

Verdict judge(double value, const std::optional<ChartData::Range>& range)
{
    if (!range || !(value > 0))
        return Verdict::Unknown;
    if (value < range->min)
        return Verdict::Low;
    if (value > range->max)
        return Verdict::High;
    return Verdict::Normal;
}

QString verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Low:
        return HealthTr::tr("偏低");
    case Verdict::Normal:
        return HealthTr::tr("正常");
    case Verdict::High:
        return HealthTr::tr("偏高");
    case Verdict::Unknown:
        break;
    }
    return HealthTr::tr("—");
}

QString assessmentText(Verdict height, Verdict weight)
{
    return HealthTr::tr("身高%1，体重%2").arg(verdictText(height), verdictText(weight));
}

Result assessChild(ChartData& chart, const QString& child, AgeUnit unit, const QString& chosenLabel)
{
    CPPER records;
    if (Result r = records.openOfChild(child); !r)
        return r;
    QList<Measurement> rows;
    QString sex;
    for (; !records.isEOF(); records.moveNext()) {
        rows.append({records.m_age, records.m_height, records.m_weight, records.m_sex});
        sex = records.m_sex;
    }
    ResultOf<std::optional<References>> references = referencesFor(sex);
    if (!references)
        return references;
    const std::optional<References>& known = *references;
    assess(chart, unit, chosenLabel, rows, known ? &known->heights : nullptr, known ? &known->weights : nullptr);
    return {};
}

} // namespace GrowthAssessment

#pragma once

#include "common/Result.h"

#include <QList>
#include <QString>

#include <optional>

// What the growth charts draw: the child's points of one age unit and the reference ranges of the
// child's sex for the same unit.
struct ChartData
{
    static constexpr int MaxPoints = 500;

    struct Point
    {
        double age;
        double height;
        double weight;
    };
    struct Range
    {
        double age;
        double max;
        double min;
    };

    // true: ages in months (0-24); false: ages in years (2-18).
    bool months = true;
    QList<Point> child;
    QList<Range> heightReference;
    QList<Range> weightReference;
    int selectedMonths = 0;
    double selectedYears = 0;
};

enum class AgeUnit
{
    None,
    Months,
    Years
};

// One measurement as the assessment reads it.
struct Measurement
{
    QString age;
    double height;
    double weight;
    QString sex;
};

// One row of a reference table.
struct ReferenceRow
{
    QString label;
    double min;
    double max;
};

// The reference tables of one sex.
struct References
{
    QList<ReferenceRow> heights;
    QList<ReferenceRow> weights;
};

// How a measured value stands against the reference range at the child's age.
enum class Verdict
{
    // Not measured (0), or no reference range at that age.
    Unknown,
    Low,
    Normal,
    High
};

namespace GrowthAssessment {

// The unit a chosen age label asks for.
AgeUnit unitOf(const QString& label);

// Fills chart from a child's measurements for the chosen age label. Points are sorted by age,
// keeping the order of equal ages. References are given for the child's sex; without them (a sex
// other than 男 and 女) the chart keeps its earlier reference lines. At most MaxPoints points and
// reference rows are taken; more are ignored.
void assess(ChartData& chart, AgeUnit unit, const QString& chosenLabel, const QList<Measurement>& rows,
            const QList<ReferenceRow>* heights, const QList<ReferenceRow>* weights);

// The ranges of the reference rows of one unit (months or years) that a chart can draw, in row
// order; at most MaxPoints.
QList<ChartData::Range> rangesOf(const QList<ReferenceRow>& rows, bool months);

// The reference tables of a sex: the boys' for "男", the girls' for "女", none for any other text.
ResultOf<std::optional<References>> referencesFor(const QString& sex);

// The range at an age, drawn straight between the neighbouring reference ages as the charts draw
// it; nothing outside the ages the ranges cover.
std::optional<ChartData::Range> rangeAt(const QList<ChartData::Range>& ranges, double age);
Verdict judge(double value, const std::optional<ChartData::Range>& range);
// The words for a verdict: "偏低", "正常", "偏高", and "—" when there is nothing to judge.
QString verdictText(Verdict verdict);
// Height and weight together, as "身高正常，体重偏高".
QString assessmentText(Verdict height, Verdict weight);

// Reads a child's measurements and the reference tables of the child's sex, then assesses.
Result assessChild(ChartData& chart, const QString& child, AgeUnit unit, const QString& chosenLabel);

} // namespace GrowthAssessment

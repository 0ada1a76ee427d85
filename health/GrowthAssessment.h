#pragma once

#include "common/Result.h"

#include <QList>
#include <QString>

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

namespace GrowthAssessment {

// The unit a chosen age label asks for.
AgeUnit unitOf(const QString& label);

// Fills chart from a child's measurements for the chosen age label. Points are sorted by age,
// keeping the order of equal ages. References are given for the child's sex; without them (a sex
// other than 男 and 女) the chart keeps its earlier reference lines. At most MaxPoints points and
// reference rows are taken; more are ignored.
void assess(ChartData& chart, AgeUnit unit, const QString& chosenLabel, const QList<Measurement>& rows,
            const QList<ReferenceRow>* heights, const QList<ReferenceRow>* weights);

// Reads a child's measurements and the reference tables of the child's sex, then assesses.
Result assessChild(ChartData& chart, const QString& child, AgeUnit unit, const QString& chosenLabel);

} // namespace GrowthAssessment

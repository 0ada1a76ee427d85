#pragma once

#include "common/Result.h"
#include "health/GrowthAssessment.h"

#include <QDate>
#include <QFlags>
#include <QList>
#include <QString>

// The parts a report can hold, in the order it prints them.
enum class ReportSection
{
    Summary = 0x1,
    Charts = 0x2,
    Measurements = 0x4,
    Immunisations = 0x8,
    MedicalRecords = 0x10
};
Q_DECLARE_FLAGS(ReportSections, ReportSection)
Q_DECLARE_OPERATORS_FOR_FLAGS(ReportSections)

// What to report on: a child, a period (an invalid date leaves that end open) and the parts.
struct ReportRequest
{
    QString child;
    QDate from;
    QDate to;
    ReportSections sections = ReportSections(0x1f);
    // The day printed as the report's date.
    QDate reportDate;
};

// One measurement as the report lists it, with the verdicts the assessment gives at its age.
struct ReportMeasurement
{
    int date = 0;
    QString age;
    double height = 0;
    double weight = 0;
    int heartRate = 0;
    QString bloodPressure;
    QString diet;
    QString sleep;
    Verdict heightVerdict = Verdict::Unknown;
    Verdict weightVerdict = Verdict::Unknown;
};

struct ReportImmunisation
{
    int date = 0;
    QString vaccine;
    QString dose;
    QString notes;
};

struct ReportMedicalRecord
{
    int date = 0;
    QString category;
    QString title;
    QString symptoms;
    QString diagnosis;
    QString treatment;
};

// One growth curve: the child's values and the reference range, ages in months on one axis
// (year ages are counted as months), both in ascending age.
struct GrowthSeries
{
    struct Point
    {
        double months;
        double value;
    };
    QList<Point> child;
    QList<ChartData::Range> reference;
};

// The latest measured value of one quantity, with the age and the verdict of that measurement.
struct LatestValue
{
    bool known = false;
    double value = 0;
    QString age;
    int date = 0;
    Verdict verdict = Verdict::Unknown;
};

// A child's health report as a document: everything it prints, read from the records.
struct HealthReport
{
    QString child;
    // The sex of the child's latest measurement; empty when none says.
    QString sex;
    QDate reportDate;
    QDate from;
    QDate to;
    ReportSections sections;

    LatestValue latestHeight;
    LatestValue latestWeight;
    GrowthSeries heightSeries;
    GrowthSeries weightSeries;
    // Oldest first.
    QList<ReportMeasurement> measurements;
    QList<ReportImmunisation> immunisations;
    QList<ReportMedicalRecord> medicalRecords;

    // The period as a reader sees it: "全部记录" or "2026-01-01 至 2026-06-30".
    QString periodText() const;
};

namespace HealthReports {

// Reads the child's records of the period. An unknown child fails with a message that names the
// children there are.
ResultOf<HealthReport> build(const ReportRequest& request);

// Judges every measurement of report against the references of the child's sex (none: nothing
// is judged) and fills the latest values and the growth curves from them.
void assessGrowth(HealthReport& report, const std::optional<References>& references);

// A date key as "2026-03-01"; a key that is no calendar day as its number.
QString dateText(int dateKey);

} // namespace HealthReports

#pragma once

#include "report/HealthReport.h"

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QStringList>

// A growth chart on paper: the axes fitted to the child's ages and to the reference range at
// those ages, and the value-to-page mapping that the painter and the tests share.
namespace ReportChart {

struct Axis
{
    double min = 0;
    double max = 1;
    double step = 1;

    QList<double> ticks() const;
};

struct Frame
{
    // The plot area on the page.
    QRectF plot;
    // Ages in months.
    Axis x;
    // Ticks labelled in years (more than two years shown) rather than months.
    bool years = false;
    Axis y;

    QPointF map(double months, double value) const;
    bool contains(double months, double value) const;
    // The label of an x tick: "6" (months) or "2.5" (years).
    QString ageLabel(double months) const;
};

// The frame for the series in plot; the child's points must not be empty.
Frame fit(const GrowthSeries& series, const QRectF& plot);

// The reference range across the frame's ages: the upper edge left to right, then the lower edge
// right to left; empty where the reference has no range.
QPolygonF band(const Frame& frame, const QList<ChartData::Range>& reference);
// One edge of the range across the frame's ages.
QPolygonF edge(const Frame& frame, const QList<ChartData::Range>& reference, bool upper);

} // namespace ReportChart

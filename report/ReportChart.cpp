#include "report/ReportChart.h"

#include <algorithm>
#include <cmath>

namespace ReportChart {

namespace {

// The smallest step of 1, 2 or 5 times a power of ten that cuts span into at most maxTicks parts.
double niceStep(double span, int maxTicks)
{
    const double rough = span / maxTicks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= rough)
            return factor * power;
    }
    return 10 * power;
}

Axis rounded(double low, double high, double step)
{
    return {std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step, step};
}

// The ages at which the range changes inside [from, to], with both ends.
QList<double> bandAges(const Frame& frame, const QList<ChartData::Range>& reference)
{
    QList<double> ages{frame.x.min};
    for (const ChartData::Range& r : reference) {
        if (r.age > frame.x.min && r.age < frame.x.max)
            ages << r.age;
    }
    ages << frame.x.max;
    return ages;
}

} // namespace

QList<double> Axis::ticks() const
{
    QList<double> list;
    for (double v = min; v <= max + step * 1e-6; v += step)
        list << v;
    return list;
}

QPointF Frame::map(double months, double value) const
{
    return {plot.left() + (months - x.min) / (x.max - x.min) * plot.width(),
            plot.bottom() - (value - y.min) / (y.max - y.min) * plot.height()};
}

bool Frame::contains(double months, double value) const
{
    return months >= x.min && months <= x.max && value >= y.min && value <= y.max;
}

QString Frame::ageLabel(double months) const
{
    return years ? QString::number(months / 12, 'g', 4) : QString::number(months, 'g', 4);
}

Frame fit(const GrowthSeries& series, const QRectF& plot)
{
    Frame frame;
    frame.plot = plot;
    double first = series.child.first().months;
    double last = series.child.last().months;
    for (const GrowthSeries::Point& p : series.child) {
        first = std::min(first, p.months);
        last = std::max(last, p.months);
    }
    // A single age or a few close ones still get a span to show: a season either side.
    const double pad = std::max(3.0, (last - first) * 0.05);
    double low = std::max(0.0, first - pad);
    double high = last + pad;
    // Babies' ages read in months, older children's in years.
    frame.years = high - low > 30 || low >= 24;
    if (frame.years) {
        const double step = 12 * std::max(0.5, niceStep((high - low) / 12, 12));
        frame.x = rounded(low, high, step);
    } else {
        double step = niceStep(high - low, 12);
        step = std::max(1.0, step);
        frame.x = rounded(low, high, step);
    }
    frame.x.min = std::max(0.0, frame.x.min);

    double lowest = series.child.first().value;
    double highest = lowest;
    for (const GrowthSeries::Point& p : series.child) {
        lowest = std::min(lowest, p.value);
        highest = std::max(highest, p.value);
    }
    for (const double age : bandAges(frame, series.reference)) {
        if (const std::optional<ChartData::Range> r = GrowthAssessment::rangeAt(series.reference, age)) {
            lowest = std::min(lowest, r->min);
            highest = std::max(highest, r->max);
        }
    }
    const double margin = std::max(0.5, (highest - lowest) * 0.06);
    const double step = niceStep(highest - lowest + 2 * margin, 8);
    frame.y = rounded(std::max(0.0, lowest - margin), highest + margin, step);
    return frame;
}

QPolygonF edge(const Frame& frame, const QList<ChartData::Range>& reference, bool upper)
{
    QPolygonF line;
    for (const double age : bandAges(frame, reference)) {
        if (const std::optional<ChartData::Range> r = GrowthAssessment::rangeAt(reference, age))
            line << frame.map(age, upper ? r->max : r->min);
    }
    return line;
}

QPolygonF band(const Frame& frame, const QList<ChartData::Range>& reference)
{
    const QPolygonF upper = edge(frame, reference, true);
    QPolygonF lower = edge(frame, reference, false);
    if (upper.size() < 2)
        return {};
    std::reverse(lower.begin(), lower.end());
    return upper + lower;
}

} // namespace ReportChart

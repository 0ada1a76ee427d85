#include "health/ChartGeometry.h"
#include "health/HealthTr.h"

namespace ChartGeometry {

namespace {

constexpr int Left = 30;

int cut(double value)
{
    return int(value);
}

// One chart's axes, ticks and labels; base is the y of its x axis (190 or 385).
void drawAxes(Picture& p, bool months, int base, int top, const QString& caption, int valueStep)
{
    const int end = months ? 510 : 574;
    p.lines.append({Pen::Axis, {Left, base}, {end, base}});
    p.texts.append(months ? Text{{525, base - 8}, HealthTr::tr("年龄(月)")}
                          : Text{{534, base - 18}, HealthTr::tr("年龄(岁)")});
    p.lines.append({Pen::Axis, {Left, base}, {Left, top}});
    p.texts.append({{33, top - 2}, caption});
    p.lines.append({Pen::Axis, {25, top + 15}, {Left, top}});
    p.lines.append({Pen::Axis, {35, top + 15}, {Left, top}});
    p.lines.append({Pen::Axis, {end, base}, {end - 15, base - 5}});
    p.lines.append({Pen::Axis, {end, base}, {end - 15, base + 5}});

    for (int i = 1; i <= 18; ++i) {
        const int y = top - 10 + 10 * i;
        p.lines.append({Pen::Axis, {Left, y}, {25, y}});
        p.texts.append({{10, y - 3 - (base == 190 ? 0 : 1)}, QString::number((19 - i) * valueStep)});
    }

    p.texts.append({{Left, base + 3}, months ? QStringLiteral("0") : QStringLiteral("2")});
    const QStringList labels = tickLabels(months);
    const int step = months ? 20 : 17;
    for (int i = 1; i <= labels.size(); ++i) {
        const int x = Left + step * i;
        p.lines.append({Pen::Axis, {x, base}, {x, base + 5}});
        // Half-year labels stand five pixels further left.
        const bool half = !months && i % 2 == 1;
        p.texts.append({{half ? x - 5 : x, base + 5}, labels.at(i - 1)});
    }
}

void drawRanges(Picture& p, const QList<ChartData::Range>& ranges, bool months, bool weight, Pen minimumPen)
{
    auto y = [weight](double value) { return weight ? weightY(value) : heightY(value); };
    for (qsizetype i = 1; i < ranges.size(); ++i)
        p.lines.append({Pen::Maximum,
                        {ageX(ranges[i - 1].age, months), y(ranges[i - 1].max)},
                        {ageX(ranges[i].age, months), y(ranges[i].max)}});
    for (qsizetype i = 1; i < ranges.size(); ++i)
        p.lines.append({minimumPen,
                        {ageX(ranges[i - 1].age, months), y(ranges[i - 1].min)},
                        {ageX(ranges[i].age, months), y(ranges[i].min)}});
}

void drawChild(Picture& p, const ChartData& c, bool weight)
{
    const bool months = c.months;
    auto point = [&](const ChartData::Point& pt) {
        return QPoint(ageX(pt.age, months), weight ? weightY(pt.weight) : heightY(pt.height));
    };
    if (c.child.size() == 1) {
        const QPoint at = point(c.child.first());
        p.texts.append({weight ? at : at - QPoint(0, 4), QStringLiteral("*")});
        return;
    }
    const int markerX = ageX(months ? double(c.selectedMonths) : c.selectedYears, months);
    if (weight)
        p.lines.append({Pen::Axis, {markerX, 381}, {markerX, 365}});
    else
        p.lines.append({Pen::Child, {markerX, 186}, {markerX, months ? 180 : 170}});
    for (qsizetype i = 0; i < c.child.size(); ++i) {
        const QPoint at = point(c.child[i]);
        if (i > 0)
            p.lines.append({Pen::Child, point(c.child[i - 1]), at});
        p.texts.append({at - QPoint(1, 4), QStringLiteral("*")});
    }
}

} // namespace

int ageX(double age, bool months)
{
    return months ? cut(Left + 20 * age) : cut(Left + 17 * (age - 2) / 0.5);
}

int heightY(double centimetres)
{
    return cut(190 - centimetres);
}

int weightY(double kilograms)
{
    return cut(385 - 2 * kilograms);
}

QStringList tickLabels(bool months)
{
    QStringList labels;
    if (months) {
        for (int i = 1; i <= 24; ++i)
            labels << QString::number(i);
        return labels;
    }
    for (int i = 1; i <= 31; ++i)
        labels << (i % 2 == 0 ? QString::number((i + 4) / 2) : QString::number((i + 3) / 2) + QStringLiteral(".5"));
    return labels;
}

Picture draw(const ChartData& c)
{
    Picture p;
    drawAxes(p, c.months, 190, 10, HealthTr::tr("身高(厘米)"), 10);
    drawChild(p, c, false);
    drawRanges(p, c.heightReference, c.months, false, Pen::Minimum);
    drawAxes(p, c.months, 385, 205, HealthTr::tr("体重(公斤)"), 5);
    drawChild(p, c, true);
    drawRanges(p, c.weightReference, c.months, true, c.months ? Pen::Minimum : Pen::BrightMinimum);
    return p;
}

} // namespace ChartGeometry

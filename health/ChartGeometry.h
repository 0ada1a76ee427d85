#pragma once

#include "health/GrowthAssessment.h"

#include <QList>
#include <QPoint>
#include <QString>

// The growth charts as lines and texts in view pixels: height against age above, weight
// against age below. The widget only paints what this computes.
namespace ChartGeometry {

enum class Pen
{
    Axis,
    Child,
    Maximum,
    Minimum,
    BrightMinimum
};

struct Line
{
    Pen pen;
    QPoint from;
    QPoint to;
};

// Text drawn with its top-left corner at the point.
struct Text
{
    QPoint at;
    QString text;
};

struct Picture
{
    QList<Line> lines;
    QList<Text> texts;
};

// Value to pixel, cut toward zero. Values beyond the axes map where the formula puts them.
int ageX(double age, bool months);
int heightY(double centimetres);
int weightY(double kilograms);

// The labels of the x ticks after the origin label: "1" … "24" for months, "2.5", "3" … "17.5"
// for years.
QStringList tickLabels(bool months);

Picture draw(const ChartData& chart);

} // namespace ChartGeometry

#pragma once

#include "common/Result.h"

#include <QStringList>

#include <optional>

class CPPER;

// What the basic health page does with children and their measurements, apart from widgets.
namespace Measurements {

// The list shows heights and weights with one decimal, cut rather than rounded: 75.56 is 75.5.
QString cutToOneDecimal(double value);

// The twelve texts of a measurement row of the list, in column order.
QStringList listRow(const CPPER& record);

// A typed number; nothing when the text is not a number (spaces around it allowed).
std::optional<double> parseNumber(const QString& text);
std::optional<int> parseHeartRate(const QString& text);
constexpr int MaxHeartRate = 200;

// What a child from birth to 18 can be measured at. A height or weight of 0 stands for "not
// measured", as a new record starts.
constexpr double MinHeight = 30;
constexpr double MaxHeight = 250;
constexpr double MinWeight = 0.5;
constexpr double MaxWeight = 200;
// Age labels: whole months up to 21, then years from 2 to 18.
constexpr int MaxMonths = 21;
constexpr double MinYears = 2;
constexpr double MaxYears = 18;

// Each refuses, naming the field and its range, a value that no child has.
Result checkAge(const QString& label);
Result checkHeight(double centimetres);
Result checkWeight(double kilograms);
// The three checks in the order of the fields: age, height, weight.
Result checkRanges(const QString& age, double height, double weight);

} // namespace Measurements

#pragma once

#include <QStringList>

#include <optional>

// Age labels of measurements and reference rows: "N个月" for months, "N岁" (by half years) for years.
namespace AgeLabels {

// The 52 ages offered for a measurement: 0 to 16 months, 18 and 21 months, then 2 to 18 years
// by half years.
const QStringList& all();

// The number a label begins with, as a C "%lf" reads it; nothing when it does not begin with one.
std::optional<double> leadingNumber(const QString& label);

bool isMonths(const QString& label);
bool isYears(const QString& label);

} // namespace AgeLabels

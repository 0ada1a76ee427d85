#pragma once

#include <QStringList>

#include <optional>

class CPPER;

// What the basic health page does with children and their measurements, apart from widgets.
namespace Measurements {

// The list shows heights and weights with one decimal, cut rather than rounded: 75.56 is 75.5.
QString cutToOneDecimal(double value);

// The twelve texts of a measurement row of the list, in column order.
QStringList listRow(const CPPER& record);

// A typed number; nothing when the text is not a whole number (spaces around it allowed).
std::optional<double> parseNumber(const QString& text);
std::optional<int> parseHeartRate(const QString& text);
constexpr int MaxHeartRate = 200;

} // namespace Measurements

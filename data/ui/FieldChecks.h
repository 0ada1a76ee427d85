#pragma once

#include <QString>

class QWidget;

// The checks the editing pages run before saving: each tells the user its message and returns
// false when the value fails.
namespace FieldChecks {

bool require(QWidget* parent, const QString& value, const QString& message);
// The text fits in maxBytes as the suite counts bytes (two per Chinese character).
bool fits(QWidget* parent, const QString& value, int maxBytes, const QString& message);

} // namespace FieldChecks

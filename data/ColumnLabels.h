#pragma once

#include <QString>

// The name the family knows a column by: the label of the field that shows it.
namespace ColumnLabels {

// The label of table's column; the column's own name where no field shows it.
QString label(const QString& table, const QString& column);

} // namespace ColumnLabels

#pragma once

#include "common/Result.h"

class QSqlError;

// What an engine failure means for the user: a Chinese message that says what happened and
// what to do, with the engine's own words as detail.
namespace DatabaseError {

// From SQLite's result code (primary or extended) and its message.
Result fromCode(int code, const QString& engineText);
// From an error of the Qt connection.
Result fromSqlError(const QSqlError& error);

} // namespace DatabaseError

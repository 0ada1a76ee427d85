#pragma once

#include "common/Result.h"
#include "data/Database.h"

#include <QString>

// Choices a program remembers for the family, such as how a list is shown, kept as rows of
// kestrin_meta in the shared database: they travel with a backup and hold for every user of
// the computer.
namespace ProgramSettings {

// The value stored under name, or fallback when none is (or it cannot be read: a setting is
// never worth a failed start).
QString value(const QString& name, const QString& fallback, QSqlDatabase db = Database::connection());
Result setValue(const QString& name, const QString& value, QSqlDatabase db = Database::connection());

} // namespace ProgramSettings

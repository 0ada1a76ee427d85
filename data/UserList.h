#pragma once

#include "Result.h"

#include <QStringList>

// The children of table user.
namespace UserList {

// Every child's name, the newest child first. On a database error the list is empty and error,
// when given, holds the engine's text.
QStringList newestFirst(Result* error = nullptr);

} // namespace UserList

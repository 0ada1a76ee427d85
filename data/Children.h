#pragma once

#include "common/Result.h"

#include <QStringList>

// The children of table user, which every per-child record names by its username.
namespace Children {

// Every child's name, the newest child first.
ResultOf<QStringList> newestFirst();
// Whether a child of that name is known.
ResultOf<bool> exists(const QString& name);

enum class Change
{
    Done,
    Exists,
    Missing
};

// Adds a child; Exists when a child of that name is known already.
ResultOf<Change> add(const QString& name);
// Deletes a child and the child's measurements at once; Missing when there is no such child.
ResultOf<Change> remove(const QString& name);

} // namespace Children

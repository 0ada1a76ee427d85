#pragma once

#include "common/Result.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The folders "恢复前的记录-…" beside the database, where each restore left the records it
// replaced. They are the family's data: only the user removes one, one at a time.
namespace AsideFolders {

struct Folder
{
    QString path;
    // When the restore that made it ran (from its name), else when it last changed.
    QDateTime made;
    qint64 bytes = 0;
};

// Newest first.
QList<Folder> list(const QString& databasePath);

// Removes one of the folders list() gives, and nothing else.
Result remove(const QString& databasePath, const QString& folder);

} // namespace AsideFolders

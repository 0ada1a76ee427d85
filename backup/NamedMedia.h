#pragma once

#include "common/Result.h"

#include <QSqlDatabase>
#include <QStringList>

#include <functional>

// Lists the media files that rows of a family database name, read through db (a connection
// opened in the calling thread). A backup asks it about its own copy of the database, so the
// files it packs are exactly those the copied rows name.
using NamedMediaProvider = std::function<ResultOf<QStringList>(const QSqlDatabase& db)>;

namespace NamedMedia {

// The provider the programs and kestrin-backup use: the media store's reading of the attachment
// texts, the same the pages write.
NamedMediaProvider defaultProvider();

} // namespace NamedMedia

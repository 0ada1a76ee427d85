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

// The provider the programs and kestrin-backup use.
NamedMediaProvider defaultProvider();

// Stand-in until the media store offers its own listing of named files: reads the attachment
// columns of the four tables that carry them and takes every word between spaces as a name.
// (A name that contains a space is then listed as two names that are not in the folder.)
ResultOf<QStringList> attachmentColumnNames(const QSqlDatabase& db);

} // namespace NamedMedia

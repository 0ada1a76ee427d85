#pragma once

#include "common/Result.h"
#include "common/ServerConfig.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

// Moves a family from the local file to a server: every row of the file into the server's
// database (which gets the schema first when empty), and the media into the shared folder.
// A server that already holds a family's records is refused, so nothing there is overwritten.
namespace ServerCopy {

// step in Chinese, percent 0..100.
using Progress = std::function<void(const QString& step, int percent)>;

// Replaces the rows of every table of the schema in to with those of from (either engine to
// the other), inside a transaction the caller holds on to and commits: the row count of each
// table is compared, the server's numbering continues after the copied rows, and a table that
// from lacks (an older database) ends empty. withMeta copies kestrin_meta too (versions, the
// time of the last backup).
Result copyTables(QSqlDatabase from, QSqlDatabase to, bool withMeta, const Progress& progress = {});

// The rows: all of them in one transaction, the count of every table checked before it
// commits. The server's connection becomes the program's.
Result copyRecords(const QString& filePath, const ServerConfig& server, const Progress& progress = {});

// The media files: each copied and its SHA-256 compared with the original's. A file of the
// same name already there is kept when it is the same, and refused when it differs.
Result copyMedia(const QString& fromFolder, const QString& toFolder, const Progress& progress = {});

} // namespace ServerCopy

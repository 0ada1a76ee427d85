#pragma once

#include "backup/FamilyFiles.h"
#include "common/Result.h"
#include "common/ServerConfig.h"

#include <QDateTime>

class Progress;

// A database file copied while programs may be using it, and the checks made on such a copy.
namespace DatabaseSnapshot {

// Copies the database at sourcePath into a new file at targetPath with SQLite's online backup:
// the copy is one consistent state of the file even while other connections write, because a
// write between two steps makes SQLite start the copy again. pagesPerStep bounds how long each
// step holds the read lock, so the programs stay responsive.
Result copy(const QString& sourcePath, const QString& targetPath, Progress& progress, int pagesPerStep = 1024);

// Writes the rows of the family's database on server into a new database file at targetPath,
// made from the same schema as any new file: every table is read in one snapshot of the server
// (a repeatable-read transaction), so the copy is one consistent state however other computers
// write meanwhile, and each table's row count is compared.
Result copyFromServer(const ServerConfig& server, const QString& targetPath, Progress& progress);

// The family's records as one database file at targetPath: copy() of the file, or
// copyFromServer() when the rows are on a server.
Result copyFamily(const FamilyFiles& source, const QString& targetPath, Progress& progress, int pagesPerStep = 1024);

// Runs "PRAGMA integrity_check"; a damaged file fails with SQLite's findings as detail.
Result checkIntegrity(const QString& path);

struct Versions
{
    int schema = 0;
    int minCompatible = 0;
};
// The table versions a family database file records in kestrin_meta.
ResultOf<Versions> versions(const QString& path);

// Records in a copy when the backup it belongs to was made (see BackupRecord).
Result recordBackupTime(const QString& path, const QDateTime& when);

} // namespace DatabaseSnapshot

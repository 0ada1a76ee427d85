#pragma once

#include "backup/Manifest.h"
#include "common/Result.h"

class Progress;

// Reading a backup archive back: the checks that verify and restore share.
namespace BackupReader {

// Reads the archive twice. First its table of contents and manifest only, so a file that is not
// one of our backups, or one made by a newer program, is refused before anything is read at
// length. Then every member, hashed against the manifest: the database is written to
// databaseTarget, the media files into the folder mediaTarget (only hashed when it is empty).
// Both targets must not exist yet; what was written is left for the caller to remove.
ResultOf<Manifest> unpack(const QString& archivePath, const QString& databaseTarget, const QString& mediaTarget,
                          Progress& progress);

// Checks an unpacked database: SQLite's integrity check, and tables this program can use.
Result checkDatabase(const QString& path);

} // namespace BackupReader

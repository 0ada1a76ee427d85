#pragma once

#include "backup/FamilyFiles.h"
#include "backup/Manifest.h"
#include "backup/NamedMedia.h"
#include "common/Result.h"

class Progress;

struct BackupOptions
{
    FamilyFiles source;
    QString archivePath;
    NamedMediaProvider namedMedia = NamedMedia::defaultProvider();
    // Database pages copied per step of the snapshot; between steps other programs may write.
    int pagesPerStep = 1024;
    // The largest file the archive's place can hold; negative asks its file system.
    qint64 fileSizeLimit = -1;
};

struct BackupSummary
{
    QString archivePath;
    QDateTime created;
    int mediaFiles = 0;
    qint64 archiveBytes = 0;
    // Files that rows name but that were not in the media folder.
    QStringList missingMedia;
    // Whether the time of this backup reached the database (for the reminder); the backup is
    // whole even when it did not.
    Result recorded;
};

// A family's whole record in one zip archive: a consistent copy of the database, every file of
// the media folder, and a manifest with the SHA-256 of each.
namespace Backup {

// Writes the archive to options.archivePath. The archive appears whole or not at all: it is
// written under a temporary name and renamed into place when complete, and a cancelled or failed
// backup removes what it wrote. Runs on any thread; reports through progress.
ResultOf<BackupSummary> create(const BackupOptions& options, Progress& progress);

// Reads an archive through and checks everything a restore would: that it is one of ours, not
// too new for this program, every member's size and hash, and the database's integrity.
ResultOf<Manifest> verify(const QString& archivePath, Progress& progress);

// The largest file a folder's file system can hold (4 GiB less a byte on FAT32); -1 for no limit
// worth telling.
qint64 fileSizeLimit(const QString& folder);

// The result of a task that the user cancelled.
Result cancelled();

} // namespace Backup

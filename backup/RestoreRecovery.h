#pragma once

#include "backup/FamilyFiles.h"

#include <QString>
#include <QStringList>

#include <chrono>

// What the repair of an interrupted restore found and did, in one sentence for the user.
struct Recovery
{
    enum class Outcome
    {
        // No restore was interrupted.
        Nothing,
        // The backup's records were all in place or in the stage, whole: the restore was finished.
        Completed,
        // The old records were put back where they were.
        PutBack,
        // Another process holds the records: a restore is still running.
        Busy,
        // The journal or the disk does not allow either safely; nothing was changed.
        Failed
    };
    Outcome outcome = Outcome::Nothing;
    QString message;
    QString detail;
};

// Run first by every program and every command of kestrin-backup, before the database is opened.
namespace RestoreRecovery {

// When a restore's journal lies beside the database, takes the records lock exclusively (waiting
// up to wait for a restore still running) and finishes that restore when the backup's files are
// whole, or else puts the old records back; then removes the journal and the stage. A database
// missing from its place while the newest aside folder holds one (left by a restore of an older
// version, which kept no journal) is moved back too. Finally removes the hidden leftovers of
// cut-off runs that are more than a day old: stages of restores, half-written archives in the
// database folder and in archiveFolders, copy temporaries in the media folder.
Recovery run(const FamilyFiles& files, std::chrono::milliseconds wait, const QStringList& archiveFolders = {});

// The folders where half-written archives may be left: the one the programs suggest for backups.
QStringList defaultArchiveFolders();

} // namespace RestoreRecovery

#pragma once

#include "backup/FamilyFiles.h"
#include "backup/Manifest.h"
#include "backup/RestoreSwap.h"
#include "common/Result.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <system_error>

class Progress;

// A restore in two steps. prepare() unpacks a backup into a folder beside the family's database
// and checks it whole, changing nothing of the installed records; the caller can then ask the
// user, and commit() swaps the records in. Destroying an uncommitted restore removes what it
// unpacked. With the records on a server and the media folder on another disk (a shared folder
// of several computers), the media are unpacked beside the media folder and the old ones kept
// aside there, so that putting them in place is still a rename on one disk.
class StagedRestore
{
public:
    // Moves a file or folder; the restore's every change of the installed records is one such
    // move, so a failing move can be undone by moving back.
    using Move = RestoreSwap::Move;

    static ResultOf<std::unique_ptr<StagedRestore>> prepare(const QString& archivePath, const FamilyFiles& target,
                                                            Progress& progress);

    const Manifest& manifest() const { return m_manifest; }
    // Where commit() put the records it replaced; empty when there were none.
    QString asideFolder() const { return m_asideFolder; }
    // Where commit() put the media folder it replaced when that is not asideFolder(): beside a
    // shared media folder on another disk. Empty otherwise.
    QString mediaAsideFolder() const;

    // With the records on a server, the server's rows are copied aside into a database file in
    // asideFolder() first, and the backup's rows replace them in one server transaction that
    // commits only once the media folder is swapped (see RestoreJournal).
    // Moves the current database (with any journal of it) and media folder aside into
    // asideFolder(), where they stay as an automatic backup, and the unpacked ones into their
    // places. Holds the records lock exclusively meanwhile, and refuses, changing nothing, while
    // another program holds it. Before the first move a journal of the moves goes to the disk
    // (see RestoreJournal), so a restore cut off half-way is finished or undone at the next
    // start; on a failure here every move made so far is undone, so the old records are in place.
    Result commit();

    // Replaces how files are moved (tests make a move fail half-way, or stop there as if the
    // power went).
    void setMove(Move move) { m_move = std::move(move); }
    // The process list that names the programs holding the records when a restore must wait.
    void setProcRoot(QString procRoot) { m_procRoot = std::move(procRoot); }

    static std::error_code defaultMove(const QString& from, const QString& to)
    {
        return RestoreSwap::defaultMove(from, to);
    }

private:
    StagedRestore(FamilyFiles target, std::unique_ptr<QTemporaryDir> stage,
                  std::unique_ptr<QTemporaryDir> databaseStage, Manifest manifest);
    QString stagedDatabase() const;
    RestoreJournal journal(const QString& databaseFolder) const;
    // The rows of the backup into the server in one transaction, the server's current rows kept
    // aside in a database file, the media folder swapped as for a file.
    Result commitToServer();

    FamilyFiles m_target;
    // The unpacked media, and the database unless it has a stage of its own.
    std::unique_ptr<QTemporaryDir> m_stage;
    // The unpacked database, beside the family's database, when the media are unpacked elsewhere.
    std::unique_ptr<QTemporaryDir> m_databaseStage;
    Manifest m_manifest;
    QString m_asideFolder;
    // Where the old media folder goes: asideFolder(), or one beside the media folder on its disk.
    QString m_mediaAside;
    QString m_procRoot = QStringLiteral("/proc");
    Move m_move = &RestoreSwap::defaultMove;
};

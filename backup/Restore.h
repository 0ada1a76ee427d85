#pragma once

#include "backup/FamilyFiles.h"
#include "backup/Manifest.h"
#include "common/Result.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <system_error>

class Progress;

// A restore in two steps. prepare() unpacks a backup into a folder beside the family's database
// and checks it whole, changing nothing of the installed records; the caller can then ask the
// user, and commit() swaps the records in. Destroying an uncommitted restore removes what it
// unpacked.
class StagedRestore
{
public:
    // Moves a file or folder; the restore's every change of the installed records is one such
    // move, so a failing move can be undone by moving back.
    using Move = std::function<std::error_code(const QString& from, const QString& to)>;

    static ResultOf<std::unique_ptr<StagedRestore>> prepare(const QString& archivePath, const FamilyFiles& target,
                                                            Progress& progress);

    const Manifest& manifest() const { return m_manifest; }
    // Where commit() put the records it replaced; empty when there were none.
    QString asideFolder() const { return m_asideFolder; }

    // Moves the current database (with any journal of it) and media folder aside into
    // asideFolder(), where they stay as an automatic backup, and the unpacked ones into their
    // places. On any failure every move made so far is undone, so the old records are in place.
    Result commit();

    // Replaces how files are moved (tests make a move fail half-way).
    void setMove(Move move) { m_move = std::move(move); }

    static std::error_code defaultMove(const QString& from, const QString& to);

private:
    StagedRestore(FamilyFiles target, std::unique_ptr<QTemporaryDir> stage, Manifest manifest);

    FamilyFiles m_target;
    std::unique_ptr<QTemporaryDir> m_stage;
    Manifest m_manifest;
    QString m_asideFolder;
    Move m_move = &StagedRestore::defaultMove;
};

#pragma once

#include "backup/RestoreJournal.h"
#include "common/Result.h"

#include <functional>
#include <system_error>

// Carries out the moves of a restore's journal, forwards or back, and tells from the disk how far
// they got. Each step is one rename inside the database's folder, so it either happened or did
// not. Which steps happened is read from the side of each step that nothing else touches: a move
// aside happened when its target in the aside folder exists, a move into place happened when its
// source in the stage is gone.
class RestoreSwap
{
public:
    // Moves a file or folder; never replaces what is at the target.
    using Move = std::function<std::error_code(const QString& from, const QString& to)>;

    RestoreSwap(QString databaseFolder, RestoreJournal journal, Move move = &RestoreSwap::defaultMove);

    static std::error_code defaultMove(const QString& from, const QString& to);

    const RestoreJournal& journal() const { return m_journal; }
    QString path(const QString& relative) const;

    enum class State
    {
        Done,
        NotDone,
        // Neither side of the step is where the journal says: the disk was changed by hand.
        Unclear
    };
    State state(const RestoreJournal::Step& step) const;
    bool anyUnclear() const;
    // Whether the backup's database and every one of its media files are whole, where the steps
    // have got them to: the database by size and SHA-256, the media files by name and size.
    bool backupWhole() const;

    // Runs the steps not done yet, in order; stops at the first that fails and says which.
    Result forward();
    // Undoes the steps done, last first; the paths that could not be moved back are listed.
    QStringList back();
    // After all steps ran or were undone: syncs the folders whose entries changed, removes the
    // stage with what is left in it and the aside folder when it stayed empty, then the journal.
    void finish(const QString& databasePath);

private:
    QString m_folder;
    RestoreJournal m_journal;
    Move m_move;
};

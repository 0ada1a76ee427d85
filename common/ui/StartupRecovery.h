#pragma once

#include <QString>

#include <chrono>

// The steps of a program's start that keep it apart from a restore of a backup: first the repair
// of a restore that was cut off, before anything opens the database or offers a new one, then the
// records lock, held shared until the program ends, so that no restore swaps the records under it.
class StartupRecovery
{
public:
    // Finishes or undoes an interrupted restore and tells the user in one sentence which of the
    // two happened. False, told to the user, when the program must end: a restore is still
    // running, or the records could not be put right safely.
    static bool recover(const QString& databasePath, std::chrono::milliseconds wait = DefaultWait);
    // Takes the records lock shared for the rest of the program's life, waiting up to wait for a
    // restore in progress. False, told to the user, when the restore still holds it.
    static bool holdRecords(const QString& databasePath, std::chrono::milliseconds wait = DefaultWait);
    // Lets the records go before the program ends (tests start programs many times in one process).
    static void releaseRecords();

private:
    static const std::chrono::milliseconds DefaultWait;
};

#pragma once

#include <QString>

#include <functional>
#include <memory>

class QApplication;
class QDialog;
class SkinRecordset;

// What a window program needs to know about itself to start.
struct ProgramIdentity
{
    // The program's title: caption of its message boxes.
    QString title;
    // Executable name whose second appearance in the process list means the program already runs.
    QString instanceKey;
    // Key handed to the skin engine.
    QString skinKey;
    // The program's skin table.
    std::function<std::unique_ptr<SkinRecordset>()> skinTable;
    // Whether the skin start chooses the "Dialog" scheme for every window; a program whose main
    // window applies the scheme to itself leaves it out.
    bool chooseDialogScheme = true;
};

// The start of every window program, in order: its own folder as current directory, Qt's
// Chinese texts, the single-instance rule, the repair of a restore that was cut off, the data
// source, the database (created without a question only on a first start) under the records
// lock held shared, the skin.
class ProgramStartup
{
public:
    enum class Outcome
    {
        Run,
        AlreadyRunning,
        DataSourceFailed,
        DatabaseFailed,
        // The database file was missing and the user chose not to start with an empty one.
        DatabaseNotCreated,
        // A restore of a backup is running, or one that was cut off could not be put right.
        RestoreUnfinished
    };

    // Makes the program's own folder current, so "../database", "../skin" and "../help" hold
    // however the program was started.
    static void enterProgramFolder();
    // Loads Qt's own Chinese texts (message-box buttons, file dialogs) and sets a font size
    // that reads well.
    static void prepareLook(QApplication& app);

    // Runs the checks and set-up before the main window; anything but Run has been told to
    // the user already and the program should end. procRoot is the process list's folder.
    static Outcome prepare(const ProgramIdentity& program, const QString& procRoot = QStringLiteral("/proc"));

    // The whole life of a window program, for its main(): its own folder as current directory,
    // the look, its icon, the checks and set-up above, then the main window the factory makes,
    // run modally, and the skin shut down. Returns the program's exit code.
    static int run(QApplication& app, const ProgramIdentity& program, const QString& iconPath,
                   const std::function<std::unique_ptr<QDialog>()>& mainWindow);
};

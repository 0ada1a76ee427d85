#pragma once

#include "backup/FamilyFiles.h"
#include "backup/NamedMedia.h"
#include "common/Result.h"

#include <QObject>

class MainWindowBase;
class QAction;

// Where the backup items find the family's records.
struct BackupSetup
{
    // Left empty: the database file the data source names with the media folder beside it, or
    // else those of the installation root (the parent of the program's folder), or the server
    // and media folder that the installation's kestrin-server.ini names.
    FamilyFiles files;
    // The process list, which names the programs that keep a restore waiting.
    QString procRoot = QStringLiteral("/proc");
    NamedMediaProvider namedMedia = NamedMedia::defaultProvider();
};

// The window-menu items "备份…", "恢复…", "导出…" and "恢复前的记录…" of a program, and the
// reminder to back up.
// One call of install() gives a program all of them.
class BackupActions : public QObject
{
    Q_OBJECT

public:
    // Adds the items to window's menu; the returned object belongs to window.
    static BackupActions* install(MainWindowBase& window, BackupSetup setup = {});

    QAction* backupAction() const { return m_backupAction; }
    QAction* restoreAction() const { return m_restoreAction; }
    QAction* exportAction() const { return m_exportAction; }
    QAction* asideFoldersAction() const { return m_asideFoldersAction; }
    // The records the items work on, as they stand now.
    FamilyFiles familyFiles() const;

public slots:
    void backup();
    void restore();
    void exportRecords();
    // Lists the records earlier restores kept aside and deletes one on request.
    void showAsideFolders();
    // Once per start of the program: when the last backup is older than a month and the reminder
    // is on, says so and offers to back up now.
    void remindIfDue();
    // remindIfDue() once the window is on screen and the program waits for the user.
    void remindWhenShown();

private:
    BackupActions(MainWindowBase& window, BackupSetup setup);
    void report(const Result& result);

    MainWindowBase& m_window;
    BackupSetup m_setup;
    QAction* m_backupAction;
    QAction* m_restoreAction;
    QAction* m_exportAction;
    QAction* m_asideFoldersAction;
    bool m_reminded = false;
};

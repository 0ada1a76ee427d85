#include "common/DataSource.h"
#include "common/ui/ProgramStartup.h"
#include "common/ui/StartupRecovery.h"
#include "update/ui/CUpdateDlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("update"));
    ProgramStartup::enterProgramFolder();
    ProgramStartup::prepareLook(app);
    app.setWindowIcon(QIcon(QStringLiteral(":/update/update.png")));
    // Like every program of the suite, the updater first finishes or undoes a restore that was
    // cut off, then holds the records lock while it runs, so no restore starts while it replaces
    // the programs. With no database yet there are no records to guard.
    const QString database = DataSource::defaultDatabasePath();
    if (!StartupRecovery::recover(database))
        return 1;
    if (QFileInfo::exists(database) && !StartupRecovery::holdRecords(database))
        return 1;

    OnlineUpdate update(QCoreApplication::applicationDirPath());
    CUpdateDlg window(update);
    QTimer::singleShot(0, &window, &CUpdateDlg::startCheck);
    window.exec();
    return 0;
}

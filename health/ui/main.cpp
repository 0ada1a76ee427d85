#include "backup/ui/BackupActions.h"
#include "common/ui/SkinEngine.h"
#include "health/ui/CHealthDlg.h"
#include "health/ui/HealthProgram.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ProgramStartup::enterProgramFolder();
    ProgramStartup::prepareLook(app);
    app.setWindowIcon(QIcon(QStringLiteral(":/health/health-64.png")));

    const ProgramStartup::Outcome outcome = ProgramStartup::prepare(healthProgram());
    if (outcome != ProgramStartup::Outcome::Run)
        return outcome == ProgramStartup::Outcome::AlreadyRunning ||
                       outcome == ProgramStartup::Outcome::DatabaseNotCreated
                   ? 0
                   : 1;

    int result = 0;
    {
        CHealthDlg window;
        window.backupActions()->remindWhenShown();
        window.exec();
    }
    SkinEngine::shutdown();
    return result;
}

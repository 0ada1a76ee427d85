#include "backup/ui/BackupActions.h"
#include "health/ui/CHealthDlg.h"
#include "health/ui/HealthProgram.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    return ProgramStartup::run(app, healthProgram(), QStringLiteral(":/health/health-64.png"), [] {
        auto window = std::make_unique<CHealthDlg>();
        // health is where a parent is reminded of an old backup, once at start.
        window->backupActions()->remindWhenShown();
        return window;
    });
}

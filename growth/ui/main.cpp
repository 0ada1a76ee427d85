#include "common/ui/SkinEngine.h"
#include "growth/ui/CGrowthSheet.h"
#include "growth/ui/GrowthProgram.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ProgramStartup::enterProgramFolder();
    ProgramStartup::prepareLook(app);
    app.setWindowIcon(QIcon(QStringLiteral(":/growth/growth-64.png")));

    const ProgramStartup::Outcome outcome = ProgramStartup::prepare(growthProgram());
    if (outcome != ProgramStartup::Outcome::Run)
        return outcome == ProgramStartup::Outcome::AlreadyRunning ? 0 : 1;

    {
        CGrowthSheet window;
        window.exec();
    }
    SkinEngine::shutdown();
    return 0;
}

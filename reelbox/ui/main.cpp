#include "common/ui/SkinEngine.h"
#include "reelbox/ui/CReelboxDlg.h"
#include "reelbox/ui/ReelboxProgram.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ProgramStartup::enterProgramFolder();
    ProgramStartup::prepareLook(app);
    app.setWindowIcon(QIcon(QStringLiteral(":/reelbox/reelbox-64.png")));

    const ProgramStartup::Outcome outcome = ProgramStartup::prepare(reelboxProgram());
    if (outcome != ProgramStartup::Outcome::Run)
        return outcome == ProgramStartup::Outcome::AlreadyRunning ? 0 : 1;

    {
        CReelboxDlg window;
        window.exec();
    }
    SkinEngine::shutdown();
    return 0;
}

#include "reelbox/ui/CReelboxDlg.h"
#include "reelbox/ui/ReelboxProgram.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    return ProgramStartup::run(app, reelboxProgram(), QStringLiteral(":/reelbox/reelbox-64.png"),
                               [] { return std::make_unique<CReelboxDlg>(); });
}

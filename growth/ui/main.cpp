#include "growth/ui/CGrowthSheet.h"
#include "growth/ui/GrowthProgram.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    return ProgramStartup::run(app, growthProgram(), QStringLiteral(":/growth/growth-64.png"),
                               [] { return std::make_unique<CGrowthSheet>(); });
}

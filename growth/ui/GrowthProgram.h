#pragma once

#include "common/ui/ProgramStartup.h"
#include "data/tables/Skins.h"

// How growth introduces itself to the start-up sequence. The executable is called growth, so
// that is the name a second copy shows in the process list; its skin comes from the table it
// shares with health.
inline ProgramIdentity growthProgram()
{
    return {QStringLiteral("growth"), QStringLiteral("growth"), QString(),
            [] { return std::make_unique<CSKINDATA>(); }};
}

#pragma once

#include "common/ui/ProgramStartup.h"
#include "data/tables/Skins.h"

// How Reelbox introduces itself to the start-up sequence. It keeps its own skin table, and its
// main window applies the dialog scheme to itself.
inline ProgramIdentity reelboxProgram()
{
    return {QStringLiteral("Reelbox"), QStringLiteral("Reelbox"), QStringLiteral("KestrinHealth"),
            [] { return std::make_unique<CSKIN>(); }, false};
}

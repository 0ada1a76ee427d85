#pragma once

#include "common/ui/ProgramStartup.h"
#include "data/tables/Skins.h"

// How health introduces itself to the start-up sequence.
inline ProgramIdentity healthProgram()
{
    return {QStringLiteral("health"), QStringLiteral("health"), QStringLiteral("KestrinHealth"),
            [] { return std::make_unique<CSKINDATA>(); }};
}

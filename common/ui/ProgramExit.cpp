#include "common/ui/ProgramExit.h"

#include "common/ui/StartupRecovery.h"
#include "data/Database.h"

#include <cstdio>
#include <unistd.h>

namespace {
bool ending = false;
bool leftSomething = false;
} // namespace

namespace ProgramExit {

void begin()
{
    ending = true;
}

bool isEnding()
{
    return ending;
}

void leftRunning()
{
    leftSomething = true;
}

bool hasLeftRunning()
{
    return leftSomething;
}

void finish()
{
    if (!leftSomething)
        return;
    Database::close();
    StartupRecovery::releaseRecords();
    std::fflush(nullptr);
    ::_exit(0);
}

void reset()
{
    ending = false;
    leftSomething = false;
}

} // namespace ProgramExit

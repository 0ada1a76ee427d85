#include "update/UpdateModules.h"

namespace UpdateModules {

const QList<UpdateModule>& all()
{
    static const QList<UpdateModule> modules{
        {QStringLiteral("Reelbox"), QStringLiteral("reelbox"), QStringLiteral("Reelbox/Reelbox"),
         QStringLiteral("/reelbox.exe"), QStringLiteral("Reelbox")},
        {QStringLiteral("Learn"), QStringLiteral("learn"), QStringLiteral("learn/learn"), QString(),
         QStringLiteral("learn")},
        {QStringLiteral("Tools"), QStringLiteral("tools"), QStringLiteral("tools/tools"), QString(),
         QStringLiteral("tools")},
        {QStringLiteral("Growth"), QStringLiteral("growth"), QStringLiteral("growth/growth"), QString(),
         QStringLiteral("growth")},
        {QStringLiteral("Health"), QStringLiteral("health"), QStringLiteral("health/health"), QString(),
         QStringLiteral("health")},
        {QStringLiteral("Liveupdate"), QStringLiteral("update"), QStringLiteral("liveupdate/update"),
         QStringLiteral("/update.exe"), QString()},
    };
    return modules;
}

} // namespace UpdateModules

#pragma once

#include <QList>
#include <QString>

// The programs the updater replaces, in the order it fetches them.
struct UpdateModule
{
    // Section and key of the version file that announce a new copy.
    QString section;
    QString key;
    // Where the program lies under the installation root.
    QString target;
    // Path on the update server, for modules the server keeps itself; empty when the version
    // file gives the whole address as the key's value.
    QString serverPath;
    // Executable name of the running program; empty for the updater itself.
    QString processName;
};

namespace UpdateModules {

const QList<UpdateModule>& all();

} // namespace UpdateModules

#pragma once

#include "common/Result.h"

#include <QString>

// The media folder growth and Reelbox share: database/media under the installation root, or the
// shared folder database/kestrin-server.ini names. Both
// programs address a stored file by its bare name, so one name is one file for both.
class MediaFolder
{
public:
    // The installation root: the parent of the program's own folder, unless one was set.
    static QString installationRoot();
    // Makes root the installation root (tests, tools working on another installation); an
    // empty root returns to the program's own.
    static void setInstallationRoot(const QString& root);

    // The full path of the media folder.
    static QString path();
    // The full path of a stored file.
    static QString filePath(const QString& storedName);
    // Creates the folder when it is missing.
    static Result ensureExists();
};

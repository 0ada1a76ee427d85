#include "backup/FamilyFiles.h"

#include <QDir>
#include <QFileInfo>

FamilyFiles FamilyFiles::underRoot(const QString& root)
{
    return forDatabase(QDir(QDir(root).absolutePath()).filePath(QStringLiteral("database/kestrin.db")));
}

FamilyFiles FamilyFiles::forDatabase(const QString& databasePath)
{
    const QFileInfo info(databasePath);
    FamilyFiles files{QDir::cleanPath(info.absoluteFilePath()),
                      QDir::cleanPath(info.absoluteDir().filePath(QStringLiteral("media"))),
                      ServerConfig::read(ServerConfig::fileIn(info.absolutePath()))};
    // The programs keep their media where the installation's settings say (see MediaFolder).
    if (!files.server.mediaFolder.isEmpty())
        files.mediaFolder = QDir::cleanPath(files.server.mediaFolder);
    return files;
}

#include "backup/FamilyFiles.h"

#include <QDir>
#include <QFileInfo>

FamilyFiles FamilyFiles::underRoot(const QString& root)
{
    const QDir dir(QDir(root).absolutePath());
    return {QDir::cleanPath(dir.filePath(QStringLiteral("database/kestrin.db"))),
            QDir::cleanPath(dir.filePath(QStringLiteral("database/media")))};
}

FamilyFiles FamilyFiles::forDatabase(const QString& databasePath)
{
    const QFileInfo info(databasePath);
    return {QDir::cleanPath(info.absoluteFilePath()),
            QDir::cleanPath(info.absoluteDir().filePath(QStringLiteral("media")))};
}

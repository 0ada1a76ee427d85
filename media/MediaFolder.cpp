#include "media/MediaFolder.h"

#include "media/MediaStore.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& rootOverride()
{
    static QString root;
    return root;
}
} // namespace

QString MediaFolder::installationRoot()
{
    if (!rootOverride().isEmpty())
        return rootOverride();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
}

void MediaFolder::setInstallationRoot(const QString& root)
{
    rootOverride() = root.isEmpty() ? QString() : QDir::cleanPath(root);
}

QString MediaFolder::path()
{
    return installationRoot() + QStringLiteral("/database/media");
}

QString MediaFolder::filePath(const QString& storedName)
{
    return path() + QLatin1Char('/') + storedName;
}

Result MediaFolder::ensureExists()
{
    return MediaStore(path()).ensureFolder();
}

#include "media/MediaFolder.h"

#include "media/MediaStore.h"

#include "common/ServerConfig.h"

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
    // Several computers sharing a server keep their media in one shared folder, when the
    // installation names one.
    const QString database = installationRoot() + QStringLiteral("/database");
    const QString shared = ServerConfig::read(ServerConfig::fileIn(database)).mediaFolder;
    return shared.isEmpty() ? database + QStringLiteral("/media") : QDir::cleanPath(shared);
}

QString MediaFolder::filePath(const QString& storedName)
{
    return path() + QLatin1Char('/') + storedName;
}

Result MediaFolder::ensureExists()
{
    return MediaStore(path()).ensureFolder();
}

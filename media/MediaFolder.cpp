#include "media/MediaFolder.h"

#include "media/MediaTr.h"

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
    const QString folder = path();
    if (QDir(folder).exists() || QDir().mkpath(folder))
        return {};
    return Result::failure(MediaTr::tr("无法建立媒体文件夹“%1”。请检查磁盘空间和这个文件夹的写入权限。")
                               .arg(QDir::toNativeSeparators(folder)));
}

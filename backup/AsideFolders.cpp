#include "backup/AsideFolders.h"

#include "backup/BackupTr.h"
#include "backup/FileErrors.h"
#include "backup/RestoreJournal.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace {

QString prefix()
{
    return BackupTr::tr("恢复前的记录-");
}

qint64 folderBytes(const QString& path)
{
    qint64 bytes = 0;
    QDirIterator files(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        files.next();
        bytes += files.fileInfo().size();
    }
    return bytes;
}

} // namespace

namespace AsideFolders {

QList<Folder> list(const QString& databasePath)
{
    QList<Folder> folders;
    const QDir folder(QFileInfo(databasePath).absolutePath());
    for (const QFileInfo& info :
         folder.entryInfoList({prefix() + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        QDateTime made =
            QDateTime::fromString(info.fileName().mid(prefix().size(), 15), QStringLiteral("yyyyMMdd-HHmmss"));
        if (!made.isValid())
            made = info.lastModified();
        folders.append({info.absoluteFilePath(), made, folderBytes(info.absoluteFilePath())});
    }
    std::sort(folders.begin(), folders.end(), [](const Folder& a, const Folder& b) { return a.made > b.made; });
    return folders;
}

Result remove(const QString& databasePath, const QString& folder)
{
    const QList<Folder> known = list(databasePath);
    const bool listed =
        std::any_of(known.cbegin(), known.cend(), [&folder](const Folder& f) { return f.path == folder; });
    // While a cut-off restore waits to be finished or undone, its aside folder holds records.
    if (!listed || RestoreJournal::existsFor(databasePath))
        return Result::failure(BackupTr::tr("%1现在不能删除。").arg(FileErrors::quoted(folder)));
    if (!QDir(folder).removeRecursively())
        return Result::failure(
            BackupTr::tr("%1没有能全部删除。请检查文件夹的权限后再试。").arg(FileErrors::quoted(folder)));
    return {};
}

} // namespace AsideFolders

#include "media/DroppedFiles.h"

#include <QDir>
#include <QFileInfo>

DroppedFiles DroppedFiles::sort(const QList<QUrl>& urls)
{
    DroppedFiles dropped;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            dropped.notLocal << url.toDisplayString(QUrl::PreferLocalFile);
            continue;
        }
        const QFileInfo info(url.toLocalFile());
        if (info.isDir())
            dropped.folders << info.absoluteFilePath();
        else
            dropped.files << info.absoluteFilePath();
    }
    return dropped;
}

QStringList DroppedFiles::mediaFilesIn(const QString& folder, MediaKind kind)
{
    QStringList found;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (MediaKinds::fromName(entry.fileName()) == kind)
            found << entry.absoluteFilePath();
    }
    return found;
}

QStringList DroppedFiles::notOfKind(const QStringList& paths, MediaKind kind)
{
    QStringList others;
    for (const QString& path : paths) {
        if (MediaKinds::fromName(QFileInfo(path).fileName()) != kind)
            others << path;
    }
    return others;
}

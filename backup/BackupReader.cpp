#include "backup/BackupReader.h"

#include "backup/Backup.h"
#include "backup/BackupTr.h"
#include "backup/DatabaseSnapshot.h"
#include "backup/FileErrors.h"
#include "backup/Progress.h"
#include "backup/Sha256.h"
#include "backup/ZipArchive.h"
#include "data/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <cerrno>

namespace {

// A manifest is a few hundred bytes per file; anything far larger is not one.
constexpr qint64 MaxManifestBytes = 64 << 20;

Result tooNew(int schema)
{
    return Result::failure(BackupTr::tr("这个备份由较新版本的程序制作（数据版本 %1，本程序只认识到 %2），"
                                        "本程序无法使用它。请先升级程序，再恢复这个备份。")
                               .arg(schema)
                               .arg(Database::SchemaVersion));
}

Result altered(const QString& archivePath, const QString& member)
{
    return Result::failure(BackupTr::tr("备份文件%1已被改动或已经损坏：其中的“%2”与内容清单不符。"
                                        "没有做任何更改。请换一个备份文件再试。")
                               .arg(FileErrors::quoted(archivePath), member));
}

bool isExpectedFolder(const QString& path)
{
    return path == QStringLiteral("database/") || path == Manifest::MediaPrefix;
}

// The manifest and member sizes from the table of contents, checked against each other.
ResultOf<Manifest> readManifest(const QString& archivePath)
{
    ZipReader zip;
    if (Result r = zip.open(archivePath); !r)
        return r;
    QHash<QString, qint64> sizes;
    QByteArray json;
    bool manifestSeen = false;
    for (;;) {
        const ResultOf<bool> more = zip.next();
        if (!more)
            return Result(more);
        if (!*more)
            break;
        const QString path = zip.path();
        if (zip.isFolder() && isExpectedFolder(path))
            continue;
        if (!zip.isFile())
            return Manifest::foreign(path);
        if (path == Manifest::FileName) {
            if (manifestSeen || zip.size() > MaxManifestBytes)
                return Manifest::foreign(path);
            manifestSeen = true;
            if (Result r = zip.read([&json](const char* data, qsizetype size) {
                    json.append(data, size);
                    return Result();
                });
                !r)
                return r;
            continue;
        }
        if (path != Manifest::DatabaseMember && Manifest::mediaName(path).isEmpty())
            return Manifest::foreign(path);
        if (sizes.contains(path))
            return altered(archivePath, path);
        sizes.insert(path, zip.size());
    }
    if (!manifestSeen)
        return Manifest::foreign(QStringLiteral("no manifest"));
    ResultOf<Manifest> manifest = Manifest::fromJson(json);
    if (!manifest)
        return manifest;
    if (Database::compatibility(manifest->schemaVersion, manifest->minCompatibleVersion) ==
        Database::Compatibility::TooNew)
        return tooNew(manifest->schemaVersion);
    if (sizes.size() != manifest->members.size())
        return altered(archivePath, Manifest::FileName);
    for (const Manifest::Member& member : manifest->members) {
        if (sizes.value(member.path, -1) != member.size)
            return altered(archivePath, member.path);
    }
    return manifest;
}

} // namespace

namespace BackupReader {

ResultOf<Manifest> unpack(const QString& archivePath, const QString& databaseTarget, const QString& mediaTarget,
                          Progress& progress)
{
    const ResultOf<Manifest> manifest = readManifest(archivePath);
    if (!manifest)
        return manifest;
    QHash<QString, Manifest::Member> expected;
    qint64 total = 0;
    qint64 written = 0;
    for (const Manifest::Member& member : manifest->members) {
        expected.insert(member.path, member);
        total += member.size;
        if (member.path == Manifest::DatabaseMember || !mediaTarget.isEmpty())
            written += member.size;
    }

    const QString targetFolder = QFileInfo(databaseTarget).absolutePath();
    const QStorageInfo disk(targetFolder);
    const qint64 needed = written + (4 << 20);
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < needed)
        return Result::failure(BackupTr::tr("展开这个备份需要 %1 的磁盘空间，但%2所在的磁盘只剩 %3。"
                                            "请腾出空间后再试。没有做任何更改。")
                                   .arg(FileErrors::sizeText(needed), FileErrors::quoted(targetFolder),
                                        FileErrors::sizeText(disk.bytesAvailable())));
    if (!mediaTarget.isEmpty() && !QDir().mkpath(mediaTarget))
        return FileErrors::failure(BackupTr::tr("无法创建文件夹%1").arg(FileErrors::quoted(mediaTarget)), errno);

    ZipReader zip;
    if (Result r = zip.open(archivePath); !r)
        return r;
    progress.start(BackupTr::tr("正在检查备份文件…"), total);
    for (;;) {
        const ResultOf<bool> more = zip.next();
        if (!more)
            return Result(more);
        if (!*more)
            break;
        const QString path = zip.path();
        if (!zip.isFile() || path == Manifest::FileName)
            continue;
        const auto member = expected.constFind(path);
        if (member == expected.constEnd())
            return altered(archivePath, path);

        QString target;
        if (path == Manifest::DatabaseMember)
            target = databaseTarget;
        else if (!mediaTarget.isEmpty())
            target = QDir(mediaTarget).filePath(Manifest::mediaName(path));
        QFile out(target);
        if (!target.isEmpty() && !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return FileErrors::failure(BackupTr::tr("无法写入%1").arg(FileErrors::quoted(target)), errno);

        Sha256 hash;
        qint64 size = 0;
        const Result read = zip.read([&](const char* data, qsizetype length) {
            if (progress.cancelled())
                return Backup::cancelled();
            // A member that inflates beyond the size it declares is refused at that point: no
            // more than the declared size is ever written, however much it would unpack to.
            if (length > member->size - size) {
                if (out.isOpen())
                    out.write(data, member->size - size);
                return altered(archivePath, path);
            }
            hash.add(data, length);
            size += length;
            progress.advance(length);
            errno = 0;
            if (out.isOpen() && out.write(data, length) != length)
                return FileErrors::failure(BackupTr::tr("无法写入%1").arg(FileErrors::quoted(target)),
                                           errno ? errno : EIO);
            return Result();
        });
        if (!read)
            return read;
        if (out.isOpen() && !out.flush())
            return FileErrors::failure(BackupTr::tr("无法写入%1").arg(FileErrors::quoted(target)), errno ? errno : EIO);
        if (size != member->size || hash.hex() != member->sha256)
            return altered(archivePath, path);
        expected.remove(path);
    }
    if (!expected.isEmpty())
        return altered(archivePath, expected.begin().key());
    return manifest;
}

Result checkDatabase(const QString& path)
{
    if (Result r = DatabaseSnapshot::checkIntegrity(path); !r)
        return Result::failure(BackupTr::tr("备份中的数据库已经损坏，无法使用。没有做任何更改。请换一个备份文件再试。"),
                               r.detail());
    const ResultOf<DatabaseSnapshot::Versions> versions = DatabaseSnapshot::versions(path);
    if (!versions)
        return Result::failure(BackupTr::tr("备份中的数据库不是本软件的数据库。没有做任何更改。请换一个备份文件再试。"),
                               versions.detail());
    if (Database::compatibility(versions->schema, versions->minCompatible) == Database::Compatibility::TooNew)
        return tooNew(versions->schema);
    return {};
}

} // namespace BackupReader

namespace Backup {

ResultOf<Manifest> verify(const QString& archivePath, Progress& progress)
{
    QTemporaryDir work;
    if (!work.isValid())
        return FileErrors::failure(BackupTr::tr("无法在临时文件夹%1中工作").arg(FileErrors::quoted(QDir::tempPath())),
                                   errno);
    const QString database = work.filePath(QStringLiteral("kestrin.db"));
    ResultOf<Manifest> manifest = BackupReader::unpack(archivePath, database, {}, progress);
    if (!manifest)
        return manifest;
    if (Result r = BackupReader::checkDatabase(database); !r)
        return r;
    return manifest;
}

} // namespace Backup

#include "backup/AtomicFile.h"
#include "backup/Backup.h"
#include "backup/BackupRecord.h"
#include "backup/BackupTr.h"
#include "backup/DatabaseSnapshot.h"
#include "backup/FileErrors.h"
#include "backup/Progress.h"
#include "backup/ScopedConnection.h"
#include "backup/Sha256.h"
#include "backup/ZipArchive.h"
#include "common/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <memory>

#include <cerrno>
#ifdef Q_OS_LINUX
#include <sys/vfs.h>
#endif

namespace {

constexpr qint64 BlockBytes = 1 << 20;

struct MediaFile
{
    QString name;
    QString path;
    qint64 size;
    QDateTime modified;
};

// Copies files into the archive as members and hashes what it writes. One serves a whole
// backup, so that its buffers and its hashing thread are made once.
class MemberWriter
{
public:
    MemberWriter(ZipWriter& zip, Progress& progress) : m_zip(zip), m_progress(progress)
    {
        for (QByteArray& buffer : m_buffers)
            buffer.resize(BlockBytes);
    }

    // The file must still have the size it had when the backup counted it.
    ResultOf<Manifest::Member> add(const QString& member, const QString& path, qint64 size, const QDateTime& modified,
                                   bool compress)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return FileErrors::failure(BackupTr::tr("无法读取%1").arg(FileErrors::quoted(path)), ENOENT);
        if (Result r = m_zip.begin(member, size, modified, compress); !r)
            return r;
        // A file left half done by a failure would otherwise start this hash.
        (void)m_hash.hex();
        // Two buffers in turn: one is hashed on the other thread while the next is read and written.
        qint64 left = size;
        for (int turn = 0; left > 0; turn ^= 1) {
            if (m_progress.cancelled())
                return Backup::cancelled();
            QByteArray& buffer = m_buffers[turn];
            const qint64 read = file.read(buffer.data(), qMin<qint64>(left, buffer.size()));
            if (read <= 0)
                return Result::failure(
                    BackupTr::tr("文件%1在备份时被改动或无法读取。请稍后再备份一次。").arg(FileErrors::quoted(path)),
                    file.errorString());
            m_hash.add(buffer.constData(), read);
            if (Result r = m_zip.write(buffer.constData(), read); !r)
                return r;
            left -= read;
            m_progress.advance(read);
        }
        return Manifest::Member{member, size, m_hash.hex()};
    }

private:
    ZipWriter& m_zip;
    Progress& m_progress;
    QByteArray m_buffers[2];
    // Declared after the buffers, so it is gone, with the block it was hashing, before they are.
    BackgroundSha256 m_hash;
};

ResultOf<QStringList> namedMedia(const QString& snapshot, const NamedMediaProvider& provider)
{
    ScopedConnection connection(snapshot);
    if (!connection.open())
        return Result::failure(BackupTr::tr("无法读取数据库的副本。请稍后再试。"), connection.error());
    return provider(connection.db());
}

// Room needed beside what is packed: the table of contents and the file system's rounding.
qint64 withSlack(qint64 bytes)
{
    return bytes + bytes / 100 + (4 << 20);
}

// The path as the disk resolves it, also for a file that does not exist yet: links and ".."
// followed in its folder, and in the file itself when it exists.
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

// Whether path is the database or one of the files SQLite and the restore keep beside it.
bool isDatabaseFile(const QString& path, const QString& databasePath)
{
    const QString archive = resolved(path);
    const QString database = resolved(databasePath);
    for (const char* suffix : {"", "-journal", "-wal", "-shm", ".lock", ".restore-journal"}) {
        if (archive == database + QLatin1String(suffix))
            return true;
    }
    return false;
}

} // namespace

namespace Backup {

qint64 fileSizeLimit(const QString& folder)
{
#ifdef Q_OS_LINUX
    constexpr decltype(statfs::f_type) FatMagic = 0x4d44; // MSDOS_SUPER_MAGIC
    struct statfs info;
    if (::statfs(QFile::encodeName(folder).constData(), &info) == 0 && info.f_type == FatMagic)
        return (qint64(4) << 30) - 1;
#else
    Q_UNUSED(folder);
#endif
    return -1;
}

Result cancelled()
{
    return Result::failure(BackupTr::tr("已取消，没有留下任何文件。"));
}

ResultOf<BackupSummary> create(const BackupOptions& options, Progress& progress)
{
    BackupSummary summary;
    summary.archivePath = QFileInfo(options.archivePath).absoluteFilePath();
    summary.created = Clock::current().now();
    const QString sourceDatabase = options.source.databasePath;
    // Renaming the archive over the database (or its journal) would destroy what it saves.
    if (isDatabaseFile(summary.archivePath, sourceDatabase))
        return Result::failure(BackupTr::tr("备份文件不能保存在数据库文件%1上。请换一个文件名或位置。")
                                   .arg(FileErrors::quoted(sourceDatabase)));

    QTemporaryDir work;
    if (!work.isValid())
        return FileErrors::failure(BackupTr::tr("无法在临时文件夹%1中工作").arg(FileErrors::quoted(QDir::tempPath())),
                                   errno);
    const QString snapshot = work.filePath(QStringLiteral("kestrin.db"));
    if (Result r = DatabaseSnapshot::copyFamily(options.source, snapshot, progress, options.pagesPerStep); !r)
        return progress.cancelled() ? cancelled() : r;
    if (Result r = DatabaseSnapshot::checkIntegrity(snapshot); !r)
        return Result::failure(BackupTr::tr("数据库文件%1已经损坏，备份没有进行。请不要再修改记录，并联系技术支持。")
                                   .arg(FileErrors::quoted(sourceDatabase)),
                               r.detail());
    const ResultOf<DatabaseSnapshot::Versions> versions = DatabaseSnapshot::versions(snapshot);
    if (!versions)
        return Result(versions);
    // The copy says when it was backed up, so a restored database does not ask for a backup at once.
    if (Result r = DatabaseSnapshot::recordBackupTime(snapshot, summary.created); !r)
        return r;

    const ResultOf<QStringList> names = namedMedia(snapshot, options.namedMedia);
    if (!names)
        return Result(names);
    // The whole media folder goes in, also files no row names (Reelbox's welcome animation, files
    // a program is about to name); hidden ones are the media store's temporaries.
    const QSet<QString> named(names->cbegin(), names->cend());
    QList<MediaFile> media;
    QStringList unnamed;
    qint64 mediaBytes = 0;
    const QDir mediaFolder(options.source.mediaFolder);
    for (const QFileInfo& info : mediaFolder.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString name = info.fileName();
        if (name.startsWith(QLatin1Char('.')) && !named.contains(name))
            continue;
        media.append({name, info.filePath(), info.size(), info.lastModified()});
        mediaBytes += info.size();
        if (!named.contains(name))
            unnamed << name;
    }
    QStringList sorted = names.value();
    sorted.sort();
    sorted.removeDuplicates();
    for (const QString& name : sorted) {
        if (!Manifest::isSafeMediaName(name) || !QFileInfo(mediaFolder.filePath(name)).isFile())
            summary.missingMedia << name;
    }

    const qint64 databaseBytes = QFileInfo(snapshot).size();
    const QString targetFolder = QFileInfo(summary.archivePath).absolutePath();
    const QStorageInfo target(targetFolder);
    if (target.isValid() && target.bytesAvailable() >= 0 &&
        target.bytesAvailable() < withSlack(databaseBytes + mediaBytes))
        return FileErrors::failure(BackupTr::tr("无法写入备份文件%1").arg(FileErrors::quoted(summary.archivePath)),
                                   ENOSPC);
    // Said before the work, not after 4 GB of it: the database shrinks when packed, the media do not.
    const qint64 limit = options.fileSizeLimit >= 0 ? options.fileSizeLimit : fileSizeLimit(targetFolder);
    if (limit >= 0 && databaseBytes + mediaBytes > limit)
        return Result::failure(
            BackupTr::tr("备份文件大约有 %1，但%2所在的磁盘使用 FAT32 格式，一个文件最大只能有 %3，放不下这个备份。"
                         "请把备份保存到别的位置，或者使用 exFAT 或 NTFS 格式的U盘或磁盘。")
                .arg(FileErrors::sizeText(databaseBytes + mediaBytes), FileErrors::quoted(targetFolder),
                     FileErrors::sizeText(limit)));

    AtomicFile file(summary.archivePath);
    if (Result r = file.open(); !r)
        return r;
    ZipWriter zip(file);
    if (Result r = zip.open(); !r)
        return r;
    progress.start(BackupTr::tr("正在写入备份文件…"), databaseBytes + mediaBytes);

    Manifest manifest;
    manifest.programVersion = QStringLiteral(KESTRIN_VERSION);
    manifest.schemaVersion = versions->schema;
    manifest.minCompatibleVersion = versions->minCompatible;
    manifest.created = summary.created;
    manifest.missingMedia = summary.missingMedia;
    manifest.unnamedMedia = unnamed;
    MemberWriter members(zip, progress);
    const ResultOf<Manifest::Member> database =
        members.add(Manifest::DatabaseMember, snapshot, databaseBytes, summary.created, true);
    if (!database)
        return Result(database);
    manifest.members.append(*database);
    for (const MediaFile& m : media) {
        const ResultOf<Manifest::Member> added =
            members.add(Manifest::MediaPrefix + m.name, m.path, m.size, m.modified, false);
        if (!added)
            return Result(added);
        manifest.members.append(*added);
    }
    const QByteArray list = manifest.toJson();
    if (Result r = zip.begin(Manifest::FileName, list.size(), summary.created, true); !r)
        return r;
    if (Result r = zip.write(list.constData(), list.size()); !r)
        return r;
    if (Result r = zip.close(); !r)
        return r;
    if (progress.cancelled())
        return cancelled();
    if (Result r = file.commit(); !r)
        return r;

    summary.mediaFiles = int(media.size());
    summary.archiveBytes = QFileInfo(summary.archivePath).size();
    std::unique_ptr<ScopedConnection> live = options.source.onServer()
                                                 ? std::make_unique<ScopedConnection>(options.source.server)
                                                 : std::make_unique<ScopedConnection>(sourceDatabase);
    summary.recorded =
        live->open()
            ? BackupRecord::setLastBackup(live->db(), summary.created)
            : Result::failure(BackupTr::tr("备份已经完成，但无法在数据库中记下备份时间，下次启动时可能仍会提醒备份。"),
                              live->error());
    return summary;
}

} // namespace Backup

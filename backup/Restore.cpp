#include "backup/Restore.h"

#include "backup/BackupReader.h"
#include "backup/BackupTr.h"
#include "backup/DatabaseSnapshot.h"
#include "backup/DiskSync.h"
#include "backup/FileErrors.h"
#include "backup/Progress.h"
#include "backup/RecordsLock.h"
#include "backup/ScopedConnection.h"
#include "backup/ServerRestore.h"
#include "backup/Sha256.h"
#include "backup/SuitePrograms.h"
#include "common/Clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <cerrno>
#include <sys/stat.h>

namespace {

QString stagedMedia(const QTemporaryDir& stage)
{
    return stage.filePath(QStringLiteral("media"));
}

// A folder name beside the database that is not taken yet.
QString freeAsideFolder(const QString& databaseFolder, const QDateTime& now)
{
    const QString base =
        QDir(databaseFolder).filePath(BackupTr::tr("恢复前的记录-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString folder = base;
    for (int i = 2; QFileInfo::exists(folder); ++i)
        folder = base + QStringLiteral("-%1").arg(i);
    return folder;
}

// Whether a folder (or, when it does not exist, the folder it would be made in) lies on the same
// file system as another.
bool sameDisk(const QString& folder, const QString& other)
{
    struct stat a;
    struct stat b;
    const QString existing = QFileInfo::exists(other) ? other : QFileInfo(other).absolutePath();
    if (::stat(QFile::encodeName(folder).constData(), &a) != 0 ||
        ::stat(QFile::encodeName(existing).constData(), &b) != 0)
        return true;
    return a.st_dev == b.st_dev;
}

} // namespace

StagedRestore::StagedRestore(FamilyFiles target, std::unique_ptr<QTemporaryDir> stage,
                             std::unique_ptr<QTemporaryDir> databaseStage, Manifest manifest)
    : m_target(std::move(target)), m_stage(std::move(stage)), m_databaseStage(std::move(databaseStage)),
      m_manifest(std::move(manifest))
{
}

QString StagedRestore::mediaAsideFolder() const
{
    return m_mediaAside != m_asideFolder && QFileInfo::exists(m_mediaAside) ? m_mediaAside : QString();
}

QString StagedRestore::stagedDatabase() const
{
    return (m_databaseStage ? *m_databaseStage : *m_stage).filePath(QStringLiteral("kestrin.db"));
}

ResultOf<std::unique_ptr<StagedRestore>> StagedRestore::prepare(const QString& archivePath, const FamilyFiles& target,
                                                                Progress& progress)
{
    // Unpacked beside the database, on the same disk, so that putting it in place is a rename. A
    // server's rows are not moved but copied: then only the media need to be on the media
    // folder's disk.
    const QString databaseFolder = QFileInfo(target.databasePath).absolutePath();
    const bool mediaApart = target.onServer() && !sameDisk(databaseFolder, target.mediaFolder);
    const QString stageFolder = mediaApart ? QFileInfo(target.mediaFolder).absolutePath() : databaseFolder;
    const auto newStage = [](const QString& folder) -> ResultOf<std::unique_ptr<QTemporaryDir>> {
        if (!QDir().mkpath(folder))
            return FileErrors::failure(BackupTr::tr("无法创建文件夹%1").arg(FileErrors::quoted(folder)), errno);
        auto stage = std::make_unique<QTemporaryDir>(QDir(folder).filePath(QStringLiteral(".restore-XXXXXX")));
        if (!stage->isValid())
            return FileErrors::failure(BackupTr::tr("无法在%1中展开备份").arg(FileErrors::quoted(folder)), errno);
        return stage;
    };
    ResultOf<std::unique_ptr<QTemporaryDir>> stage = newStage(stageFolder);
    if (!stage)
        return Result(stage);
    std::unique_ptr<QTemporaryDir> databaseStage;
    if (mediaApart) {
        ResultOf<std::unique_ptr<QTemporaryDir>> own = newStage(databaseFolder);
        if (!own)
            return Result(own);
        databaseStage = std::move(*own);
    }
    const QString database = (databaseStage ? *databaseStage : **stage).filePath(QStringLiteral("kestrin.db"));

    ResultOf<Manifest> manifest = BackupReader::unpack(archivePath, database, stagedMedia(**stage), progress);
    if (!manifest)
        return Result(manifest);
    if (Result r = BackupReader::checkDatabase(database); !r)
        return r;
    // The unpacked files reach the disk before a journal can name them as the records to finish with.
    const auto synced = [](const QString& folder) {
        return DiskSync::fileSystemOf(folder) && DiskSync::folder(folder);
    };
    if (!synced((*stage)->path()) || !DiskSync::folder(stagedMedia(**stage)) ||
        (databaseStage && !synced(databaseStage->path())))
        return FileErrors::failure(BackupTr::tr("无法在%1中展开备份").arg(FileErrors::quoted(stageFolder)), EIO);
    return std::unique_ptr<StagedRestore>(
        new StagedRestore(target, std::move(*stage), std::move(databaseStage), std::move(*manifest)));
}

RestoreJournal StagedRestore::journal(const QString& databaseFolder) const
{
    const QDir folder(databaseFolder);
    RestoreJournal journal;
    journal.stage = folder.relativeFilePath(m_stage->path());
    journal.aside = folder.relativeFilePath(m_mediaAside);
    // A journal left by a crash belongs to the old file: beside the restored one, SQLite would
    // play it back into it.
    // With the rows on a server, only the media folder is swapped; the rows go in one transaction.
    const bool file = !m_target.onServer();
    const QString databaseName = QFileInfo(m_target.databasePath).fileName();
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const QString name = databaseName + QLatin1String(suffix);
        if (file && QFileInfo::exists(folder.filePath(name)))
            journal.steps.append({name, journal.aside + QLatin1Char('/') + name, false});
    }
    const QString mediaName = folder.relativeFilePath(m_target.mediaFolder);
    if (QFileInfo::exists(m_target.mediaFolder))
        journal.steps.append({mediaName, journal.aside + QStringLiteral("/media"), false});
    if (file)
        journal.steps.append({folder.relativeFilePath(stagedDatabase()), databaseName, true});
    journal.steps.append({folder.relativeFilePath(stagedMedia(*m_stage)), mediaName, true});

    const QString database = stagedDatabase();
    journal.databaseSize = QFileInfo(database).size();
    journal.databaseSha256 = Sha256::ofFile(database);
    for (const Manifest::Member& member : m_manifest.members) {
        if (const QString name = Manifest::mediaName(member.path); !name.isEmpty())
            journal.media.append({name, member.size});
    }
    return journal;
}

Result StagedRestore::commit()
{
    const QString databaseFolder = QFileInfo(m_target.databasePath).absolutePath();
    // The program's own lock changes to exclusive; kestrin-backup takes one of its own.
    std::unique_ptr<RecordsLock> ownLock;
    RecordsLock* lock = RecordsLock::programLock(m_target.databasePath);
    if (!lock) {
        ownLock = std::make_unique<RecordsLock>(m_target.databasePath);
        lock = ownLock.get();
    }
    if (!lock->lock(RecordsLock::Mode::Exclusive)) {
        // A server that cannot be reached is no program holding the records: the reason is said.
        if (!lock->serverError().isEmpty())
            return Result::failure(lock->serverError() + QLatin1Char('\n') +
                                   BackupTr::tr("恢复没有进行，没有做任何更改。"));
        return SuitePrograms::holdingRecords(m_procRoot, QCoreApplication::applicationPid(), lock->serverHolders());
    }
    const auto release = qScopeGuard([&] {
        if (!ownLock)
            lock->lock(RecordsLock::Mode::Shared);
    });

    // The media folder is swapped by renames, which cannot cross from one disk to another. A file's
    // database and media go aside together, so for a file both must be on one disk.
    if (!m_target.onServer() && !sameDisk(databaseFolder, m_target.mediaFolder))
        return Result::failure(
            BackupTr::tr("媒体文件夹%1和数据库文件夹%2不在同一个磁盘上，恢复无法把媒体文件夹换成备份中的。"
                         "没有做任何更改。请在媒体文件夹所在的电脑上恢复，或者在“数据库位置…”里"
                         "选择与数据库文件夹在同一个磁盘上的媒体文件夹。")
                .arg(FileErrors::quoted(m_target.mediaFolder), FileErrors::quoted(databaseFolder)));
    m_asideFolder = freeAsideFolder(databaseFolder, Clock::current().now());
    if (!QDir().mkpath(m_asideFolder))
        return FileErrors::failure(
            BackupTr::tr("无法创建文件夹%1，没有做任何更改").arg(FileErrors::quoted(m_asideFolder)), errno);
    m_mediaAside = m_asideFolder;
    if (m_databaseStage) {
        m_mediaAside = freeAsideFolder(QFileInfo(m_target.mediaFolder).absolutePath(), Clock::current().now());
        if (!QDir().mkpath(m_mediaAside)) {
            const int error = errno;
            QDir().rmdir(m_asideFolder);
            return FileErrors::failure(
                BackupTr::tr("无法创建文件夹%1，没有做任何更改").arg(FileErrors::quoted(m_mediaAside)), error);
        }
    }
    if (m_target.onServer()) {
        const Result done = commitToServer();
        // The unpacked database was only read into the server; nothing needs it any more.
        m_databaseStage.reset();
        return done;
    }
    const RestoreJournal plan = journal(databaseFolder);
    if (Result r = plan.write(m_target.databasePath); !r) {
        QDir().rmdir(m_asideFolder);
        return r;
    }
    // From here the journal decides what becomes of the stage, also after a power cut.
    m_stage->setAutoRemove(false);

    RestoreSwap swap(databaseFolder, plan, m_move);
    if (const Result moved = swap.forward(); !moved) {
        // Undone in reverse order: the unpacked files go back to the stage, the old ones home.
        if (const QStringList stuck = swap.back(); !stuck.isEmpty())
            // The journal stays: the next start tries again to put the old records back.
            return Result::failure(
                moved.message() +
                    BackupTr::tr("\n原来的记录未能全部放回原处，它们保存在%1中。请不要删除这个文件夹，并联系技术支持。")
                        .arg(FileErrors::quoted(m_asideFolder)),
                moved.detail());
        swap.finish(m_target.databasePath);
        return Result::failure(moved.message() + BackupTr::tr("\n原来的记录已经放回原处，没有任何改变。"),
                               moved.detail());
    }
    swap.finish(m_target.databasePath);
    // On a computer that had no records yet, nothing was moved aside.
    if (!QFileInfo::exists(m_asideFolder))
        m_asideFolder.clear();
    return {};
}

Result StagedRestore::commitToServer()
{
    const QString databaseFolder = QFileInfo(m_target.databasePath).absolutePath();
    const QString asideCopy = QDir(m_asideFolder).filePath(QFileInfo(m_target.databasePath).fileName());
    // Nothing changed: the copy of the server's rows is not needed.
    const auto unchanged = [&](const Result& cause) {
        QFile::remove(asideCopy);
        QDir().rmdir(m_asideFolder);
        QDir().rmdir(m_mediaAside);
        return Result::failure(cause.message() + BackupTr::tr("\n服务器上的记录没有任何改变。"), cause.detail());
    };
    // The server's rows as they are now go aside first, as a file's would.
    Progress quiet;
    if (Result r = DatabaseSnapshot::copyFromServer(m_target.server, asideCopy, quiet); !r)
        return unchanged(r);
    ScopedConnection server(m_target.server);
    if (Result r = server.connect(); !r)
        return unchanged(r);
    RestoreJournal plan = journal(databaseFolder);
    plan.serverRestore = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (Result r = ServerRestore::replaceRows(server.db(), stagedDatabase(), plan.serverRestore); !r)
        return unchanged(Result::failure(BackupTr::tr("备份中的记录无法写到服务器上。"), r.error()));
    if (Result r = plan.write(m_target.databasePath); !r) {
        QSqlQuery(server.db()).exec(QStringLiteral("ROLLBACK"));
        return unchanged(r);
    }
    // From here the journal decides what becomes of the stage, also after a power cut.
    m_stage->setAutoRemove(false);

    // The media go in place while the rows wait uncommitted: a failure of either undoes both.
    RestoreSwap swap(databaseFolder, plan, m_move);
    const Result moved = swap.forward();
    Result done = moved;
    if (moved)
        done = ServerRestore::commit(server.db());
    else
        QSqlQuery(server.db()).exec(QStringLiteral("ROLLBACK"));
    if (moved && !done) {
        // A commit whose answer was lost may still have landed: the server says.
        const ResultOf<bool> landed = ServerRestore::landed(m_target.server, plan.serverRestore);
        if (!landed)
            return Result::failure(done.message() +
                                       BackupTr::tr("\n现在无法确定服务器是否已经收到备份中的记录。请不要删除%1，"
                                                    "在服务器可以连接时重新打开程序，程序会把恢复完成或撤消。")
                                           .arg(FileErrors::quoted(m_asideFolder)),
                                   done.detail());
        if (*landed)
            done = {};
    }
    if (!done) {
        if (const QStringList stuck = swap.back(); !stuck.isEmpty())
            return Result::failure(
                done.message() +
                    BackupTr::tr(
                        "\n原来的媒体文件未能全部放回原处，它们保存在%1中。请不要删除这个文件夹，并联系技术支持。")
                        .arg(FileErrors::quoted(m_asideFolder)),
                done.detail());
        swap.finish(m_target.databasePath);
        return unchanged(
            Result::failure(done.message() + BackupTr::tr("\n原来的媒体文件已经放回原处。"), done.detail()));
    }
    swap.finish(m_target.databasePath);
    return {};
}

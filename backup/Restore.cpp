#include "backup/Restore.h"

#include "backup/BackupReader.h"
#include "backup/BackupTr.h"
#include "backup/DiskSync.h"
#include "backup/FileErrors.h"
#include "backup/RecordsLock.h"
#include "backup/Sha256.h"
#include "backup/SuitePrograms.h"
#include "common/Clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>

namespace {

QString stagedDatabase(const QTemporaryDir& stage)
{
    return stage.filePath(QStringLiteral("kestrin.db"));
}

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

} // namespace

StagedRestore::StagedRestore(FamilyFiles target, std::unique_ptr<QTemporaryDir> stage, Manifest manifest)
    : m_target(std::move(target)), m_stage(std::move(stage)), m_manifest(std::move(manifest))
{
}

ResultOf<std::unique_ptr<StagedRestore>> StagedRestore::prepare(const QString& archivePath, const FamilyFiles& target,
                                                                Progress& progress)
{
    // Unpacked beside the database, on the same disk, so that putting it in place is a rename.
    const QString databaseFolder = QFileInfo(target.databasePath).absolutePath();
    if (!QDir().mkpath(databaseFolder))
        return FileErrors::failure(BackupTr::tr("无法创建文件夹%1").arg(FileErrors::quoted(databaseFolder)), errno);
    auto stage = std::make_unique<QTemporaryDir>(QDir(databaseFolder).filePath(QStringLiteral(".restore-XXXXXX")));
    if (!stage->isValid())
        return FileErrors::failure(BackupTr::tr("无法在%1中展开备份").arg(FileErrors::quoted(databaseFolder)), errno);

    ResultOf<Manifest> manifest =
        BackupReader::unpack(archivePath, stagedDatabase(*stage), stagedMedia(*stage), progress);
    if (!manifest)
        return Result(manifest);
    if (Result r = BackupReader::checkDatabase(stagedDatabase(*stage)); !r)
        return r;
    // The unpacked files reach the disk before a journal can name them as the records to finish with.
    if (!DiskSync::fileSystemOf(stage->path()) || !DiskSync::folder(stagedMedia(*stage)) ||
        !DiskSync::folder(stage->path()))
        return FileErrors::failure(BackupTr::tr("无法在%1中展开备份").arg(FileErrors::quoted(databaseFolder)), EIO);
    return std::unique_ptr<StagedRestore>(new StagedRestore(target, std::move(stage), std::move(*manifest)));
}

RestoreJournal StagedRestore::journal(const QString& databaseFolder) const
{
    const QDir folder(databaseFolder);
    RestoreJournal journal;
    journal.stage = folder.relativeFilePath(m_stage->path());
    journal.aside = folder.relativeFilePath(m_asideFolder);
    // A journal left by a crash belongs to the old file: beside the restored one, SQLite would
    // play it back into it.
    const QString databaseName = QFileInfo(m_target.databasePath).fileName();
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const QString name = databaseName + QLatin1String(suffix);
        if (QFileInfo::exists(folder.filePath(name)))
            journal.steps.append({name, journal.aside + QLatin1Char('/') + name, false});
    }
    const QString mediaName = folder.relativeFilePath(m_target.mediaFolder);
    if (QFileInfo::exists(m_target.mediaFolder))
        journal.steps.append({mediaName, journal.aside + QStringLiteral("/media"), false});
    journal.steps.append({folder.relativeFilePath(stagedDatabase(*m_stage)), databaseName, true});
    journal.steps.append({folder.relativeFilePath(stagedMedia(*m_stage)), mediaName, true});

    const QString database = stagedDatabase(*m_stage);
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
    if (!lock->lock(RecordsLock::Mode::Exclusive))
        return SuitePrograms::holdingRecords(m_procRoot, QCoreApplication::applicationPid());
    const auto release = qScopeGuard([&] {
        if (!ownLock)
            lock->lock(RecordsLock::Mode::Shared);
    });

    m_asideFolder = freeAsideFolder(databaseFolder, Clock::current().now());
    if (!QDir().mkpath(m_asideFolder))
        return FileErrors::failure(
            BackupTr::tr("无法创建文件夹%1，没有做任何更改").arg(FileErrors::quoted(m_asideFolder)), errno);
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

#include "backup/Restore.h"

#include "backup/BackupReader.h"
#include "backup/BackupTr.h"
#include "backup/FileErrors.h"
#include "common/Clock.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>

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

std::error_code StagedRestore::defaultMove(const QString& from, const QString& to)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), code);
    return code;
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
    return std::unique_ptr<StagedRestore>(new StagedRestore(target, std::move(stage), std::move(*manifest)));
}

Result StagedRestore::commit()
{
    const QString databaseFolder = QFileInfo(m_target.databasePath).absolutePath();
    m_asideFolder = freeAsideFolder(databaseFolder, Clock::current().now());
    if (!QDir().mkpath(m_asideFolder))
        return FileErrors::failure(
            BackupTr::tr("无法创建文件夹%1，没有做任何更改").arg(FileErrors::quoted(m_asideFolder)), errno);

    struct Step
    {
        QString from;
        QString to;
    };
    QList<Step> plan;
    // A journal left by a crash belongs to the old file: beside the restored one, SQLite would
    // play it back into it.
    const QString databaseName = QFileInfo(m_target.databasePath).fileName();
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const QString path = m_target.databasePath + QLatin1String(suffix);
        if (QFileInfo::exists(path))
            plan.append({path, QDir(m_asideFolder).filePath(databaseName + QLatin1String(suffix))});
    }
    if (QFileInfo::exists(m_target.mediaFolder))
        plan.append({m_target.mediaFolder, QDir(m_asideFolder).filePath(QStringLiteral("media"))});
    plan.append({stagedDatabase(*m_stage), m_target.databasePath});
    plan.append({stagedMedia(*m_stage), m_target.mediaFolder});

    QList<Step> done;
    for (const Step& step : plan) {
        const std::error_code code = m_move(step.from, step.to);
        if (!code) {
            done.prepend(step);
            continue;
        }
        // Undo in reverse order: the unpacked files go back to the stage, the old ones home.
        QStringList stuck;
        for (const Step& undo : done) {
            if (m_move(undo.to, undo.from))
                stuck << undo.from;
        }
        const Result failed =
            FileErrors::failure(BackupTr::tr("恢复没有完成，无法移动%1").arg(FileErrors::quoted(step.from)), code);
        if (!stuck.isEmpty())
            return Result::failure(
                failed.message() +
                    BackupTr::tr("\n原来的记录未能全部放回原处，它们保存在%1中。请不要删除这个文件夹，并联系技术支持。")
                        .arg(FileErrors::quoted(m_asideFolder)),
                failed.detail());
        QDir().rmdir(m_asideFolder);
        return Result::failure(failed.message() + BackupTr::tr("\n原来的记录已经放回原处，没有任何改变。"),
                               failed.detail());
    }
    // On a computer that had no records yet, nothing was moved aside.
    if (QDir().rmdir(m_asideFolder))
        m_asideFolder.clear();
    return {};
}

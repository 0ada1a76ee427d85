#include "backup/RestoreRecovery.h"

#include "backup/BackupTr.h"
#include "backup/FileErrors.h"
#include "backup/RecordsLock.h"
#include "backup/RestoreSwap.h"
#include "backup/ServerRestore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>

#include <memory>

namespace {

// Leftovers younger than this may belong to a run still going on.
constexpr qint64 LeftoverAgeSeconds = 24 * 60 * 60;

QString asidePrefix()
{
    return BackupTr::tr("恢复前的记录-");
}

Recovery failed(const QString& aside, const QString& detail)
{
    return {Recovery::Outcome::Failed,
            BackupTr::tr("上次恢复备份时被中断，现在无法自动完成或撤消。原来的记录保存在%1中，"
                         "请不要删除这个文件夹，并联系技术支持。")
                .arg(FileErrors::quoted(aside)),
            detail};
}

// The records lock held exclusively for the repair: the program's own when it has one.
class ExclusiveHold
{
public:
    explicit ExclusiveHold(const QString& databasePath) : m_lock(RecordsLock::programLock(databasePath))
    {
        if (!m_lock) {
            m_own = std::make_unique<RecordsLock>(databasePath);
            m_lock = m_own.get();
        }
        m_wasLocked = m_lock->isLocked();
    }
    ~ExclusiveHold()
    {
        if (m_wasLocked)
            m_lock->lock(RecordsLock::Mode::Shared);
        else
            m_lock->unlock();
    }
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;

    bool take(std::chrono::milliseconds wait) { return m_lock->lock(RecordsLock::Mode::Exclusive, wait); }

private:
    RecordsLock* m_lock;
    std::unique_ptr<RecordsLock> m_own;
    bool m_wasLocked = false;
};

Recovery busy()
{
    return {Recovery::Outcome::Busy, BackupTr::tr("正在恢复备份。请等恢复完成后再试。"), {}};
}

// A restore on a server finishes when its rows landed, and is undone when they did not; when the
// server cannot say, nothing is moved.
Recovery finishServerJournal(const FamilyFiles& files, RestoreSwap& swap)
{
    const QString aside = swap.path(swap.journal().aside);
    const ResultOf<bool> landed = ServerRestore::landed(files.server, swap.journal().serverRestore);
    if (!landed)
        return {Recovery::Outcome::Failed,
                BackupTr::tr("上次在服务器上恢复备份时被中断，现在连不上服务器，无法确定恢复是否已经完成，"
                             "所以什么也没有改动。请在服务器可以连接时再打开程序。原来的记录保存在%1中，请不要删除。")
                    .arg(FileErrors::quoted(aside)),
                landed.error()};
    if (*landed) {
        if (!swap.backupWhole() || !swap.forward())
            return failed(aside, BackupTr::tr("备份中的媒体文件不完整。"));
        swap.finish(files.databasePath);
        return {Recovery::Outcome::Completed,
                BackupTr::tr("上次恢复备份时被中断，现在已经把备份中的记录全部恢复好，原来的记录保存在%1中。")
                    .arg(FileErrors::quoted(aside)),
                {}};
    }
    if (const QStringList stuck = swap.back(); !stuck.isEmpty())
        return failed(aside, stuck.join(QStringLiteral(", ")));
    swap.finish(files.databasePath);
    return {Recovery::Outcome::PutBack,
            BackupTr::tr("上次恢复备份时被中断，服务器上的记录和媒体文件都是原来的，备份没有恢复。"),
            {}};
}

Recovery finishJournal(const FamilyFiles& files, std::chrono::milliseconds wait)
{
    const QString& databasePath = files.databasePath;
    ExclusiveHold hold(databasePath);
    if (!hold.take(wait))
        return busy();
    // Another program may have finished it while this one waited.
    if (!RestoreJournal::existsFor(databasePath))
        return {};
    const QString folder = QFileInfo(databasePath).absolutePath();
    const ResultOf<RestoreJournal> journal = RestoreJournal::read(databasePath);
    if (!journal)
        return failed(QDir(folder).filePath(asidePrefix() + QStringLiteral("…")), journal.error());
    RestoreSwap swap(folder, *journal);
    const QString aside = swap.path(journal->aside);
    if (swap.anyUnclear())
        return failed(aside, BackupTr::tr("数据库文件夹中的文件与恢复记录不符。"));
    if (!journal->serverRestore.isEmpty())
        return finishServerJournal(files, swap);

    if (swap.backupWhole() && swap.forward()) {
        swap.finish(databasePath);
        return {Recovery::Outcome::Completed,
                QFileInfo::exists(aside)
                    ? BackupTr::tr("上次恢复备份时被中断，现在已经把备份中的记录全部恢复好，原来的记录保存在%1中。")
                          .arg(FileErrors::quoted(aside))
                    : BackupTr::tr("上次恢复备份时被中断，现在已经把备份中的记录全部恢复好。"),
                {}};
    }
    if (const QStringList stuck = swap.back(); !stuck.isEmpty())
        return failed(aside, stuck.join(QStringLiteral(", ")));
    swap.finish(databasePath);
    return {
        Recovery::Outcome::PutBack, BackupTr::tr("上次恢复备份时被中断，原来的记录已经放回原处，备份没有恢复。"), {}};
}

QFileInfoList matching(const QString& folder, const QString& pattern, QDir::Filters filters)
{
    return QDir(folder).entryInfoList({pattern}, filters | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A restore of an older version kept no journal: cut off after it moved the database aside, it
// left no database, the aside folder holding it and its stage beside.
Recovery putBackWithoutJournal(const FamilyFiles& files, std::chrono::milliseconds wait)
{
    const QString folder = QFileInfo(files.databasePath).absolutePath();
    const QString name = QFileInfo(files.databasePath).fileName();
    // With the rows on a server, an aside folder's database file is a copy, never one to put back.
    if (files.onServer() || QFileInfo::exists(files.databasePath) ||
        matching(folder, QStringLiteral(".restore-*"), QDir::Dirs).isEmpty())
        return {};
    QFileInfoList asides = matching(folder, asidePrefix() + QLatin1Char('*'), QDir::Dirs);
    if (asides.isEmpty() || !QFileInfo::exists(QDir(asides.last().filePath()).filePath(name)))
        return {};
    ExclusiveHold hold(files.databasePath);
    if (!hold.take(wait))
        return busy();
    const QString aside = asides.last().filePath();
    RestoreJournal journal;
    journal.aside = QDir(folder).relativeFilePath(aside);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        journal.steps.append(
            {name + QLatin1String(suffix), journal.aside + QLatin1Char('/') + name + QLatin1String(suffix), false});
    if (!QFileInfo::exists(files.mediaFolder))
        journal.steps.append(
            {QDir(folder).relativeFilePath(files.mediaFolder), journal.aside + QStringLiteral("/media"), false});
    RestoreSwap swap(folder, journal);
    if (const QStringList stuck = swap.back(); !stuck.isEmpty())
        return failed(aside, stuck.join(QStringLiteral(", ")));
    QDir().rmdir(aside);
    return {
        Recovery::Outcome::PutBack,
        BackupTr::tr("上次恢复备份时被中断，原来的记录已经从%1放回原处，备份没有恢复。").arg(FileErrors::quoted(aside)),
        {}};
}

void removeOld(const QFileInfoList& entries, const QDateTime& before)
{
    for (const QFileInfo& entry : entries) {
        if (entry.lastModified() >= before)
            continue;
        if (entry.isDir())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

void removeLeftovers(const FamilyFiles& files, const QStringList& archiveFolders)
{
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-LeftoverAgeSeconds);
    const QString folder = QFileInfo(files.databasePath).absolutePath();
    // While a journal is left, its stage still holds records.
    if (!RestoreJournal::existsFor(files.databasePath))
        removeOld(matching(folder, QStringLiteral(".restore-*"), QDir::Dirs), before);
    removeOld(matching(folder,
                       QFileInfo(RestoreJournal::pathFor(files.databasePath)).fileName() + QStringLiteral(".new"),
                       QDir::Files),
              before);
    const QStringList archiveLeftovers = QStringList(archiveFolders) << folder;
    for (const QString& archives : archiveLeftovers)
        removeOld(matching(archives, QStringLiteral(".*.??????.partial"), QDir::Files), before);
    removeOld(matching(files.mediaFolder, QStringLiteral(".kestrin-*.part"), QDir::Files), before);
}

} // namespace

namespace RestoreRecovery {

Recovery run(const FamilyFiles& files, std::chrono::milliseconds wait, const QStringList& archiveFolders)
{
    const Recovery recovery =
        RestoreJournal::existsFor(files.databasePath) ? finishJournal(files, wait) : putBackWithoutJournal(files, wait);
    removeLeftovers(files, archiveFolders);
    return recovery;
}

QStringList defaultArchiveFolders()
{
    return {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()};
}

} // namespace RestoreRecovery

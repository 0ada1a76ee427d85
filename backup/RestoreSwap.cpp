#include "backup/RestoreSwap.h"

#include "backup/BackupTr.h"
#include "backup/DiskSync.h"
#include "backup/FileErrors.h"
#include "backup/Sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace {

bool sameFile(const QString& path, qint64 size, const QByteArray& sha256)
{
    return QFileInfo(path).size() == size && Sha256::ofFile(path) == sha256;
}

bool sameFolder(const QString& path, const QList<RestoreJournal::File>& files)
{
    const QDir folder(path);
    if (!folder.exists())
        return false;
    if (folder.entryList(QDir::Files | QDir::Hidden | QDir::System).size() != files.size())
        return false;
    for (const RestoreJournal::File& file : files) {
        const QFileInfo info(folder.filePath(file.name));
        if (!info.isFile() || info.size() != file.size)
            return false;
    }
    return true;
}

} // namespace

RestoreSwap::RestoreSwap(QString databaseFolder, RestoreJournal journal, Move move)
    : m_folder(std::move(databaseFolder)), m_journal(std::move(journal)), m_move(std::move(move))
{
}

std::error_code RestoreSwap::defaultMove(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#ifdef Q_OS_LINUX
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return {errno, std::generic_category()};
#endif
    // A file system that cannot refuse to replace: look first.
    if (QFileInfo::exists(to))
        return std::make_error_code(std::errc::file_exists);
    if (std::rename(source.constData(), target.constData()) != 0)
        return {errno, std::generic_category()};
    return {};
}

QString RestoreSwap::path(const QString& relative) const
{
    return QDir(m_folder).filePath(relative);
}

RestoreSwap::State RestoreSwap::state(const RestoreJournal::Step& step) const
{
    const bool from = QFileInfo::exists(path(step.from));
    const bool to = QFileInfo::exists(path(step.to));
    if (step.into) {
        if (!from)
            return to ? State::Done : State::Unclear;
        return State::NotDone;
    }
    if (to)
        return State::Done;
    return from ? State::NotDone : State::Unclear;
}

bool RestoreSwap::anyUnclear() const
{
    for (const RestoreJournal::Step& step : m_journal.steps) {
        if (state(step) == State::Unclear)
            return true;
    }
    return false;
}

bool RestoreSwap::backupWhole() const
{
    for (const RestoreJournal::Step& step : m_journal.steps) {
        if (!step.into)
            continue;
        const QString now = path(state(step) == State::Done ? step.to : step.from);
        const QFileInfo info(now);
        if (info.isDir() ? !sameFolder(now, m_journal.media)
                         : !sameFile(now, m_journal.databaseSize, m_journal.databaseSha256))
            return false;
    }
    return true;
}

Result RestoreSwap::forward()
{
    for (const RestoreJournal::Step& step : m_journal.steps) {
        if (state(step) == State::Done)
            continue;
        if (const std::error_code code = m_move(path(step.from), path(step.to)))
            return FileErrors::failure(
                BackupTr::tr("恢复没有完成，无法移动%1").arg(FileErrors::quoted(path(step.from))), code);
    }
    return {};
}

QStringList RestoreSwap::back()
{
    QStringList stuck;
    for (auto step = m_journal.steps.crbegin(); step != m_journal.steps.crend(); ++step) {
        if (state(*step) == State::Done && m_move(path(step->to), path(step->from)))
            stuck << path(step->from);
    }
    return stuck;
}

void RestoreSwap::finish(const QString& databasePath)
{
    const QString stage = path(m_journal.stage);
    const QString aside = path(m_journal.aside);
    DiskSync::folder(m_folder);
    DiskSync::folder(aside);
    DiskSync::folder(stage);
    QDir(stage).removeRecursively();
    QDir().rmdir(aside);
    RestoreJournal::remove(databasePath);
}

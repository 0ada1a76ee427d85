#include "backup/AtomicFile.h"

#include "backup/BackupTr.h"
#include "backup/FileErrors.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {
// How much is written before the disk is asked to start storing it.
constexpr qint64 WritebackBytes = 16 << 20;
} // namespace

AtomicFile::AtomicFile(QString target) : m_target(std::move(target))
{
    const QFileInfo info(m_target);
    m_file.setFileTemplate(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                           QStringLiteral(".XXXXXX.partial"));
}

AtomicFile::~AtomicFile()
{
    discard();
}

Result AtomicFile::open()
{
    const QFileInfo folder(QFileInfo(m_target).absolutePath());
    if (!folder.isDir())
        return FileErrors::failure(BackupTr::tr("无法在%1中写入文件").arg(FileErrors::quoted(folder.filePath())),
                                   ENOENT);
    errno = 0;
    if (!m_file.open())
        return writeFailure(errno);
    return {};
}

Result AtomicFile::write(const char* data, qint64 size)
{
    errno = 0;
    if (m_file.write(data, size) != size)
        return writeFailure(errno ? errno : EIO);
    m_written += size;
#ifdef Q_OS_LINUX
    // The disk starts storing what is written while the rest is made, so that the sync at the
    // end finds little left to do, and the progress shown follows the disk, not the cache.
    if (m_written - m_flushedTo >= WritebackBytes) {
        ::sync_file_range(m_file.handle(), m_flushedTo, 0, SYNC_FILE_RANGE_WRITE);
        m_flushedTo = m_written;
    }
#endif
    return {};
}

Result AtomicFile::commit()
{
    errno = 0;
    if (!m_file.flush())
        return writeFailure(errno ? errno : EIO);
    // A backup is only a backup once it is on the disk, not just in the system's cache.
    if (::fsync(m_file.handle()) != 0)
        return writeFailure(errno);
    const QString written = m_file.fileName();
    m_file.close();
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(written).toStdString(), QFile::encodeName(m_target).toStdString(), code);
    if (code)
        return FileErrors::failure(BackupTr::tr("无法写入文件%1").arg(FileErrors::quoted(m_target)), code);
    m_file.setAutoRemove(false);
    return {};
}

void AtomicFile::discard()
{
    if (m_file.autoRemove() && !m_file.fileName().isEmpty())
        m_file.remove();
}

Result AtomicFile::writeFailure(int errorNumber) const
{
    return FileErrors::failure(BackupTr::tr("无法写入文件%1").arg(FileErrors::quoted(m_target)), errorNumber);
}

#include "backup/RecordsLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

RecordsLock* registered = nullptr;

constexpr std::chrono::milliseconds RetryEvery{50};

} // namespace

RecordsLock::RecordsLock(QString databasePath) : m_databasePath(std::move(databasePath)) {}

RecordsLock::~RecordsLock()
{
    if (registered == this)
        registered = nullptr;
    if (m_fd >= 0)
        ::close(m_fd);
}

QString RecordsLock::lockFilePath(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteFilePath() + QStringLiteral(".lock");
}

bool RecordsLock::tryOnce(Mode mode)
{
    if (m_fd < 0) {
        const QString path = lockFilePath(m_databasePath);
        QDir().mkpath(QFileInfo(path).absolutePath());
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0)
            return false;
    }
    int result;
    do
        result = ::flock(m_fd, (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

bool RecordsLock::lock(Mode mode, std::chrono::milliseconds wait)
{
    if (m_locked && m_mode == mode)
        return true;
    const bool held = m_locked;
    const Mode before = m_mode;
    for (std::chrono::milliseconds waited{0};; waited += RetryEvery) {
        if (tryOnce(mode)) {
            m_locked = true;
            m_mode = mode;
            return true;
        }
        if (waited >= wait)
            break;
        QThread::msleep(RetryEvery.count());
    }
    // A change of a lock may drop the old one before it fails.
    m_locked = held && tryOnce(before);
    m_mode = before;
    return false;
}

void RecordsLock::unlock()
{
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_UN);
    m_locked = false;
}

RecordsLock* RecordsLock::programLock(const QString& databasePath)
{
    if (!registered)
        return nullptr;
    const QString mine = QFileInfo(registered->m_databasePath).absoluteFilePath();
    return mine == QFileInfo(databasePath).absoluteFilePath() ? registered : nullptr;
}

void RecordsLock::setProgramLock(RecordsLock* lock)
{
    registered = lock;
}

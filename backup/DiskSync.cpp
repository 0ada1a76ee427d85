#include "backup/DiskSync.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

template <typename Sync> bool withOpen(const QString& path, int flags, Sync sync)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = sync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

namespace DiskSync {

bool file(const QString& path)
{
    return withOpen(path, O_RDONLY, ::fsync);
}

bool folder(const QString& path)
{
    return withOpen(path, O_RDONLY | O_DIRECTORY, ::fsync);
}

bool fileSystemOf(const QString& path)
{
#ifdef Q_OS_LINUX
    return withOpen(path, O_RDONLY, ::syncfs);
#else
    ::sync();
    return true;
#endif
}

} // namespace DiskSync

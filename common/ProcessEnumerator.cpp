#include "common/ProcessEnumerator.h"
#include "common/ProcessStat.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <unistd.h>

namespace {

enum class LinkRead
{
    Ok,
    Denied,
    Failed,
    Gone
};

LinkRead readLink(const QString& path, QByteArray& target)
{
    QByteArray buffer(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), buffer.data(), size_t(buffer.size()));
    if (length < 0) {
        if (errno == EACCES || errno == EPERM)
            return LinkRead::Denied;
        return errno == ENOENT ? LinkRead::Gone : LinkRead::Failed;
    }
    target = buffer.left(length);
    // A replaced executable is reported with this mark; the name is still the program's.
    if (target.endsWith(" (deleted)"))
        target.chop(10);
    return LinkRead::Ok;
}

// Whether the process has ended but its parent has not collected it yet (a zombie): its folder
// stays until then, with no executable, and it runs no more. A program closed a moment ago is
// such a process until its parent (a desktop, a shell, a container's first process) takes notice;
// counting it would refuse to open the program again.
bool ended(const QString& folder)
{
    const QList<QByteArray> fields = processStatFields(folder);
    return !fields.isEmpty() && (fields.first() == "Z" || fields.first() == "X");
}

QByteArray baseName(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace

CProcessEnumerator::CProcessEnumerator(QString procRoot) : m_procRoot(std::move(procRoot))
{
    if (QFileInfo(m_procRoot).isDir())
        m_available = FullPaths | ExecutableNames;
    if (m_available & ExecutableNames)
        m_current = ExecutableNames;
    else if (m_available & FullPaths)
        m_current = FullPaths;
}

int CProcessEnumerator::SelectMethod(int flags)
{
    if (flags != SixteenBitTasks && (flags & ~m_available) == 0)
        m_current = flags;
    return m_current;
}

bool CProcessEnumerator::FirstProcess(CProcessEntry& entry)
{
    if (m_current == None)
        return false;
    m_pids.clear();
    m_next = 0;
    // The folder is read directly: it holds one numeric entry per process, and a walk happens at
    // every start of every program.
    if (DIR* folder = ::opendir(QFile::encodeName(m_procRoot).constData())) {
        while (const dirent* entry = ::readdir(folder)) {
            char* end = nullptr;
            const unsigned long pid = std::strtoul(entry->d_name, &end, 10);
            if (end != entry->d_name && *end == '\0')
                m_pids.append(uint32_t(pid));
        }
        ::closedir(folder);
    }
    std::sort(m_pids.begin(), m_pids.end());
    return deliverNext(entry);
}

bool CProcessEnumerator::NextProcess(CProcessEntry& entry)
{
    if (m_current == None)
        return false;
    entry.setTaskHandle(0);
    return deliverNext(entry);
}

bool CProcessEnumerator::deliverNext(CProcessEntry& entry)
{
    // A process that ended since the folder was listed is skipped, not reported.
    while (m_next < m_pids.size()) {
        if (fillFrom(m_pids.at(m_next++), entry))
            return true;
    }
    return false;
}

bool CProcessEnumerator::fillFrom(uint32_t pid, CProcessEntry& entry) const
{
    const QString folder = m_procRoot + QLatin1Char('/') + QString::number(pid);
    QByteArray exe;
    const LinkRead link = readLink(folder + QStringLiteral("/exe"), exe);
    if (!QFileInfo::exists(folder) || (link == LinkRead::Gone && ended(folder)))
        return false;

    entry.setProcessId(pid);
    entry.setTaskHandle(0);
    if (m_current & FullPaths) {
        switch (link) {
        case LinkRead::Ok:
            entry.setName(exe);
            break;
        case LinkRead::Denied:
            entry.setName(SecurityRestricted);
            break;
        case LinkRead::Failed:
        case LinkRead::Gone:
            entry.setName(ReadError);
            break;
        }
        return true;
    }

    if (link == LinkRead::Ok) {
        entry.setName(baseName(exe));
        return true;
    }
    // Without access to the executable link, the kernel's short command name still names it.
    QFile comm(folder + QStringLiteral("/comm"));
    if (comm.open(QIODevice::ReadOnly)) {
        entry.setName(comm.readAll().trimmed());
        return true;
    }
    if (!QFileInfo::exists(folder))
        return false;
    entry.setName(ReadError);
    return true;
}

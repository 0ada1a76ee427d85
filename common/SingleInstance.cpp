#include "common/SingleInstance.h"

#include "common/ProcessEnumerator.h"

namespace SingleInstance {

bool isAlreadyRunning(const QString& key, CProcessEnumerator& processes)
{
    const QByteArray needle = key.toUtf8();
    int count = 0;
    CProcessEntry entry;
    for (bool more = processes.FirstProcess(entry); more; more = processes.NextProcess(entry)) {
        if (entry.name().contains(needle) && ++count >= 2)
            return true;
    }
    return false;
}

} // namespace SingleInstance

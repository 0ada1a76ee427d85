#include "common/SingleInstance.h"

#include "common/ProcessEnumerator.h"

namespace SingleInstance {

bool isProgram(const QByteArray& reportedName, const QString& program)
{
    const qsizetype slash = reportedName.lastIndexOf('/');
    QString name = QString::fromUtf8(slash < 0 ? reportedName : reportedName.mid(slash + 1));
    if (name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return !name.isEmpty() && name.compare(program, Qt::CaseInsensitive) == 0;
}

bool isAlreadyRunning(const QString& key, CProcessEnumerator& processes)
{
    int count = 0;
    CProcessEntry entry;
    for (bool more = processes.FirstProcess(entry); more; more = processes.NextProcess(entry)) {
        if (isProgram(entry.name(), key) && ++count >= 2)
            return true;
    }
    return false;
}

} // namespace SingleInstance

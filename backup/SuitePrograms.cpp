#include "backup/SuitePrograms.h"

#include "common/ProcessEnumerator.h"

namespace SuitePrograms {

const QStringList& names()
{
    static const QStringList programs{QStringLiteral("health"), QStringLiteral("growth"), QStringLiteral("Reelbox"),
                                      QStringLiteral("update")};
    return programs;
}

QStringList running(const QString& procRoot, qint64 ownPid)
{
    QStringList found;
    CProcessEnumerator processes(procRoot);
    processes.SelectMethod(CProcessEnumerator::ExecutableNames);
    CProcessEntry entry;
    for (bool more = processes.FirstProcess(entry); more; more = processes.NextProcess(entry)) {
        if (qint64(entry.processId()) == ownPid)
            continue;
        const QString name = QString::fromUtf8(entry.name());
        for (const QString& program : names()) {
            if (name.compare(program, Qt::CaseInsensitive) == 0 && !found.contains(program))
                found << program;
        }
    }
    return found;
}

} // namespace SuitePrograms

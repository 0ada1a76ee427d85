#include "backup/SuitePrograms.h"

#include "backup/BackupTr.h"
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

namespace SuitePrograms {

Result holdingRecords(const QString& procRoot, qint64 ownPid, const QStringList& elsewhere)
{
    const QStringList programs = running(procRoot, ownPid);
    if (programs.isEmpty() && !elsewhere.isEmpty())
        return Result::failure(BackupTr::tr("其他电脑上的程序正在使用服务器上的孩子记录：%1。请先在那些电脑上关闭"
                                            "本软件的程序，再恢复备份。没有做任何更改。")
                                   .arg(elsewhere.join(QStringLiteral("、"))));
    if (programs.isEmpty())
        return Result::failure(BackupTr::tr("另一个程序正在使用孩子的记录。请先关闭本软件的其他程序，再恢复备份。"
                                            "没有做任何更改。"));
    return Result::failure(
        BackupTr::tr("请先关闭正在运行的%1，再恢复备份。恢复会替换它们正在使用的记录。没有做任何更改。")
            .arg(programs.join(QStringLiteral("、"))));
}

} // namespace SuitePrograms

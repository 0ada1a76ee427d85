#include "common/ProcessStat.h"

#include <QFile>

QList<QByteArray> processStatFields(const QString& processFolder)
{
    QFile stat(processFolder + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.read(4096);
    // "pid (name) state ...": the name may hold spaces and parentheses; the fields after the last
    // parenthesis are plain.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return {};
    return line.mid(close + 1).simplified().split(' ');
}

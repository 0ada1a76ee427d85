#include "backup/NamedMedia.h"

#include "backup/BackupTr.h"

#include <QSqlError>
#include <QSqlQuery>

namespace NamedMedia {

// Replace here when the media store's listing is merged: it reads attachment texts the way the
// pages write them.
NamedMediaProvider defaultProvider()
{
    return attachmentColumnNames;
}

ResultOf<QStringList> attachmentColumnNames(const QSqlDatabase& db)
{
    QStringList names;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    for (const char* table : {"chengzhang", "rongyu", "shengri", "mplay"}) {
        if (!query.exec(QStringLiteral("SELECT [music] FROM [%1]").arg(QLatin1String(table))))
            return Result::failure(BackupTr::tr("无法读取记录中的媒体文件名，没有完成。请稍后再试。"),
                                   query.lastError().text());
        while (query.next())
            names << query.value(0).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    names.removeDuplicates();
    return names;
}

} // namespace NamedMedia

#include "data/MediaReferences.h"
#include "data/SqlDialect.h"

#include "data/DataTr.h"
#include "data/Statement.h"

#include <QSqlError>
#include <QSqlQuery>

namespace MediaReferences {

namespace {

Result readFailure(const QSqlQuery& query)
{
    const QSqlError error = query.lastError();
    return Result::failure(DataTr::tr("无法查看媒体文件被哪些记录使用，没有删除任何文件。请关闭其他程序后再试。"),
                           error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

// Runs one select per table with the same condition and collects column music.
ResultOf<QStringList> collect(QSqlDatabase db, const QString& condition, const QVariantList& values)
{
    QStringList texts;
    for (const QString& table : tables()) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!SqlDialect::prepare(query, QStringLiteral("select [music] from [") + table + QStringLiteral("] where ") +
                                            condition))
            return readFailure(query);
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec())
            return readFailure(query);
        while (query.next())
            texts << query.value(0).toString();
    }
    return texts;
}

} // namespace

const QStringList& tables()
{
    static const QStringList names{QStringLiteral("chengzhang"), QStringLiteral("rongyu"), QStringLiteral("shengri"),
                                   QStringLiteral("mplay")};
    return names;
}

ResultOf<QStringList> textsContaining(const QString& name, QSqlDatabase db)
{
    // LIKE ignores the case of ASCII letters, so this finds a little more than needed, never less.
    return collect(db, Like::condition(QStringLiteral("[music]")), {Like::containing(name)});
}

ResultOf<QStringList> allTexts(QSqlDatabase db)
{
    return collect(db, QStringLiteral("[music] is not null and [music] <> ''"), {});
}

} // namespace MediaReferences

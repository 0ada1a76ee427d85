#include "data/ArticleQuery.h"

namespace ArticleQuery {

namespace {

QString from(const QString& table)
{
    return QStringLiteral("select * from [") + table + QStringLiteral("] where ");
}

} // namespace

Statement ofType(const QString& table, const QString& type)
{
    return {from(table) + QStringLiteral("leixing=?"), {type}};
}

Statement ofTypeWithTitle(const QString& table, const QString& type, const QString& keyword)
{
    return {from(table) + QStringLiteral("leixing=? and ") + Like::condition(QStringLiteral("title")),
            {type, Like::containing(keyword)}};
}

Statement withTitle(const QString& table, const QString& keyword)
{
    return {from(table) + Like::condition(QStringLiteral("title")), {Like::containing(keyword)}};
}

Statement ofTypeEnteredBetween(const QString& table, const QString& type, int from, int to)
{
    return {ArticleQuery::from(table) + QStringLiteral("leixing=? and time>=? and time<=?"), {type, from, to}};
}

Statement byId(const QString& table, qint64 id)
{
    return {from(table) + QStringLiteral("id=?"), {id}};
}

} // namespace ArticleQuery

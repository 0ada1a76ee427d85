#include "data/RecordQuery.h"
#include "data/DataTr.h"

#include "common/Clock.h"

#include <QCoreApplication>

namespace RecordQuery {

namespace {

QString column(const QString& name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

} // namespace

ResultOf<Statement> search(const RecordColumns& c, const SearchInput& in)
{
    Statement out;
    const QString from = QStringLiteral("select * from [") + c.table + QStringLiteral("] where ");
    const QString user = column(c.user) + QStringLiteral("=?");
    const QString category = column(c.category) + QStringLiteral("=?");
    const QString title = Like::condition(column(c.title));
    switch (in.kind) {
    case SearchKind::FullText:
        out = {from + user + QStringLiteral(" and ") + title, {in.user, Like::containing(in.keyword)}};
        break;
    case SearchKind::ByCategory:
        out = {from + category + QStringLiteral(" and ") + user, {in.category, in.user}};
        if (!in.keyword.isEmpty()) {
            out.sql += QStringLiteral(" and ") + title;
            out.values << Like::containing(in.keyword);
        }
        break;
    case SearchKind::ByDate: {
        const int low = DateKey::parse(in.dateFrom);
        const int high = DateKey::parse(in.dateTo);
        if (!low || !high)
            return Result::failure(DataTr::tr("日期要写成8位数字的年月日，例如20260101。请检查查找的起止日期。"));
        out = {from + category + QStringLiteral(" and ") + user + QStringLiteral(" and ") + column(c.date) +
                   QStringLiteral(">=? and ") + column(c.date) + QStringLiteral("<=?"),
               {in.category, in.user, low, high}};
        break;
    }
    case SearchKind::None:
        out = {from + user, {in.user}};
        break;
    }
    return out;
}

Statement byUserAndCategory(const RecordColumns& c, const QString& user, const QString& category)
{
    return {QStringLiteral("Select * from [") + c.table + QStringLiteral("] where ") + column(c.user) +
                QStringLiteral("=? and ") + column(c.category) + QStringLiteral("=?"),
            {user, category}};
}

Statement byId(const RecordColumns& c, qint64 id)
{
    return {QStringLiteral("select * from [") + c.table + QStringLiteral("] where id=?"), {id}};
}

Statement listing(const RecordColumns& c, Statement statement)
{
    return selecting({QStringLiteral("id"), c.title, c.category, c.date}, std::move(statement));
}

} // namespace RecordQuery

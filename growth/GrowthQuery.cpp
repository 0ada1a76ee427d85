#include "growth/GrowthQuery.h"

#include <QStringList>

namespace GrowthQuery {

namespace {

// Conditions joined with "and", and their values in the same order.
struct Conditions
{
    QStringList parts;
    QVariantList values;

    void add(const QString& condition, const QVariant& value)
    {
        parts << condition;
        values << value;
    }
    void addDate(const DateCriteria& date)
    {
        // Stored dates read "yyyy\mm\dd": the year is at 1, the month at 6, the day at 9.
        if (!date.year.isEmpty())
            add(QStringLiteral("substr([riqi], 1, 4)=?"), date.year);
        if (!date.month.isEmpty())
            add(QStringLiteral("substr([riqi], 6, 2)=?"), date.month);
        if (!date.day.isEmpty())
            add(QStringLiteral("substr([riqi], 9, 2)=?"), date.day);
    }
    void addContaining(const QString& column, const QString& text)
    {
        if (!text.isEmpty())
            add(Like::condition(column), Like::containing(text));
    }
    Statement select(const QString& table, const QString& order) const
    {
        QString sql = QStringLiteral("select * from [") + table + QLatin1Char(']');
        if (!parts.isEmpty())
            sql += QStringLiteral(" where ") + parts.join(QStringLiteral(" and "));
        return {sql + QStringLiteral(" order by ") + order, values};
    }
};

Statement byId(const QString& table, qint64 id)
{
    return {QStringLiteral("select * from [") + table + QStringLiteral("] where [id]=?"), {id}};
}

} // namespace

Statement diarySearch(const DateCriteria& date, const QString& title, const QString& keyword)
{
    Conditions where;
    where.addDate(date);
    where.addContaining(QStringLiteral("[biaoti]"), title);
    where.addContaining(QStringLiteral("[key]"), keyword);
    return where.select(QStringLiteral("chengzhang"), QStringLiteral("[id]"));
}

Statement diaryById(qint64 id)
{
    return byId(QStringLiteral("chengzhang"), id);
}

Statement honourSearch(const DateCriteria& date, const QString& name)
{
    Conditions where;
    where.addDate(date);
    where.addContaining(QStringLiteral("[mingcheng]"), name);
    return where.select(QStringLiteral("rongyu"), QStringLiteral("[id] desc"));
}

Statement honourById(qint64 id)
{
    return byId(QStringLiteral("rongyu"), id);
}

Statement birthdaysOfYear(const QString& yearKey)
{
    return {QStringLiteral("select * from [shengri] where [riqi]=? order by [id] desc"), {yearKey}};
}

Statement birthdayById(qint64 id)
{
    return byId(QStringLiteral("shengri"), id);
}

} // namespace GrowthQuery

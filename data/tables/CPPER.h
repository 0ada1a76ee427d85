#pragma once

#include "data/Recordset.h"

// Table personinfo: one measurement of a child.
class CPPER : public Recordset
{
public:
    explicit CPPER(QSqlDatabase db = Database::connection()) : Recordset(QStringLiteral("personinfo"), std::move(db)) {}

    qint32 m_number = 0;
    QString m_username;
    QString m_sex;
    QString m_age;
    double m_height = 0;
    double m_weight = 0;
    QString m_diet;
    qint32 m_heartRate = 0;
    QString m_bloodPressure;
    QString m_sleep;
    qint32 m_date = 0;
    QString m_operator;

    // A child's measurements; with dates, those taken between two date keys; with an age, those
    // taken at that age label.
    Result openOfChild(const QString& child)
    {
        return open(QStringLiteral("Select * from personinfo where [用户名]=?"), {child});
    }
    Result openOfChildBetween(const QString& child, int from, int to)
    {
        return open(QStringLiteral("select * from personinfo where [用户名]=? and [日期]>=? and [日期]<=?"),
                    {child, from, to});
    }
    Result openOfChildAtAge(const QString& child, const QString& age)
    {
        return open(QStringLiteral("Select * from personinfo where [用户名]=? and [年龄]=?"), {child, age});
    }
    // A child's measurements dated between two date keys, oldest first.
    Result openOfChildInDateOrder(const QString& child, int from, int to)
    {
        return open(QStringLiteral("select * from personinfo where [用户名]=? and [日期]>=? and [日期]<=? "
                                   "order by [日期], [编号]"),
                    {child, from, to});
    }
    Result openNumber(qint64 number)
    {
        return open(QStringLiteral("select * from personinfo where [编号]=?"), {number});
    }
    // No rows: only the column names.
    Result openColumnsOnly() { return open(QStringLiteral("select * from personinfo where 1=0")); }

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("编号"), m_number);
        fx.field(QStringLiteral("用户名"), m_username);
        fx.field(QStringLiteral("性别"), m_sex);
        fx.field(QStringLiteral("年龄"), m_age);
        fx.field(QStringLiteral("身高"), m_height);
        fx.field(QStringLiteral("体重"), m_weight);
        fx.field(QStringLiteral("饮食"), m_diet);
        fx.field(QStringLiteral("心率"), m_heartRate);
        fx.field(QStringLiteral("血压"), m_bloodPressure);
        fx.field(QStringLiteral("睡眠"), m_sleep);
        fx.field(QStringLiteral("日期"), m_date);
        fx.field(QStringLiteral("操作"), m_operator);
    }
};

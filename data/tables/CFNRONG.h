#pragma once

#include "data/Recordset.h"

// Table cfnrong: immunisation records.
class CFNRONG : public Recordset
{
public:
    explicit CFNRONG(QSqlDatabase db = Database::connection()) : Recordset(QStringLiteral("cfnrong"), std::move(db)) {}

    qint32 m_id = 0;
    QString m_username;
    QString m_title;
    QString m_nrong;
    qint32 m_riqi = 0;
    QString m_leixing;

    // A child's records dated between two date keys, oldest first.
    Result openOfChildInDateOrder(const QString& child, int from, int to)
    {
        return open(QStringLiteral("select * from cfnrong where username=? and riqi>=? and riqi<=? order by riqi, id"),
                    {child, from, to});
    }

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("username"), m_username);
        fx.field(QStringLiteral("title"), m_title);
        fx.field(QStringLiteral("nrong"), m_nrong);
        fx.field(QStringLiteral("riqi"), m_riqi);
        fx.field(QStringLiteral("leixing"), m_leixing);
    }
};

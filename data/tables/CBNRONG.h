#pragma once

#include "data/Recordset.h"

// Table bnrong: medical records.
class CBNRONG : public Recordset
{
public:
    explicit CBNRONG(QSqlDatabase db = Database::connection()) : Recordset(QStringLiteral("bnrong"), std::move(db)) {}

    qint32 m_id = 0;
    QString m_leixing;
    QString m_username;
    QString m_title;
    QString m_chufang;
    QString m_zhengzhuang;
    QString m_zhenduan;
    QString m_zaozuo;
    qint32 m_riqi = 0;

    // A child's records dated between two date keys, oldest first.
    Result openOfChildInDateOrder(const QString& child, int from, int to)
    {
        return open(QStringLiteral("select * from bnrong where username=? and riqi>=? and riqi<=? order by riqi, id"),
                    {child, from, to});
    }

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("leixing"), m_leixing);
        fx.field(QStringLiteral("username"), m_username);
        fx.field(QStringLiteral("title"), m_title);
        fx.field(QStringLiteral("chufang"), m_chufang);
        fx.field(QStringLiteral("zhengzhuang"), m_zhengzhuang);
        fx.field(QStringLiteral("zhenduan"), m_zhenduan);
        fx.field(QStringLiteral("zaozuo"), m_zaozuo);
        fx.field(QStringLiteral("riqi"), m_riqi);
    }
};

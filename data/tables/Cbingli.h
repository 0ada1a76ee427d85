#pragma once

#include "data/Recordset.h"

// Table bing: disease knowledge articles.
class Cbingli : public Recordset
{
public:
    explicit Cbingli(QSqlDatabase db = Database::connection()) : Recordset(QStringLiteral("bing"), std::move(db)) {}

    qint32 m_id = 0;
    QString m_title;
    QString m_connect;
    QString m_leixing;
    qint32 m_time = 0;

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("title"), m_title);
        fx.field(QStringLiteral("connect"), m_connect);
        fx.field(QStringLiteral("leixing"), m_leixing);
        fx.field(QStringLiteral("time"), m_time);
    }
};

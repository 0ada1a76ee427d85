#pragma once

#include "data/Recordset.h"

// Table shengri: birthdays.
class CSHENGRI : public Recordset
{
public:
    explicit CSHENGRI(QSqlDatabase db = Database::connection()) : Recordset(QStringLiteral("shengri"), std::move(db)) {}

    qint32 m_id = 0;
    QString m_riqi;
    QString m_connect;
    QString m_liuyan;
    QString m_songli;
    QString m_music;

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("riqi"), m_riqi);
        fx.field(QStringLiteral("connect"), m_connect);
        fx.field(QStringLiteral("liuyan"), m_liuyan);
        fx.field(QStringLiteral("songli"), m_songli);
        fx.field(QStringLiteral("music"), m_music);
    }
};

#pragma once

#include "data/Recordset.h"

// Table chengzhang: growth diary entries.
class CCHENGZHANG : public Recordset
{
public:
    explicit CCHENGZHANG(QSqlDatabase db = Database::connection())
        : Recordset(QStringLiteral("chengzhang"), std::move(db))
    {
    }

    qint32 m_id = 0;
    QString m_riqi;
    QString m_tianqi;
    QString m_key;
    QString m_biaoti;
    QString m_content;
    QString m_music;

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("riqi"), m_riqi);
        fx.field(QStringLiteral("tianqi"), m_tianqi);
        fx.field(QStringLiteral("key"), m_key);
        fx.field(QStringLiteral("biaoti"), m_biaoti);
        fx.field(QStringLiteral("content"), m_content);
        fx.field(QStringLiteral("music"), m_music);
    }
};

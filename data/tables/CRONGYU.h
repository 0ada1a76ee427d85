#pragma once

#include "data/Recordset.h"

// Table rongyu: honours.
class CRONGYU : public Recordset
{
public:
    explicit CRONGYU(QSqlDatabase db = Database::connection()) : Recordset(QStringLiteral("rongyu"), std::move(db)) {}

    qint32 m_id = 0;
    QString m_mingcheng;
    QString m_riqi;
    QString m_jigou;
    QString m_connect;
    QString m_miaoshu;
    QString m_music;

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("mingcheng"), m_mingcheng);
        fx.field(QStringLiteral("riqi"), m_riqi);
        fx.field(QStringLiteral("jigou"), m_jigou);
        fx.field(QStringLiteral("connect"), m_connect);
        fx.field(QStringLiteral("miaoshu"), m_miaoshu);
        fx.field(QStringLiteral("music"), m_music);
    }
};

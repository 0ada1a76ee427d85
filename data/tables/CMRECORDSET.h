#pragma once

#include "data/Recordset.h"

// Table mplay: the media catalogue of Reelbox.
class CMRECORDSET : public Recordset
{
public:
    explicit CMRECORDSET(QSqlDatabase db = Database::connection()) : Recordset(QStringLiteral("mplay"), std::move(db))
    {
    }

    qint32 m_id = 0;
    QString m_riqi;
    QString m_key;
    QString m_leixing;
    QString m_miaoshu;
    QString m_music;

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("riqi"), m_riqi);
        fx.field(QStringLiteral("key"), m_key);
        fx.field(QStringLiteral("leixing"), m_leixing);
        fx.field(QStringLiteral("miaoshu"), m_miaoshu);
        fx.field(QStringLiteral("music"), m_music);
    }
};

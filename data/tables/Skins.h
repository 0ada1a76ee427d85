#pragma once

#include "data/Recordset.h"

// Skin tables: a skin file name and when it was last chosen.
class SkinRecordset : public Recordset
{
public:
    qint32 m_id = 0;
    QString m_skin;
    QDateTime m_data;

    // Every skin, the one chosen most recently first.
    Result openNewestFirst() { return open(QStringLiteral("select * from [%1] order by data desc").arg(table())); }
    // The row of one skin file name.
    Result openNamed(const QString& skin)
    {
        return open(QStringLiteral("select * from [%1] where skin=?").arg(table()), {skin});
    }

protected:
    using Recordset::Recordset;
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("skin"), m_skin);
        fx.field(QStringLiteral("data"), m_data);
    }
};

// Skins of health and growth (table skin, shared by both programs).
class CSKINDATA : public SkinRecordset
{
public:
    explicit CSKINDATA(QSqlDatabase db = Database::connection()) : SkinRecordset(QStringLiteral("skin"), std::move(db))
    {
    }
};

// Skins of Reelbox (table mskin).
class CSKIN : public SkinRecordset
{
public:
    explicit CSKIN(QSqlDatabase db = Database::connection()) : SkinRecordset(QStringLiteral("mskin"), std::move(db)) {}
};

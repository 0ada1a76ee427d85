#pragma once

#include "data/Recordset.h"

// The four growth reference tables share one shape: an age label and its normal range.
class GrowthReferenceRecordset : public Recordset
{
public:
    qint32 m_ID = 0;
    QString m_nianling;
    double m_min = 0;
    double m_max = 0;

protected:
    using Recordset::Recordset;
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("ID"), m_ID);
        fx.field(QStringLiteral("nianling"), m_nianling);
        fx.field(QStringLiteral("min"), m_min);
        fx.field(QStringLiteral("max"), m_max);
    }
};

// Boys' height (cm).
class CBoy : public GrowthReferenceRecordset
{
public:
    explicit CBoy(QSqlDatabase db = Database::connection())
        : GrowthReferenceRecordset(QStringLiteral("nanhigh"), std::move(db))
    {
    }
};

// Boys' weight (kg).
class CBOYW : public GrowthReferenceRecordset
{
public:
    explicit CBOYW(QSqlDatabase db = Database::connection())
        : GrowthReferenceRecordset(QStringLiteral("nanweight"), std::move(db))
    {
    }
};

// Girls' height (cm).
class CGirl : public GrowthReferenceRecordset
{
public:
    explicit CGirl(QSqlDatabase db = Database::connection())
        : GrowthReferenceRecordset(QStringLiteral("nvhigh"), std::move(db))
    {
    }
};

// Girls' weight (kg).
class CGIRLW : public GrowthReferenceRecordset
{
public:
    explicit CGIRLW(QSqlDatabase db = Database::connection())
        : GrowthReferenceRecordset(QStringLiteral("nvweight"), std::move(db))
    {
    }
};

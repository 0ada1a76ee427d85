#pragma once

#include "data/Recordset.h"

// Category tables: an id and a category name. The name column is [leixing] in some tables
// and [类型] in others.
class CategoryRecordset : public Recordset
{
public:
    qint32 m_id = 0;
    QString m_name;

    const QString& nameColumn() const { return m_nameColumn; }
    // The row of one category name.
    Result openNamed(const QString& name)
    {
        return open(QStringLiteral("select * from [%1] where [%2]=?").arg(table(), m_nameColumn), {name});
    }

protected:
    CategoryRecordset(QString table, QString nameColumn, QSqlDatabase db)
        : Recordset(std::move(table), std::move(db)), m_nameColumn(std::move(nameColumn))
    {
    }
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(m_nameColumn, m_name);
    }

private:
    QString m_nameColumn;
};

// Categories of medical records.
class CBinglileixing : public CategoryRecordset
{
public:
    explicit CBinglileixing(QSqlDatabase db = Database::connection())
        : CategoryRecordset(QStringLiteral("binglixinxi"), QStringLiteral("leixing"), std::move(db))
    {
    }
};

// Categories of immunisation records.
class CFleixing : public CategoryRecordset
{
public:
    explicit CFleixing(QSqlDatabase db = Database::connection())
        : CategoryRecordset(QStringLiteral("cfleixing"), QStringLiteral("类型"), std::move(db))
    {
    }
};

// Categories of the disease knowledge base.
class CLX : public CategoryRecordset
{
public:
    explicit CLX(QSqlDatabase db = Database::connection())
        : CategoryRecordset(QStringLiteral("leixing"), QStringLiteral("类型"), std::move(db))
    {
    }
};

// Nutrition categories.
class CYL : public CategoryRecordset
{
public:
    explicit CYL(QSqlDatabase db = Database::connection())
        : CategoryRecordset(QStringLiteral("yyang"), QStringLiteral("leixing"), std::move(db))
    {
    }
};

// Physical training categories.
class CTNXL : public CategoryRecordset
{
public:
    explicit CTNXL(QSqlDatabase db = Database::connection())
        : CategoryRecordset(QStringLiteral("tneng"), QStringLiteral("leixing"), std::move(db))
    {
    }
};

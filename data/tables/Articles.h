#pragma once

#include "data/Recordset.h"

// Knowledge articles: a title, the text and a category. Table womanconnect keeps the category
// second; the other article tables keep it last.
class ArticleRecordset : public Recordset
{
public:
    qint32 m_id = 0;
    QString m_title;
    QString m_connect;
    QString m_leixing;

protected:
    enum class CategoryColumn
    {
        Second,
        Last
    };
    ArticleRecordset(QString table, CategoryColumn position, QSqlDatabase db)
        : Recordset(std::move(table), std::move(db)), m_position(position)
    {
    }
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        if (m_position == CategoryColumn::Second)
            fx.field(QStringLiteral("leixing"), m_leixing);
        fx.field(QStringLiteral("title"), m_title);
        fx.field(QStringLiteral("connect"), m_connect);
        if (m_position == CategoryColumn::Last)
            fx.field(QStringLiteral("leixing"), m_leixing);
    }

private:
    CategoryColumn m_position;
};

// Infant health articles.
class CRECCHILD : public ArticleRecordset
{
public:
    explicit CRECCHILD(QSqlDatabase db = Database::connection())
        : ArticleRecordset(QStringLiteral("childconnect"), CategoryColumn::Last, std::move(db))
    {
    }
};

// Articles for mothers.
class CREWOMAN : public ArticleRecordset
{
public:
    explicit CREWOMAN(QSqlDatabase db = Database::connection())
        : ArticleRecordset(QStringLiteral("womanconnect"), CategoryColumn::Second, std::move(db))
    {
    }
};

// Nutrition articles.
class CYNRONG : public ArticleRecordset
{
public:
    explicit CYNRONG(QSqlDatabase db = Database::connection())
        : ArticleRecordset(QStringLiteral("ynrong"), CategoryColumn::Last, std::move(db))
    {
    }
};

// Physical training articles.
class CTNRONG : public ArticleRecordset
{
public:
    explicit CTNRONG(QSqlDatabase db = Database::connection())
        : ArticleRecordset(QStringLiteral("tnrong"), CategoryColumn::Last, std::move(db))
    {
    }
};

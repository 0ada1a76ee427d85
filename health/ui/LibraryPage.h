#pragma once

#include "data/tables/Articles.h"
#include "data/tables/Categories.h"
#include "data/ui/ArticlePage.h"

#include <type_traits>

// A knowledge library over one article table, with a type table or fixed types.
template <typename Articles, typename Types = void> class LibraryPage : public ArticlePage
{
protected:
    using ArticlePage::ArticlePage;

    std::unique_ptr<Recordset> createRecords() const override { return std::make_unique<Articles>(); }
    std::unique_ptr<CategoryRecordset> createTypes() const override
    {
        if constexpr (std::is_void_v<Types>)
            return nullptr;
        else
            return std::make_unique<Types>();
    }
    void writeArticle(Recordset& record, bool) override
    {
        auto& article = static_cast<ArticleRecordset&>(record);
        article.m_leixing = editType();
        article.m_title = title();
        article.m_connect = text();
    }
};

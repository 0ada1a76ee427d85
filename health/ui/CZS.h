#pragma once

#include "data/ui/ArticlePage.h"

class QLineEdit;
class QButtonGroup;

// "健康知识库": disease articles by category, searched in the category, in every title, or by the
// date they were entered.
class CZS : public ArticlePage
{
    Q_OBJECT

public:
    enum class Mode
    {
        None = -1,
        Category = 0,
        FullText = 1,
        Dates = 2
    };

    explicit CZS(QWidget* parent = nullptr);

    void search() override;
    // 增加 stays off while an article is being added or changed.
    void beginAdding() override;
    void beginChanging() override;

    // Date keys from 19000101 to 20991231 are accepted as bounds.
    static constexpr int EarliestDate = 19000101;
    static constexpr int LatestDate = 20991231;

protected:
    std::unique_ptr<Recordset> createRecords() const override;
    std::unique_ptr<CategoryRecordset> createTypes() const override;
    bool checkFields() override;
    void writeArticle(Recordset& record, bool adding) override;
    void refresh() override;
    // A click on an article also locks the keyword box and offers 增加 again.
    void showMarked(bool clicked) override;

private:
    void chooseMode(int mode);

    QButtonGroup* m_modes;
    QLineEdit* m_fromEdit;
    QLineEdit* m_toEdit;
};

#pragma once

#include "data/ui/RecordPage.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "防疫信息管理": a child's immunisation records, new categories, and the immunisation schedule.
class CFYI : public RecordPage
{
    Q_OBJECT

public:
    explicit CFYI(QWidget* parent = nullptr);

public slots:
    void addCategory();
    void showSchedule();

protected:
    std::unique_ptr<Recordset> createRecords() const override;
    std::unique_ptr<CategoryRecordset> createCategories() const override;
    bool checkFields() override;
    QString unknownCategoryMessage() const override;
    void writeRecord(Recordset& record, int dateKey) override;
    void readRecord(const Recordset& record) override;
    void clearContent() override;
    // The description stays enabled, so a long one can be scrolled; it takes typing only while a
    // record is being added or changed.
    void setContentEnabled(bool enabled) override;
    void showMarked(bool clicked) override;

private:
    QPlainTextEdit* m_descriptionEdit;
    QLineEdit* m_newCategoryEdit;
    QPushButton* m_addCategoryButton;
};

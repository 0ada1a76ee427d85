#pragma once

#include "data/ui/RecordPage.h"

class QLineEdit;
class QPlainTextEdit;

// The medical records page: category, title, symptoms, diagnosis, prescription and operator of
// each record of a child.
class CBL : public RecordPage
{
    Q_OBJECT

public:
    explicit CBL(QWidget* parent = nullptr);

    void display() override;

protected:
    std::unique_ptr<Recordset> createRecords() const override;
    std::unique_ptr<CategoryRecordset> createCategories() const override;
    bool checkFields() override;
    QString unknownCategoryMessage() const override;
    void writeRecord(Recordset& record, int dateKey) override;
    void readRecord(const Recordset& record) override;
    void clearContent() override;
    void setContentEnabled(bool enabled) override;

private:
    QPlainTextEdit* m_symptomsEdit;
    QPlainTextEdit* m_diagnosisEdit;
    QPlainTextEdit* m_prescriptionEdit;
    QLineEdit* m_operatorEdit;
};

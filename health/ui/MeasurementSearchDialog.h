#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;

// "查找": which child's measurements to list, by age or by a date range.
class MeasurementSearchDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MeasurementSearchDialog(QWidget* parent = nullptr);

    QString user() const;
    QString age() const;
    QString dateFrom() const;
    QString dateTo() const;
    bool byDate() const;

private:
    QComboBox* m_userCombo;
    QComboBox* m_ageCombo;
    QRadioButton* m_dateRadio;
    QLineEdit* m_fromEdit;
    QLineEdit* m_toEdit;
};

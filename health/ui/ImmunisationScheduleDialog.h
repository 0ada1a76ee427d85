#pragma once

#include <QDialog>

class QTableWidget;

// "婴幼儿计划免疫表": the planned infant immunisation schedule, read-only.
class ImmunisationScheduleDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ImmunisationScheduleDialog(QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }

private:
    QTableWidget* m_table;
};

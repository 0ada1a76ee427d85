#pragma once

#include "report/HealthReport.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPushButton;
class QRadioButton;

// Asks what a report holds: the child, the period (all records unless one is chosen) and the
// parts; then whether to print it or save it as a PDF file.
class ReportDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Output
    {
        Print,
        Pdf
    };

    // children newest first; child is chosen when among them; output is the default button.
    ReportDialog(const QStringList& children, const QString& child, Output output, QWidget* parent = nullptr);

    ReportRequest request() const;
    Output output() const { return m_output; }

private:
    void finish(Output output);

    QComboBox* m_childCombo;
    QRadioButton* m_allRadio;
    QRadioButton* m_periodRadio;
    QDateEdit* m_fromEdit;
    QDateEdit* m_toEdit;
    QList<std::pair<QCheckBox*, ReportSection>> m_sections;
    Output m_output;
};

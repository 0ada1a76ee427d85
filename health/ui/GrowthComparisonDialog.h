#pragma once

#include <QDialog>

class CPicturScrollView;
class QComboBox;
class QPushButton;

// Sets a child's heights and weights beside the reference ranges of the child's sex and draws them.
class GrowthComparisonDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GrowthComparisonDialog(QWidget* parent = nullptr);

    CPicturScrollView* chart() const { return m_chart; }

public slots:
    void chooseName(int index);
    void chooseAge(int index);
    void assess();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QComboBox* m_nameCombo;
    QComboBox* m_ageCombo;
    QPushButton* m_analyseButton;
    CPicturScrollView* m_chart;
    QString m_chosenAge;
    int m_unit = 0;
};

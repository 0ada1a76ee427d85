#pragma once

#include "common/ui/PageLeaveCheck.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class TextRowsModel;

// The basic health page: the children, and each child's measurements (height, weight, heart
// rate, blood pressure, diet, sleep) with search and the growth comparison.
class CJIBEN : public QWidget, public PageLeaveCheck
{
    Q_OBJECT

public:
    enum class Mode
    {
        Browsing,
        Adding,
        Modifying
    };

    explicit CJIBEN(QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    bool mayLeave() override;

public slots:
    void addChild();
    void deleteChild();
    void display();
    void beginAdding();
    void beginModifying();
    void save();
    void undo();
    void deleteRecords();
    void search();
    void compare();
    void changeSkin();
    void showHelp();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildChildGroup();
    QWidget* buildFieldGroup();
    QWidget* buildRecordGroup();
    void initialise();
    void fillUsers();
    void fillList(const QString& sql, const QVariantList& values);
    void showMarkedRecord(bool clicked);
    void clearFields();
    void setEditing(bool editing);
    bool checkHeartRate();
    void message(const QString& text);

    Mode m_mode = Mode::Browsing;
    bool m_initialised = false;

    QLineEdit* m_childNameEdit;
    QLineEdit* m_numberEdit;
    QComboBox* m_userCombo;
    QComboBox* m_sexCombo;
    QComboBox* m_ageCombo;
    QLineEdit* m_dateEdit;
    QLineEdit* m_heightEdit;
    QLineEdit* m_weightEdit;
    QLineEdit* m_dietEdit;
    QLineEdit* m_heartRateEdit;
    QLineEdit* m_bloodPressureEdit;
    QLineEdit* m_sleepEdit;
    QLineEdit* m_operatorEdit;
    QTableView* m_list;
    TextRowsModel* m_model;
    QPushButton* m_displayButton;
    QPushButton* m_addButton;
    QPushButton* m_modifyButton;
    QPushButton* m_deleteButton;
    QPushButton* m_saveButton;
    QPushButton* m_undoButton;
};

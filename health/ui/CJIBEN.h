#pragma once

#include "common/ui/PageActivation.h"
#include "common/ui/PageLeaveCheck.h"
#include "data/ui/EditingPage.h"

#include <functional>

class CPPER;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class TextRowsModel;

// The basic health page: the children, and each child's measurements (height, weight, heart
// rate, blood pressure, diet, sleep) with search and the growth comparison.
class CJIBEN : public EditingPage, public PageLeaveCheck, public PageActivation
{
    Q_OBJECT

public:
    explicit CJIBEN(QWidget* parent = nullptr);

    // A value being entered must be one the page can keep; a record merely shown never holds
    // the user on the page.
    bool mayLeave() override;
    // Children added or deleted by another program show in the user-name list.
    void pageActivated() override;

public slots:
    void addChild();
    void deleteChild();
    void display();
    void beginAdding() override;
    void beginChanging() override;
    void save() override;
    void undo() override;
    void search();
    void compare();
    void changeSkin();
    void showHelp();

protected:
    void showEvent(QShowEvent* event) override;
    void showMarked(bool clicked) override;
    Result deleteRecords(const QList<qint64>& ids) override;
    void afterDelete() override;

private:
    QWidget* buildChildGroup();
    QWidget* buildFieldGroup();
    QWidget* buildRecordGroup();
    void initialise();
    // Fills the user-name list from the table, keeping the chosen child when it is still there.
    void fillUsers();
    // Lists the measurements the opener selects, newest first.
    void fillList(const std::function<Result(CPPER&)>& open);
    // Each list column as wide as its widest text.
    void fitColumns();
    void clearFields();
    void setEditing(bool editing);
    bool checkHeartRate();

    bool m_initialised = false;
    // Whether the last click on the list was on a row; one below the rows shows no record.

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
    TextRowsModel* m_model;
    QPushButton* m_displayButton;
    QTableView* m_list;
};

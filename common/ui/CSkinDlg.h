#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class SkinRecordset;

// Lets the user pick a skin from the skin table; OK remembers the choice with the current time.
class CSkinDlg : public QDialog
{
    Q_OBJECT

public:
    CSkinDlg(std::unique_ptr<SkinRecordset> table, const QString& caption, QWidget* parent = nullptr);
    ~CSkinDlg() override;

    // The skin file name chosen with OK.
    const QString& chosenSkin() const { return m_chosen; }

    void accept() override;

    // Runs the dialog and applies the skin chosen with OK at once; Cancel keeps the current skin.
    static bool changeSkin(std::unique_ptr<SkinRecordset> table, const QString& caption, QWidget* parent);

private:
    std::unique_ptr<SkinRecordset> m_table;
    QComboBox* m_skinCombo;
    QString m_chosen;
};

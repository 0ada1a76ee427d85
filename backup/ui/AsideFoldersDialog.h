#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// The records each restore kept aside ("恢复前的记录-…"), with their dates and sizes; the one
// the user selects is deleted on request, after a question, and never otherwise.
class AsideFoldersDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AsideFoldersDialog(QString databasePath, QWidget* parent = nullptr);

private:
    void refill();
    void deleteSelected();

    QString m_databasePath;
    QListWidget* m_list;
    QPushButton* m_deleteButton;
};

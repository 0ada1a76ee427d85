#pragma once

#include "common/ui/MainWindowBase.h"

class BackupActions;
class QTabWidget;

// The main window of health: the eight pages as tabs.
class CHealthDlg : public MainWindowBase
{
    Q_OBJECT

public:
    explicit CHealthDlg(QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }
    // The page of a tab, built now if it was not shown yet.
    QWidget* page(int index) const;
    // The window menu's backup, restore and export items, and the reminder to back up.
    BackupActions* backupActions() const { return m_backupActions; }

public slots:
    void showAbout() override;

private slots:
    void pageChanged(int index);

private:
    template <typename Page> void addPage(const QString& caption);

    QTabWidget* m_pages;
    BackupActions* m_backupActions = nullptr;
    int m_shownPage = 0;
    bool m_returning = false;
};

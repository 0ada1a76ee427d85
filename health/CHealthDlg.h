#pragma once

#include <QDialog>

class QAction;
class QTabWidget;

// The main window of health: the eight pages as tabs.
class CHealthDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CHealthDlg(QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }
    // The page of a tab, built now if it was not shown yet.
    QWidget* page(int index) const;
    QAction* aboutAction() const { return m_aboutAction; }

public slots:
    void showAbout();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void pageChanged(int index);

private:
    template <typename Page> void addPage(const QString& caption);

    QTabWidget* m_pages;
    QAction* m_aboutAction = nullptr;
    int m_shownPage = 0;
    bool m_returning = false;
};

#pragma once

#include <QObject>
#include <QString>

class MainWindowBase;
class QAction;
class QWidget;

// The window-menu items "打印报告…" and "导出PDF报告…" of health, and the one way every button
// of the program asks for a report: the report dialog, then the print dialog or a file to save.
class ReportActions : public QObject
{
    Q_OBJECT

public:
    // Adds the items to window's menu; the returned object belongs to window.
    static ReportActions* install(MainWindowBase& window);

    QAction* printAction() const { return m_printAction; }
    QAction* exportAction() const { return m_exportAction; }

    // Asks for a report on child (empty: the newest child) and prints or saves it. print makes
    // printing the dialog's default.
    static void run(QWidget* parent, const QString& child, bool print);

private:
    explicit ReportActions(MainWindowBase& window);

    QAction* m_printAction;
    QAction* m_exportAction;
};

#pragma once

#include <QDialog>
#include <QIcon>

class QAction;
class QKeyEvent;
class QMenu;
class QToolButton;

// The main window of every program: Enter and Escape never close it, and it carries the window
// menu with the About item ("关于 kestrin儿童成长管理系统(&A)..."). Without a system menu the items are
// offered in the window's context menu and behind a menu button that the window places.
// Enter and Escape, which close a plain dialog, are swallowed: returns true for them.
bool swallowClosingKey(QKeyEvent* event);

class MainWindowBase : public QDialog
{
    Q_OBJECT

public:
    explicit MainWindowBase(QWidget* parent = nullptr);

    QAction* aboutAction() const { return m_aboutAction; }
    QMenu* windowMenu() const { return m_menu; }
    // The button that opens the window menu; the window puts it where it fits.
    QToolButton* windowMenuButton() const { return m_menuButton; }
    // Adds an item to the window menu (and the context menu), after the About item.
    QAction* addWindowMenuItem(const QString& text, const QString& objectName);

    // The program's icon in the file at path, decoded once for the application and its window.
    static QIcon programIcon(const QString& path);

public slots:
    virtual void showAbout() = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMenu* m_menu;
    QAction* m_aboutAction;
    QToolButton* m_menuButton;
};

#pragma once

#include <QDialog>

class QAction;
class QToolButton;

// An About box: the program's icon, its name with version, and the ownership notice.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    AboutBox(const QString& caption, const QString& product, const QString& iconPath, QWidget* parent = nullptr);

    // The window menu's About item ("关于 kestrin儿童成长管理系统(&A)..."). Without a system menu it is
    // offered in the window's context menu and in the returned menu button, which the window places.
    static QToolButton* installAboutItem(QWidget* window, QAction*& action);
};

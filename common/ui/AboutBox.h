#pragma once

#include <QDialog>

// An About box: the program's icon, its name with version, and the ownership notice.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    AboutBox(const QString& caption, const QString& product, const QString& iconPath, QWidget* parent = nullptr);
};

#pragma once

#include <QWidget>

class QPushButton;

// The basic health page: a child's measurements, skins and help.
class CJIBEN : public QWidget
{
    Q_OBJECT

public:
    explicit CJIBEN(QWidget* parent = nullptr);

public slots:
    void changeSkin();
    void showHelp();

private:
    QPushButton* m_skinButton;
    QPushButton* m_helpButton;
};

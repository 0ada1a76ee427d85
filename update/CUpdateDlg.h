#pragma once

#include "OnlineUpdate.h"

#include <QDialog>

class QAction;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "在线升级": checks for a newer version at start, downloads it, shows the news.
class CUpdateDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CUpdateDlg(OnlineUpdate& update, QWidget* parent = nullptr);

    QString status() const;

public slots:
    void startCheck();
    void download();
    void showNews();
    void showAbout();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void checked(OnlineUpdate::Check result);
    void downloaded(const Result& result);
    void setStatus(const QString& text);

    OnlineUpdate& m_update;
    QLabel* m_status;
    QProgressBar* m_progress;
    QPushButton* m_downloadButton;
    QPushButton* m_newsButton;
    QPlainTextEdit* m_news;
    QAction* m_aboutAction = nullptr;
};

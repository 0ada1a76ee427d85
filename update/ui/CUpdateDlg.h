#pragma once

#include "update/OnlineUpdate.h"

#include "common/ui/MainWindowBase.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "在线升级": checks for a newer version at start, downloads it, shows the news.
class CUpdateDlg : public MainWindowBase
{
    Q_OBJECT

public:
    explicit CUpdateDlg(OnlineUpdate& update, QWidget* parent = nullptr);

    QString status() const;

public slots:
    void startCheck();
    void download();
    void showNews();
    void showAbout() override;

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
};

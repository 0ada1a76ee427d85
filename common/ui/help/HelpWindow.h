#pragma once

#include <QDialog>

class QHelpEngine;
class QTextBrowser;
class QUrl;

// The help window: contents and full-text search on the left, the page on the right.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    HelpWindow(const QString& collectionFile, QWidget* owner);
    ~HelpWindow() override;

    bool isUsable() const;
    void showPage(const QUrl& url);
    QTextBrowser* browser() const { return m_browser; }

private:
    QHelpEngine* m_engine;
    QTextBrowser* m_browser = nullptr;
};

#pragma once

#include "common/ServerConfig.h"

#include <QDialog>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "数据库位置…": the local file or a PostgreSQL server (host, port, database, user, password)
// with the media folder; "测试连接" says what is wrong or that it works, "保存" keeps the choice
// for the next start, "把本机记录复制到服务器" moves the family's records and media there.
class DatabaseLocationDialog : public QDialog
{
    Q_OBJECT

public:
    // databaseFolder: the installation's database folder (the local file and its media lie there).
    explicit DatabaseLocationDialog(const QString& databaseFolder, QWidget* parent = nullptr);

    // The settings as the fields say now.
    ServerConfig config() const;

public slots:
    void testConnection();
    void save();
    void copyToServer();

private:
    void updateFields();

    QString m_databaseFolder;
    QRadioButton* m_local;
    QRadioButton* m_server;
    QLineEdit* m_host;
    QSpinBox* m_port;
    QLineEdit* m_database;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_media;
    QPushButton* m_test;
    QPushButton* m_copy;
    QProgressBar* m_progress;
};

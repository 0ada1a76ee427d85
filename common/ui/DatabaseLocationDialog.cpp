#include "common/ui/DatabaseLocationDialog.h"
#include "common/CommonTr.h"
#include "common/ui/DialogService.h"
#include "data/Database.h"
#include "data/DatabaseLocation.h"
#include "data/ServerCopy.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

DatabaseLocationDialog::DatabaseLocationDialog(const QString& databaseFolder, QWidget* parent)
    : QDialog(parent), m_databaseFolder(databaseFolder), m_local(new QRadioButton(CommonTr::tr("本机文件"), this)),
      m_server(new QRadioButton(CommonTr::tr("PostgreSQL 服务器"), this)), m_host(new QLineEdit(this)),
      m_port(new QSpinBox(this)), m_database(new QLineEdit(this)), m_user(new QLineEdit(this)),
      m_password(new QLineEdit(this)), m_media(new QLineEdit(this)),
      m_test(new QPushButton(CommonTr::tr("测试连接"), this)),
      m_copy(new QPushButton(CommonTr::tr("把本机记录复制到服务器"), this)), m_progress(new QProgressBar(this))
{
    setWindowTitle(CommonTr::tr("数据库位置"));
    m_local->setObjectName(QStringLiteral("localRadio"));
    m_server->setObjectName(QStringLiteral("serverRadio"));
    m_host->setObjectName(QStringLiteral("hostEdit"));
    m_port->setObjectName(QStringLiteral("portSpin"));
    m_database->setObjectName(QStringLiteral("databaseEdit"));
    m_user->setObjectName(QStringLiteral("userEdit"));
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_media->setObjectName(QStringLiteral("mediaEdit"));
    m_test->setObjectName(QStringLiteral("testButton"));
    m_copy->setObjectName(QStringLiteral("copyButton"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(CommonTr::tr("只保存在本机的 ~/.pgpass 里"));
    m_media->setPlaceholderText(CommonTr::tr("空着：使用本机的 database/media"));
    m_port->setRange(1, 65535);
    m_progress->setVisible(false);

    const ServerConfig config = ServerConfig::read(ServerConfig::fileIn(databaseFolder));
    (config.usesServer() ? m_server : m_local)->setChecked(true);
    m_host->setText(config.host);
    m_port->setValue(config.port);
    m_database->setText(config.database.isEmpty() ? QStringLiteral("kestrin") : config.database);
    m_user->setText(config.user);
    m_media->setText(QDir::toNativeSeparators(config.mediaFolder));

    auto* form = new QFormLayout;
    form->addRow(CommonTr::tr("服务器地址："), m_host);
    form->addRow(CommonTr::tr("端口："), m_port);
    form->addRow(CommonTr::tr("数据库："), m_database);
    form->addRow(CommonTr::tr("用户名："), m_user);
    form->addRow(CommonTr::tr("密码："), m_password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(CommonTr::tr("保存"));
    buttons->button(QDialogButtonBox::Save)->setObjectName(QStringLiteral("saveButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(CommonTr::tr("取消"));
    auto* mediaForm = new QFormLayout;
    mediaForm->addRow(CommonTr::tr("媒体文件夹："), m_media);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_local);
    layout->addWidget(m_server);
    layout->addLayout(form);
    layout->addWidget(m_test);
    layout->addLayout(mediaForm);
    layout->addWidget(m_copy);
    layout->addWidget(m_progress);
    layout->addWidget(buttons);

    connect(m_local, &QRadioButton::toggled, this, &DatabaseLocationDialog::updateFields);
    connect(m_test, &QPushButton::clicked, this, &DatabaseLocationDialog::testConnection);
    connect(m_copy, &QPushButton::clicked, this, &DatabaseLocationDialog::copyToServer);
    connect(buttons, &QDialogButtonBox::accepted, this, &DatabaseLocationDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateFields();
    resize(440, sizeHint().height());
}

ServerConfig DatabaseLocationDialog::config() const
{
    ServerConfig c;
    if (m_server->isChecked()) {
        c.host = m_host->text().trimmed();
        c.port = m_port->value();
        c.database = m_database->text().trimmed();
        c.user = m_user->text().trimmed();
    }
    c.mediaFolder = QDir::fromNativeSeparators(m_media->text().trimmed());
    return c;
}

void DatabaseLocationDialog::updateFields()
{
    const bool server = m_server->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(m_host), static_cast<QWidget*>(m_port), static_cast<QWidget*>(m_database),
                       static_cast<QWidget*>(m_user), static_cast<QWidget*>(m_password), static_cast<QWidget*>(m_test),
                       static_cast<QWidget*>(m_copy)})
        w->setEnabled(server);
}

void DatabaseLocationDialog::testConnection()
{
    const ServerConfig c = config();
    if (!c.usesServer()) {
        Dialogs::message(this, CommonTr::tr("请填写服务器地址。"));
        return;
    }
    if (!m_password->text().isEmpty()) {
        if (Result r = PgPass::store(c, m_password->text()); !r) {
            DialogService::current().message(this, r.error(), DialogService::Icon::Critical);
            return;
        }
    }
    if (Result r = Database::testServer(c); !r) {
        DialogService::current().message(this, r.error(), DialogService::Icon::Warning);
        return;
    }
    Dialogs::message(this, CommonTr::tr("连接成功，可以使用这台服务器。"));
}

void DatabaseLocationDialog::save()
{
    if (m_server->isChecked() && m_host->text().trimmed().isEmpty()) {
        Dialogs::message(this, CommonTr::tr("请填写服务器地址。"));
        return;
    }
    if (Result r = DatabaseLocation::choose(m_databaseFolder, config(), m_password->text()); !r) {
        DialogService::current().message(this, r.error(), DialogService::Icon::Warning);
        return;
    }
    Dialogs::message(this, CommonTr::tr("设置已保存。请关闭所有程序再重新打开，新的数据库位置才会生效。"));
    accept();
}

void DatabaseLocationDialog::copyToServer()
{
    const ServerConfig c = config();
    if (!c.usesServer()) {
        Dialogs::message(this, CommonTr::tr("请先填写服务器。"));
        return;
    }
    if (!Dialogs::confirm(
            this, CommonTr::tr("要把本机的记录和媒体文件复制到服务器 %1 上的数据库“%2”吗？").arg(c.host, c.database)))
        return;
    if (!m_password->text().isEmpty()) {
        if (Result r = PgPass::store(c, m_password->text()); !r) {
            DialogService::current().message(this, r.error(), DialogService::Icon::Critical);
            return;
        }
    }
    m_progress->setVisible(true);
    const auto progress = [this](const QString& step, int percent) {
        m_progress->setFormat(step);
        m_progress->setValue(percent);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    // The copy opens the server as the program's connection; the program's own records are
    // opened again afterwards, so the window keeps working on what it showed.
    const ServerConfig before = ServerConfig::read(ServerConfig::fileIn(m_databaseFolder));
    const QString file = QDir(m_databaseFolder).filePath(QStringLiteral("kestrin.db"));
    Result result = ServerCopy::copyRecords(file, c, progress);
    if (result && !c.mediaFolder.isEmpty())
        result =
            ServerCopy::copyMedia(QDir(m_databaseFolder).filePath(QStringLiteral("media")), c.mediaFolder, progress);
    const Result reopened = before.usesServer() ? Database::openServer(before) : Database::open(file);
    m_progress->setVisible(false);
    if (!result) {
        DialogService::current().message(this, result.error(), DialogService::Icon::Warning);
        return;
    }
    if (!reopened) {
        DialogService::current().message(this, reopened.error(), DialogService::Icon::Critical);
        return;
    }
    Dialogs::message(this, CommonTr::tr("本机记录已复制到服务器。按“保存”后，重新打开程序即可使用服务器上的记录。"));
}

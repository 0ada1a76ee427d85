#include "update/ui/CUpdateDlg.h"
#include "update/UpdateTr.h"

#include "common/ui/AboutBox.h"
#include "common/ui/DialogService.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

CUpdateDlg::CUpdateDlg(OnlineUpdate& update, QWidget* parent)
    : MainWindowBase(parent), m_update(update), m_status(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_downloadButton(new QPushButton(UpdateTr::tr("下载最新版本"), this)),
      m_newsButton(new QPushButton(UpdateTr::tr("查看更新信息"), this)), m_news(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("updateWindow"));
    setWindowTitle(UpdateTr::tr("在线升级"));
    setWindowIcon(QIcon(QStringLiteral(":/update/update.png")));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    // The family can select a detail and copy it into a message to the provider.
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_status->setMinimumHeight(40);
    m_status->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    QFont statusFont = m_status->font();
    statusFont.setPointSizeF(statusFont.pointSizeF() * 1.3);
    m_status->setFont(statusFont);
    m_progress->setObjectName(QStringLiteral("downloadProgress"));
    m_progress->setAccessibleName(UpdateTr::tr("下载进度"));
    m_progress->hide();
    m_downloadButton->setObjectName(QStringLiteral("downloadButton"));
    m_newsButton->setObjectName(QStringLiteral("newsButton"));
    m_news->setObjectName(QStringLiteral("newsEdit"));
    m_news->setAccessibleName(UpdateTr::tr("更新信息"));
    m_news->setReadOnly(true);
    for (QWidget* hidden : std::initializer_list<QWidget*>{m_downloadButton, m_newsButton, m_news})
        hidden->hide();
    m_downloadButton->setEnabled(false);
    m_newsButton->setEnabled(false);

    QToolButton* menuButton = windowMenuButton();
    auto* top = new QHBoxLayout;
    top->addWidget(m_status, 1);
    top->addWidget(menuButton, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_downloadButton);
    buttons->addWidget(m_newsButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    layout->addWidget(m_news, 1);
    layout->addStretch();
    resize(480, 300);

    connect(m_downloadButton, &QPushButton::clicked, this, &CUpdateDlg::download);
    connect(m_newsButton, &QPushButton::clicked, this, &CUpdateDlg::showNews);
    connect(&m_update, &OnlineUpdate::checked, this, &CUpdateDlg::checked);
    connect(&m_update, &OnlineUpdate::downloaded, this, &CUpdateDlg::downloaded);
    connect(&m_update, &OnlineUpdate::newsReady, m_news, &QPlainTextEdit::setPlainText);
    connect(&m_update, &OnlineUpdate::progress, this, [this](const QString& module, qint64 received, qint64 total) {
        m_progress->setFormat(module + QStringLiteral("  %p%"));
        m_progress->setMaximum(total > 0 ? int(total / 1024) : 0);
        m_progress->setValue(int(received / 1024));
    });
}

QString CUpdateDlg::status() const
{
    return m_status->text();
}

void CUpdateDlg::setStatus(const QString& text)
{
    // Plain text, as it is: a detail copied from here is what the engine said. Qt breaks a long
    // web address after its slashes and hyphens by itself.
    m_status->setText(text);
}

void CUpdateDlg::startCheck()
{
    setStatus(UpdateTr::tr("正在检查，请等待。。。。。。"));
    m_update.checkVersion();
}

void CUpdateDlg::checked(OnlineUpdate::Check result)
{
    switch (result) {
    case OnlineUpdate::Check::NetworkFailed:
        setStatus(m_update.checkFailure().error());
        break;
    case OnlineUpdate::Check::NoNewVersion:
        setStatus(UpdateTr::tr("抱歉。还没有新版本！"));
        break;
    case OnlineUpdate::Check::NewVersion:
        setStatus(UpdateTr::tr("有新版本了,下载前请把5个模块全部关闭"));
        for (QPushButton* button : {m_downloadButton, m_newsButton}) {
            button->show();
            button->setEnabled(true);
        }
        break;
    }
}

void CUpdateDlg::download()
{
    const QStringList running = m_update.runningModules();
    if (!running.isEmpty()) {
        DialogService::current().message(
            this, UpdateTr::tr("请先关闭正在运行的程序：%1，然后再下载。").arg(running.join(QStringLiteral("、"))),
            DialogService::Icon::Warning);
        return;
    }
    m_downloadButton->setEnabled(false);
    setStatus(UpdateTr::tr("正在升级请等待。。。。"));
    m_progress->setValue(0);
    m_progress->show();
    m_update.download();
}

void CUpdateDlg::downloaded(const Result& result)
{
    m_progress->hide();
    if (result) {
        setStatus(UpdateTr::tr("升级完毕"));
        return;
    }
    // Every installed program is as it was, so the same update can be tried again.
    setStatus(UpdateTr::tr("升级失败：%1").arg(result.error()));
    m_downloadButton->setEnabled(true);
}

void CUpdateDlg::showNews()
{
    m_news->show();
    m_news->clear();
    m_update.fetchNews();
}

void CUpdateDlg::showAbout()
{
    AboutBox about(UpdateTr::tr("关于 update"), UpdateTr::tr("kestrin在线升级 V1.0"),
                   QStringLiteral(":/update/update.png"), this);
    about.exec();
}

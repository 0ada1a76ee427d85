#include "backup/ui/BackupProgressDialog.h"

#include "backup/BackupTr.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

BackupProgressDialog::BackupProgressDialog(const QString& title, QWidget* parent)
    : QDialog(parent), m_step(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cancelButton(new QPushButton(BackupTr::tr("取消"), this)), m_progress([this](const QString& step, int percent) {
          // Called on the worker thread: the widgets are changed on their own.
          QMetaObject::invokeMethod(
              this, [this, step, percent] { showProgress(step, percent); }, Qt::QueuedConnection);
      })
{
    setObjectName(QStringLiteral("backupProgressDialog"));
    setWindowTitle(title);
    setModal(true);
    m_step->setObjectName(QStringLiteral("stepLabel"));
    m_step->setMinimumWidth(360);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 100);
    m_bar->setAccessibleName(title);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAccessibleName(BackupTr::tr("取消"));
    connect(m_cancelButton, &QPushButton::clicked, this, &BackupProgressDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(m_step);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
}

Result BackupProgressDialog::run(const Task& task)
{
    Result result;
    m_running = true;
    m_step->setText(BackupTr::tr("正在准备…"));
    QThread* worker = QThread::create([this, &task, &result] { result = task(m_progress); });
    connect(worker, &QThread::finished, this, [this] {
        m_running = false;
        accept();
    });
    worker->start();
    exec();
    worker->wait();
    delete worker;
    return result;
}

void BackupProgressDialog::reject()
{
    if (!m_running) {
        QDialog::reject();
        return;
    }
    m_progress.cancel();
    m_cancelButton->setEnabled(false);
    m_step->setText(BackupTr::tr("正在取消…"));
}

void BackupProgressDialog::showProgress(const QString& step, int percent)
{
    if (m_progress.cancelled())
        return;
    m_step->setText(step);
    m_bar->setValue(percent);
}

#include "backup/ui/BackupReminderDialog.h"

#include "backup/BackupTr.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

BackupReminderDialog::BackupReminderDialog(const BackupRecord::Reminder& reminder, QWidget* parent)
    : QDialog(parent), m_stopCheck(new QCheckBox(BackupTr::tr("不再提醒"), this))
{
    setObjectName(QStringLiteral("backupReminderDialog"));
    setWindowTitle(BackupTr::tr("备份提醒"));

    const QString when = reminder.lastBackup
                             ? BackupTr::tr("孩子的记录上次备份是在 %1，已经过去 %2 天了。")
                                   .arg(reminder.lastBackup->toLocalTime().toString(QStringLiteral("yyyy年M月d日")))
                                   .arg(reminder.daysSince)
                             : BackupTr::tr("孩子的记录和照片还从来没有备份过。");
    auto* text = new QLabel(when + QStringLiteral("\n\n") +
                                BackupTr::tr("这些记录只保存在这台电脑上，硬盘一旦损坏就会全部丢失。\n"
                                             "建议现在备份一次，并把备份文件存到U盘或另一块磁盘上。"),
                            this);
    text->setObjectName(QStringLiteral("reminderLabel"));
    text->setWordWrap(true);
    text->setMinimumWidth(380);
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    m_stopCheck->setObjectName(QStringLiteral("stopRemindingCheck"));
    m_stopCheck->setAccessibleName(m_stopCheck->text());
    auto* backupButton = new QPushButton(BackupTr::tr("现在备份"), this);
    backupButton->setObjectName(QStringLiteral("backupNowButton"));
    backupButton->setDefault(true);
    auto* laterButton = new QPushButton(BackupTr::tr("以后再说"), this);
    laterButton->setObjectName(QStringLiteral("laterButton"));
    connect(backupButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(laterButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(icon);
    top->addWidget(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_stopCheck);
    buttons->addStretch();
    buttons->addWidget(backupButton);
    buttons->addWidget(laterButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

bool BackupReminderDialog::stopReminding() const
{
    return m_stopCheck->isChecked();
}

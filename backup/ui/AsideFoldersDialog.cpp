#include "backup/ui/AsideFoldersDialog.h"

#include "backup/AsideFolders.h"
#include "backup/BackupTr.h"
#include "backup/FileErrors.h"
#include "common/ui/DialogService.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

AsideFoldersDialog::AsideFoldersDialog(QString databasePath, QWidget* parent)
    : QDialog(parent), m_databasePath(std::move(databasePath)), m_list(new QListWidget(this)),
      m_deleteButton(new QPushButton(BackupTr::tr("删除所选"), this))
{
    setObjectName(QStringLiteral("asideFoldersDialog"));
    setWindowTitle(BackupTr::tr("恢复前的记录"));
    auto* text = new QLabel(BackupTr::tr("每次恢复备份时，原来的记录都完整地保存在数据库文件夹%1里的一个文件夹中。"
                                         "确认不再需要哪一份时，可以选中后删除它，以腾出磁盘空间。")
                                .arg(FileErrors::quoted(QFileInfo(m_databasePath).absolutePath())),
                            this);
    text->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("asideList"));
    m_list->setAccessibleName(BackupTr::tr("恢复前的记录"));
    m_list->setMinimumSize(480, 160);
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));
    auto* closeButton = new QPushButton(BackupTr::tr("关闭"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setDefault(true);
    connect(m_deleteButton, &QPushButton::clicked, this, &AsideFoldersDialog::deleteSelected);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_deleteButton->setEnabled(!m_list->selectedItems().isEmpty()); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_deleteButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->setSpacing(12);
    layout->addWidget(text);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    refill();
}

void AsideFoldersDialog::refill()
{
    m_list->clear();
    for (const AsideFolders::Folder& folder : AsideFolders::list(m_databasePath)) {
        auto* item = new QListWidgetItem(
            BackupTr::tr("%1 恢复前的记录，%2")
                .arg(folder.made.toString(QStringLiteral("yyyy年M月d日 HH:mm")), FileErrors::sizeText(folder.bytes)),
            m_list);
        item->setToolTip(QDir::toNativeSeparators(folder.path));
        item->setData(Qt::UserRole, folder.path);
    }
    m_deleteButton->setEnabled(false);
}

void AsideFoldersDialog::deleteSelected()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const QString path = selected.first()->data(Qt::UserRole).toString();
    DialogService& dialogs = DialogService::current();
    if (!dialogs.confirm(this,
                         BackupTr::tr("删除%1后，其中的记录和媒体文件无法找回。确定要删除吗？")
                             .arg(FileErrors::quoted(QDir::toNativeSeparators(path))),
                         BackupTr::tr("系统提示")))
        return;
    if (Result r = AsideFolders::remove(m_databasePath, path); !r)
        dialogs.message(this, r.error(), DialogService::Icon::Warning);
    refill();
}

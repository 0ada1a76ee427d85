#include "common/ui/AboutBox.h"
#include "common/CommonTr.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

AboutBox::AboutBox(const QString& caption, const QString& product, const QString& iconPath, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    setObjectName(QStringLiteral("aboutDialog"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(iconPath).scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto* name = new QLabel(product, this);
    name->setObjectName(QStringLiteral("productLabel"));
    auto* notice = new QLabel(
        CommonTr::tr("版权所有 © 2026 Kestrin 开发组。本软件供家庭使用，所有记录只保存在您自己的电脑上。"), this);
    notice->setObjectName(QStringLiteral("noticeLabel"));
    notice->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(CommonTr::tr("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(notice);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

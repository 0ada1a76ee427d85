#include "CJIBEN.h"

#include "CSkinDlg.h"
#include "HelpService.h"
#include "Skins.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

CJIBEN::CJIBEN(QWidget* parent)
    : QWidget(parent), m_skinButton(new QPushButton(tr("换皮肤"), this)),
      m_helpButton(new QPushButton(tr("帮助F1"), this))
{
    setObjectName(QStringLiteral("basicHealthPage"));
    m_skinButton->setObjectName(QStringLiteral("changeSkinButton"));
    m_helpButton->setObjectName(QStringLiteral("helpButton"));
    connect(m_skinButton, &QPushButton::clicked, this, &CJIBEN::changeSkin);
    connect(m_helpButton, &QPushButton::clicked, this, &CJIBEN::showHelp);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this, this, &CJIBEN::showHelp);
    f1->setContext(Qt::WidgetWithChildrenShortcut);

    auto* note = new QLabel(tr("孩子的身高、体重等测量记录将在下一个版本中提供。"), this);
    note->setAlignment(Qt::AlignCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_skinButton);
    buttons->addWidget(m_helpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note, 1);
    layout->addLayout(buttons);
}

void CJIBEN::changeSkin()
{
    CSkinDlg::changeSkin(std::make_unique<CSKINDATA>(), tr("皮肤文件对话框"), this);
}

void CJIBEN::showHelp()
{
    HelpService::show(this);
}

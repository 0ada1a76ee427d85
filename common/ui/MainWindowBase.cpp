#include "common/ui/MainWindowBase.h"

#include "common/CommonTr.h"
#include "common/DataSource.h"
#include "common/ui/DatabaseLocationDialog.h"

#include <QAction>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>

MainWindowBase::MainWindowBase(QWidget* parent)
    : QDialog(parent), m_menu(new QMenu(this)), m_aboutAction(nullptr), m_menuButton(new QToolButton(this))
{
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    m_aboutAction =
        addWindowMenuItem(CommonTr::tr("关于 kestrin儿童成长管理系统(&A)..."), QStringLiteral("aboutAction"));
    connect(m_aboutAction, &QAction::triggered, this, &MainWindowBase::showAbout);
    QAction* location = addWindowMenuItem(CommonTr::tr("数据库位置…"), QStringLiteral("databaseLocationAction"));
    connect(location, &QAction::triggered, this, [this] {
        DatabaseLocationDialog dialog(QFileInfo(DataSource::defaultDatabasePath()).absolutePath(), this);
        dialog.exec();
    });
    m_menuButton->setObjectName(QStringLiteral("windowMenuButton"));
    m_menuButton->setText(CommonTr::tr("关于"));
    m_menuButton->setAccessibleName(CommonTr::tr("关于"));
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menuButton->setMenu(m_menu);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

QAction* MainWindowBase::addWindowMenuItem(const QString& text, const QString& objectName)
{
    auto* action = new QAction(text, this);
    action->setObjectName(objectName);
    m_menu->addAction(action);
    addAction(action);
    return action;
}

QIcon MainWindowBase::programIcon(const QString& path)
{
    static QHash<QString, QIcon> icons;
    auto known = icons.constFind(path);
    if (known == icons.constEnd())
        known = icons.insert(path, QIcon(path));
    return *known;
}

bool swallowClosingKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return true;
    default:
        return false;
    }
}

void MainWindowBase::keyPressEvent(QKeyEvent* event)
{
    if (!swallowClosingKey(event))
        QDialog::keyPressEvent(event);
}

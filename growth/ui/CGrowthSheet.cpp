#include "growth/ui/CGrowthSheet.h"
#include "backup/ui/BackupActions.h"
#include "growth/GrowthTr.h"

#include "common/ui/LazyPage.h"
#include "common/ui/SkinEngine.h"
#include "growth/ui/BirthdayPage.h"
#include "growth/ui/DiaryPage.h"
#include "growth/ui/GrowthAboutBox.h"
#include "growth/ui/HonoursPage.h"

#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

CGrowthSheet::CGrowthSheet(QWidget* parent) : MainWindowBase(parent), m_pages(new QTabWidget(this))
{
    setObjectName(QStringLiteral("growthWindow"));
    setWindowIcon(programIcon(QStringLiteral(":/growth/growth-64.png")));
    SkinEngine::applyToWindow(this, QStringLiteral("Dialog"));

    m_pages->setObjectName(QStringLiteral("pageTabs"));
    m_pages->setAccessibleName(GrowthTr::tr("页面"));
    m_pages->addTab(new LazyPage([] { return new DiaryPage; }), GrowthTr::tr("成长日记"));
    m_pages->addTab(new LazyPage([] { return new BirthdayPage; }), GrowthTr::tr("生日管理"));
    m_pages->addTab(new LazyPage([] { return new HonoursPage; }), GrowthTr::tr("荣誉管理"));
    m_pages->setCurrentIndex(DiaryTab);

    // There is no system menu to carry the About item, so it lives in a menu at the end of
    // the tab row and in the window's context menu.
    m_pages->setCornerWidget(windowMenuButton(), Qt::TopRightCorner);
    // "备份…" and "恢复…" beside the About item, as in every program of the suite.
    BackupActions::install(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_pages);
    resize(1180, 800);
    setMinimumSize(1100, 720);
}

QWidget* CGrowthSheet::page(int index) const
{
    auto* lazy = qobject_cast<LazyPage*>(m_pages->widget(index));
    return lazy ? lazy->page() : nullptr;
}

void CGrowthSheet::showAbout()
{
    GrowthAboutBox about(this);
    about.exec();
}

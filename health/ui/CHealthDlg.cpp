#include "health/ui/CHealthDlg.h"
#include "health/HealthTr.h"

#include "backup/ui/BackupActions.h"
#include "common/ui/Accessibility.h"
#include "common/ui/LazyPage.h"
#include "common/ui/PageActivation.h"
#include "common/ui/PageLeaveCheck.h"
#include "common/ui/SkinEngine.h"
#include "health/ui/CAboutDlg.h"
#include "health/ui/CBL.h"
#include "health/ui/CFYI.h"
#include "health/ui/CJIBEN.h"
#include "health/ui/CZS.h"
#include "health/ui/Libraries.h"
#include "report/ui/ReportActions.h"

#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

CHealthDlg::CHealthDlg(QWidget* parent) : MainWindowBase(parent), m_pages(new QTabWidget(this))
{
    setObjectName(QStringLiteral("healthWindow"));
    setWindowTitle(HealthTr::tr("禾岚森儿童成长健康管理"));
    setWindowIcon(programIcon(QStringLiteral(":/health/health-64.png")));
    SkinEngine::applyToWindow(this, QStringLiteral("Dialog"));

    m_pages->setObjectName(QStringLiteral("pageTabs"));
    m_pages->setAccessibleName(HealthTr::tr("页面"));
    // Each page is built the first time its tab is shown.
    addPage<CJIBEN>(HealthTr::tr("基本健康管理"));
    addPage<CBL>(HealthTr::tr("病历信息管理"));
    addPage<CFYI>(HealthTr::tr("防疫信息管理"));
    addPage<CZS>(HealthTr::tr("健康知识库"));
    addPage<CYYANG>(HealthTr::tr("基本营养信息"));
    addPage<CTN>(HealthTr::tr("体能训练"));
    addPage<CWMAN>(HealthTr::tr("健康妈咪"));
    addPage<CCHILD>(HealthTr::tr("婴幼儿健康"));
    m_pages->setCurrentIndex(0);
    connect(m_pages, &QTabWidget::currentChanged, this, &CHealthDlg::pageChanged);

    // There is no system menu to carry the About item, so it lives in a menu at the end of
    // the tab row and in the window's context menu.
    m_pages->setCornerWidget(windowMenuButton(), Qt::TopRightCorner);
    m_backupActions = BackupActions::install(*this);
    ReportActions::install(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_pages);
    resize(1000, 740);
    setMinimumSize(860, 620);
}

template <typename Page> void CHealthDlg::addPage(const QString& caption)
{
    m_pages->addTab(new LazyPage([] {
                        auto* page = new Page;
                        Accessibility::nameFromLabels(page);
                        return page;
                    }),
                    caption);
}

QWidget* CHealthDlg::page(int index) const
{
    auto* lazy = qobject_cast<LazyPage*>(m_pages->widget(index));
    return lazy ? lazy->page() : nullptr;
}

void CHealthDlg::pageChanged(int index)
{
    if (m_returning)
        return;
    // The page being left may refuse, for example while it holds a value it cannot keep.
    auto* check = dynamic_cast<PageLeaveCheck*>(page(m_shownPage));
    if (check && !check->mayLeave()) {
        m_returning = true;
        m_pages->setCurrentIndex(m_shownPage);
        m_returning = false;
        return;
    }
    m_shownPage = index;
    if (auto* activated = dynamic_cast<PageActivation*>(page(index)))
        activated->pageActivated();
}

void CHealthDlg::showAbout()
{
    CAboutDlg about(this);
    about.exec();
}

// The run-time module "kestrin_helpviewer": the help window on Qt Help.
#include "common/ui/help/HelpWindow.h"
#include "common/CommonTr.h"
#include "common/ui/HelpModule.h"

#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// A browser that reads pages and pictures out of the compiled help.
class HelpBrowser : public QTextBrowser
{
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), m_engine(engine) {}

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (name.scheme() == QLatin1String("qthelp"))
            return m_engine->fileData(name);
        return QTextBrowser::loadResource(type, name);
    }

private:
    QHelpEngine* m_engine;
};

} // namespace

HelpWindow::HelpWindow(const QString& collectionFile, QWidget* owner)
    : QDialog(owner), m_engine(new QHelpEngine(collectionFile, this))
{
    setWindowTitle(CommonTr::tr("帮助 - 禾岚森儿童成长健康管理"));
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(900, 640);
    if (!m_engine->setupData())
        return;

    m_browser = new HelpBrowser(m_engine, this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setAccessibleName(CommonTr::tr("帮助内容"));
    m_browser->setOpenExternalLinks(false);

    auto* contents = m_engine->contentWidget();
    contents->setObjectName(QStringLiteral("helpContentsTree"));
    contents->setAccessibleName(CommonTr::tr("目录"));
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showPage);
    // One click on a topic opens it, as in a file manager's tree; the keys still go by Enter.
    connect(contents, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (QHelpContentItem* item = m_engine->contentModel()->contentItemAt(index))
            showPage(item->url());
    });
    connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, contents, &QTreeView::expandAll);

    QHelpSearchEngine* search = m_engine->searchEngine();
    auto* searchPage = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(search->queryWidget());
    searchLayout->addWidget(search->resultWidget(), 1);
    search->queryWidget()->setObjectName(QStringLiteral("helpSearchQuery"));
    search->resultWidget()->setObjectName(QStringLiteral("helpSearchResults"));
    connect(search->queryWidget(), &QHelpSearchQueryWidget::search, this,
            [search] { search->search(search->queryWidget()->searchInput()); });
    connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::showPage);
    // The full-text index is built in the background the first time help is opened.
    search->scheduleIndexDocumentation();

    auto* sideTabs = new QTabWidget(this);
    sideTabs->addTab(contents, CommonTr::tr("目录"));
    sideTabs->addTab(searchPage, CommonTr::tr("搜索"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(sideTabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
}

HelpWindow::~HelpWindow() = default;

bool HelpWindow::isUsable() const
{
    return m_browser != nullptr && !m_engine->registeredDocumentations().isEmpty();
}

void HelpWindow::showPage(const QUrl& url)
{
    if (m_browser)
        m_browser->setSource(url);
}

class HelpViewerModule : public QObject, public HelpModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KESTRIN_HELP_IID)
    Q_INTERFACES(HelpModule)

public:
    QDialog* openWindow(const QString& collectionFile, QWidget* owner) override
    {
        auto* help = new HelpWindow(collectionFile, owner);
        if (!help->isUsable()) {
            delete help;
            return nullptr;
        }
        return help;
    }

    void showPage(QDialog* window, const QUrl& url) override { static_cast<HelpWindow*>(window)->showPage(url); }
};

#include "HelpWindow.moc"

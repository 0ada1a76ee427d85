#include "health/ui/Libraries.h"
#include "health/HealthTr.h"

#include <QCoreApplication>

namespace {

// What the libraries share: a 20-character title, "当前还没有任何记录" for an empty type.
ArticlePage::Settings library(const QString& table)
{
    ArticlePage::Settings s;
    s.table = table;
    s.titleHeading = HealthTr::tr("     标题");
    s.titleTooLong = HealthTr::tr("标题太长，不能超过20个字");
    return s;
}

ArticlePage::Settings training()
{
    ArticlePage::Settings s = library(QStringLiteral("tnrong"));
    s.maxTextBytes = 2000;
    s.textTooLong = HealthTr::tr("内容太长，不能超过1000个字");
    s.nothingToShow = HealthTr::tr("当前还没有任何记录");
    return s;
}

ArticlePage::Settings nutrition()
{
    ArticlePage::Settings s = library(QStringLiteral("ynrong"));
    s.titleHeading = HealthTr::tr("    标题");
    s.sortedSearchTypes = false;
    s.sortedEditTypes = true;
    s.searchTypeLabel = HealthTr::tr("类别");
    s.editTypeLabel = HealthTr::tr("类别");
    s.maxTextBytes = 2000;
    s.textTooLong = HealthTr::tr("内容太长,不要超过1000个字");
    s.titleTooLong = HealthTr::tr("标题太长,不要超过20个字");
    s.nothingToShow = HealthTr::tr("当前还没有任何记录");
    s.keywordNeedsRadio = true;
    s.modifyDisablesAdd = true;
    return s;
}

// The fixed-type libraries have no type table, no text limit and no Enter search, and an
// empty type lists nothing.
ArticlePage::Settings fixedTypes(const QString& table, const QStringList& types)
{
    ArticlePage::Settings s = library(table);
    s.fixedTypes = types;
    s.enterSearches = false;
    return s;
}

ArticlePage::Settings infants()
{
    ArticlePage::Settings s =
        fixedTypes(QStringLiteral("childconnect"),
                   {HealthTr::tr("新生儿护理"), HealthTr::tr("新生儿营养"), HealthTr::tr("幼儿保健")});
    s.emptyEditTypes = 2;
    return s;
}

ArticlePage::Settings mothers()
{
    ArticlePage::Settings s =
        fixedTypes(QStringLiteral("womanconnect"),
                   {HealthTr::tr("健康妈咪"), HealthTr::tr("孕前准备"), HealthTr::tr("孕期用药和环境"),
                    HealthTr::tr("孕期饮食和营养"), HealthTr::tr("孕期保健"), HealthTr::tr("产妇护理及营养")});
    s.editTypeTyped = false;
    return s;
}

} // namespace

CTN::CTN(QWidget* parent) : LibraryPage(training(), parent)
{
    setObjectName(QStringLiteral("trainingPage"));
}

CYYANG::CYYANG(QWidget* parent) : LibraryPage(nutrition(), parent)
{
    setObjectName(QStringLiteral("nutritionPage"));
}

CCHILD::CCHILD(QWidget* parent) : LibraryPage(infants(), parent)
{
    setObjectName(QStringLiteral("infantPage"));
}

CWMAN::CWMAN(QWidget* parent) : LibraryPage(mothers(), parent)
{
    setObjectName(QStringLiteral("motherPage"));
}

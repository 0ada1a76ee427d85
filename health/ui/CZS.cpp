#include "health/ui/CZS.h"
#include "health/HealthTr.h"

#include "common/Clock.h"
#include "data/ArticleQuery.h"
#include "data/tables/Categories.h"
#include "data/tables/Cbingli.h"
#include "data/ui/FieldChecks.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

ArticlePage::Settings diseases()
{
    ArticlePage::Settings s;
    s.table = QStringLiteral("bing");
    s.titleHeading = HealthTr::tr("    标题");
    s.typeHeading = HealthTr::tr("    类型");
    s.sortedSearchTypes = false;
    s.sortedEditTypes = true;
    s.searchTypeLabel = HealthTr::tr("类别");
    s.textLabel = HealthTr::tr("描述");
    s.maxTitleBytes = 30;
    s.titleTooLong = HealthTr::tr("标题太长,不能超过15个字");
    s.nothingToShow = HealthTr::tr("当前还没有该用户记录,或者该类型的记录已经被删除");
    s.firstType = 1;
    s.displaySort.clear();
    s.unknownTypeAdding = HealthTr::tr("没有该类型");
    return s;
}

} // namespace

CZS::CZS(QWidget* parent)
    : ArticlePage(diseases(), parent), m_modes(new QButtonGroup(this)), m_fromEdit(new QLineEdit(this)),
      m_toEdit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("diseaseKnowledgePage"));
    keywordEdit()->setEnabled(false);
    const QStringList names{HealthTr::tr("当前类别"), HealthTr::tr("全文"), HealthTr::tr("日期")};
    const QStringList objectNames{QStringLiteral("categoryRadio"), QStringLiteral("fullTextRadio"),
                                  QStringLiteral("byDateRadio")};
    QHBoxLayout* options = searchOptions();
    for (int i = 0; i < names.size(); ++i) {
        auto* radio = new QRadioButton(names[i], searchGroup());
        radio->setObjectName(objectNames[i]);
        m_modes->addButton(radio, i);
        options->insertWidget(i, radio);
    }
    m_fromEdit->setObjectName(QStringLiteral("dateFromEdit"));
    m_toEdit->setObjectName(QStringLiteral("dateToEdit"));
    m_fromEdit->setAccessibleName(HealthTr::tr("日期 从"));
    m_toEdit->setAccessibleName(HealthTr::tr("日期 到"));
    for (QLineEdit* edit : {m_fromEdit, m_toEdit}) {
        edit->setText(QStringLiteral("0"));
        edit->setEnabled(false);
        edit->setMaxLength(8);
    }
    options->insertWidget(3, m_fromEdit);
    options->insertWidget(4, new QLabel(HealthTr::tr("到"), searchGroup()));
    options->insertWidget(5, m_toEdit);
    // The modes react to a radio button being checked, by mouse, keyboard or screen reader.
    connect(m_modes, &QButtonGroup::idToggled, this, [this](int mode, bool checked) {
        if (checked)
            chooseMode(mode);
    });
}

std::unique_ptr<Recordset> CZS::createRecords() const
{
    return std::make_unique<Cbingli>();
}

std::unique_ptr<CategoryRecordset> CZS::createTypes() const
{
    return std::make_unique<CLX>();
}

void CZS::chooseMode(int mode)
{
    if (mode == int(Mode::Dates)) {
        setEnterSearches(true);
        const QString today = QString::number(DateKey::today());
        m_fromEdit->setText(today);
        m_toEdit->setText(today);
        keywordEdit()->clear();
        m_fromEdit->setEnabled(true);
        m_toEdit->setEnabled(true);
        keywordEdit()->setEnabled(false);
        return;
    }
    if (mode == int(Mode::Category))
        setEnterSearches(true);
    keywordEdit()->setEnabled(true);
    m_fromEdit->setText(QStringLiteral("0"));
    m_toEdit->setText(QStringLiteral("0"));
    keywordEdit()->setFocus();
    m_fromEdit->setEnabled(false);
    m_toEdit->setEnabled(false);
}

void CZS::search()
{
    const QString category = searchType();
    switch (Mode(m_modes->checkedId())) {
    case Mode::Category:
        if (keyword().isEmpty())
            listArticles(ArticleQuery::ofType(table(), category));
        else
            listArticles(ArticleQuery::ofTypeWithTitle(table(), category, keyword()));
        break;
    case Mode::FullText:
        listArticles(ArticleQuery::withTitle(table(), keyword()));
        break;
    case Mode::Dates: {
        // Any real day from 1900 to 2099 is a bound; other text is named instead of searched.
        const int from = DateKey::parse(m_fromEdit->text());
        const int to = DateKey::parse(m_toEdit->text());
        if (from < EarliestDate || to < EarliestDate || from > LatestDate || to > LatestDate) {
            message(HealthTr::tr("日期要写成8位数字的年月日，在19000101到20991231之间，例如20260101。"));
            return;
        }
        listArticles(ArticleQuery::ofTypeEnteredBetween(table(), category, from, to));
        break;
    }
    case Mode::None:
        listArticles(ArticleQuery::ofType(table(), category));
        break;
    }
}

bool CZS::checkFields()
{
    return FieldChecks::require(this, title(), HealthTr::tr("标题不能为空")) &&
           FieldChecks::fits(this, title(), 30, HealthTr::tr("标题太长,不能超过15个字")) &&
           FieldChecks::require(this, text(), HealthTr::tr("内容不能为空")) &&
           FieldChecks::require(this, editType(), HealthTr::tr("类型不能为空"));
}

void CZS::writeArticle(Recordset& record, bool adding)
{
    auto& article = static_cast<Cbingli&>(record);
    article.m_leixing = editType();
    article.m_title = title();
    article.m_connect = text();
    // The entry date is set once, when the article is added.
    if (adding)
        article.m_time = DateKey::today();
}

void CZS::beginAdding()
{
    ArticlePage::beginAdding();
    setButtonsEnabled(AddButton, false);
}

void CZS::beginChanging()
{
    ArticlePage::beginChanging();
    setButtonsEnabled(AddButton, false);
}

void CZS::showMarked(bool clicked)
{
    ArticlePage::showMarked(clicked);
    if (clicked && markedId() > 0) {
        keywordEdit()->setEnabled(false);
        setButtonsEnabled(AddButton, true);
    }
}

void CZS::refresh()
{
    search();
}

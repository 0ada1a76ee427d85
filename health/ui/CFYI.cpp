#include "health/ui/CFYI.h"
#include "health/HealthTr.h"

#include "data/tables/CFNRONG.h"
#include "data/tables/Categories.h"
#include "data/ui/FieldChecks.h"
#include "health/ui/ImmunisationScheduleDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

RecordPage::Settings immunisationSettings()
{
    RecordPage::Settings s;
    s.columns.table = QStringLiteral("cfnrong");
    s.titleHeading = HealthTr::tr("     标题");
    s.categoriesNewestFirst = true;
    s.nothingFoundMessage = HealthTr::tr("还没有记录");
    s.noUserMessage = HealthTr::tr("没有选择用户");
    s.showTodayWithRecord = false;
    s.searchAfterChange = false;
    s.copyEditChoicesBack = false;
    s.changingDisablesModify = false;
    s.categoryLabel = HealthTr::tr("类型");
    s.titleLabel = HealthTr::tr("标题");
    s.userGroupTitle = HealthTr::tr("用户操作");
    s.childLabel = HealthTr::tr("用户姓名");
    s.dateLabel = HealthTr::tr("日期");
    return s;
}

} // namespace

CFYI::CFYI(QWidget* parent)
    : RecordPage(immunisationSettings(), parent), m_descriptionEdit(new QPlainTextEdit(this)),
      m_newCategoryEdit(new QLineEdit(this)), m_addCategoryButton(new QPushButton(HealthTr::tr("添加"), this))
{
    setObjectName(QStringLiteral("immunisationPage"));
    m_descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    m_descriptionEdit->setTabChangesFocus(true);
    addContent(HealthTr::tr("描述"), m_descriptionEdit);
    setContentEnabled(false);

    // "类型添加" unlocks the box for a new category and its button; they stay unlocked.
    auto* unlock = new QRadioButton(HealthTr::tr("类型添加"), this);
    unlock->setObjectName(QStringLiteral("addCategoryRadio"));
    unlock->setAutoExclusive(false);
    m_newCategoryEdit->setObjectName(QStringLiteral("newCategoryEdit"));
    m_newCategoryEdit->setAccessibleName(HealthTr::tr("新类型"));
    m_newCategoryEdit->setEnabled(false);
    m_addCategoryButton->setObjectName(QStringLiteral("addCategoryButton"));
    m_addCategoryButton->setEnabled(false);
    auto* row = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(unlock);
    rowLayout->addWidget(m_newCategoryEdit, 1);
    rowLayout->addWidget(m_addCategoryButton);
    addUserField(QString(), row, false);
    connect(unlock, &QRadioButton::clicked, this, [this] {
        m_newCategoryEdit->setEnabled(true);
        m_addCategoryButton->setEnabled(true);
    });
    connect(m_addCategoryButton, &QPushButton::clicked, this, &CFYI::addCategory);

    auto* schedule = new QPushButton(HealthTr::tr("防疫信息"), this);
    schedule->setObjectName(QStringLiteral("scheduleButton"));
    addSearchButton(schedule);
    connect(schedule, &QPushButton::clicked, this, &CFYI::showSchedule);
}

std::unique_ptr<Recordset> CFYI::createRecords() const
{
    return std::make_unique<CFNRONG>();
}

std::unique_ptr<CategoryRecordset> CFYI::createCategories() const
{
    return std::make_unique<CFleixing>();
}

bool CFYI::checkFields()
{
    const QString description = m_descriptionEdit->toPlainText();
    return require(title(), HealthTr::tr("标题不能为空")) &&
           titleFits(title(), 40, HealthTr::tr("标题太长,不要超过20个字")) &&
           require(description, HealthTr::tr("内容不能为空")) &&
           FieldChecks::fits(this, description, 2000, HealthTr::tr("内容太长,不要超过1000个字")) &&
           childExists(child(), HealthTr::tr("没有该用户")) && require(editCategory(), HealthTr::tr("不能为空"));
}

QString CFYI::unknownCategoryMessage() const
{
    return HealthTr::tr("没有该类型");
}

void CFYI::writeRecord(Recordset& record, int dateKey)
{
    auto& r = static_cast<CFNRONG&>(record);
    r.m_username = child();
    r.m_title = title();
    r.m_nrong = m_descriptionEdit->toPlainText();
    r.m_leixing = editCategory();
    r.m_riqi = dateKey;
}

void CFYI::readRecord(const Recordset& record)
{
    m_descriptionEdit->setPlainText(record.fieldValue(QStringLiteral("nrong")).toString());
}

void CFYI::clearContent()
{
    m_descriptionEdit->clear();
}

void CFYI::setContentEnabled(bool enabled)
{
    m_descriptionEdit->setEnabled(true);
    m_descriptionEdit->setReadOnly(!enabled);
}

void CFYI::showMarked(bool clicked)
{
    RecordPage::showMarked(clicked);
    // A record shown is read, not edited (the list is locked while one is edited).
    m_descriptionEdit->setReadOnly(true);
}

void CFYI::addCategory()
{
    const QString name = m_newCategoryEdit->text().trimmed();
    if (name.isEmpty()) {
        message(HealthTr::tr("不能为空"));
        return;
    }
    CFleixing categories;
    Result r = categories.openNamed(name);
    if (r && !categories.isEOF()) {
        message(HealthTr::tr("已经有该类型了"));
        return;
    }
    if (r) {
        categories.addNew();
        categories.m_name = name;
        r = categories.update();
    }
    if (!r) {
        message(r.error());
        return;
    }
    message(HealthTr::tr("添加成功"));
    m_newCategoryEdit->clear();
    appendCategory(name);
}

void CFYI::showSchedule()
{
    ImmunisationScheduleDialog schedule(this);
    schedule.exec();
}

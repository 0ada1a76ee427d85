#include "health/ui/CBL.h"
#include "health/HealthTr.h"

#include "data/tables/CBNRONG.h"
#include "data/tables/Categories.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

RecordPage::Settings medicalRecordSettings()
{
    RecordPage::Settings s;
    s.columns.table = QStringLiteral("bnrong");
    s.titleHeading = HealthTr::tr("      标题");
    s.noUserMessage = HealthTr::tr("请选择用户名");
    return s;
}

QPlainTextEdit* contentBox(const QString& name, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setTabChangesFocus(true);
    return box;
}

} // namespace

CBL::CBL(QWidget* parent)
    : RecordPage(medicalRecordSettings(), parent), m_symptomsEdit(contentBox(QStringLiteral("symptomsEdit"), this)),
      m_diagnosisEdit(contentBox(QStringLiteral("diagnosisEdit"), this)),
      m_prescriptionEdit(contentBox(QStringLiteral("prescriptionEdit"), this)), m_operatorEdit(new QLineEdit(this))
{
    setObjectName(QStringLiteral("medicalRecordsPage"));
    m_operatorEdit->setObjectName(QStringLiteral("operatorEdit"));
    addContent(HealthTr::tr("症 状 描 述"), m_symptomsEdit);
    addContent(HealthTr::tr("医 生 诊 断"), m_diagnosisEdit);
    addContent(HealthTr::tr("处  方"), m_prescriptionEdit);
    addUserField(HealthTr::tr("操   作:"), m_operatorEdit);
    setContentEnabled(false);
    m_operatorEdit->setEnabled(false);
}

void CBL::display()
{
    if (userTableEmpty()) {
        // Without any child there is nothing to list: say what to do first.
        message(HealthTr::tr("当前还没有该用户，请添加"));
        childCombo()->setEnabled(true);
        childCombo()->setFocus();
        showRecordsOf(QString(), QString());
        return;
    }
    if (searchUser().isEmpty()) {
        message(HealthTr::tr("请选择用户名"));
        searchUserCombo()->setEnabled(true);
        searchUserCombo()->setCurrentIndex(searchUserCombo()->count() > 0 ? 0 : -1);
        return;
    }
    showRecordsOf(searchUser(), searchCategory());
}

std::unique_ptr<Recordset> CBL::createRecords() const
{
    return std::make_unique<CBNRONG>();
}

std::unique_ptr<CategoryRecordset> CBL::createCategories() const
{
    return std::make_unique<CBinglileixing>();
}

bool CBL::checkFields()
{
    return require(editCategory(), HealthTr::tr("类型不能为空")) && require(child(), HealthTr::tr("用户不能为空")) &&
           require(title(), HealthTr::tr("标题不能为空")) &&
           titleFits(title(), 40, HealthTr::tr("标题太长,不能超过20个字")) &&
           childExists(child(), HealthTr::tr("请检查用户名是否存在"));
}

QString CBL::unknownCategoryMessage() const
{
    return editMode() == EditMode::Adding ? HealthTr::tr("没有该类型,请正确操作") : HealthTr::tr("没有该类型");
}

void CBL::writeRecord(Recordset& record, int dateKey)
{
    auto& r = static_cast<CBNRONG&>(record);
    r.m_leixing = editCategory();
    r.m_title = title();
    r.m_zhengzhuang = m_symptomsEdit->toPlainText();
    r.m_zhenduan = m_diagnosisEdit->toPlainText();
    r.m_chufang = m_prescriptionEdit->toPlainText();
    r.m_riqi = dateKey;
    r.m_zaozuo = m_operatorEdit->text();
    r.m_username = child();
}

void CBL::readRecord(const Recordset& record)
{
    m_diagnosisEdit->setPlainText(record.fieldValue(QStringLiteral("zhenduan")).toString());
    m_prescriptionEdit->setPlainText(record.fieldValue(QStringLiteral("chufang")).toString());
    m_symptomsEdit->setPlainText(record.fieldValue(QStringLiteral("zhengzhuang")).toString());
    m_operatorEdit->setText(record.fieldValue(QStringLiteral("zaozuo")).toString());
}

void CBL::clearContent()
{
    m_symptomsEdit->clear();
    m_diagnosisEdit->clear();
    m_prescriptionEdit->clear();
}

void CBL::setContentEnabled(bool enabled)
{
    m_symptomsEdit->setEnabled(enabled);
    m_diagnosisEdit->setEnabled(enabled);
    m_prescriptionEdit->setEnabled(enabled);
}

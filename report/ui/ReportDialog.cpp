#include "report/ui/ReportDialog.h"

#include "common/Clock.h"
#include "common/ui/DialogService.h"
#include "report/ReportTr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QDateEdit* dateEdit(const QDate& date, const QString& name, QWidget* parent)
{
    auto* edit = named(new QDateEdit(date, parent), name);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    edit->setEnabled(false);
    return edit;
}

} // namespace

ReportDialog::ReportDialog(const QStringList& children, const QString& child, Output output, QWidget* parent)
    : QDialog(parent), m_output(output)
{
    setObjectName(QStringLiteral("reportDialog"));
    setWindowTitle(ReportTr::tr("健康报告"));

    m_childCombo = named(new QComboBox(this), QStringLiteral("childCombo"));
    m_childCombo->addItems(children);
    m_childCombo->setCurrentIndex(children.contains(child) ? int(children.indexOf(child)) : 0);
    m_childCombo->setAccessibleName(ReportTr::tr("孩子"));

    auto* period = new QGroupBox(ReportTr::tr("期间"), this);
    m_allRadio = named(new QRadioButton(ReportTr::tr("全部记录"), period), QStringLiteral("allRecordsRadio"));
    m_periodRadio = named(new QRadioButton(ReportTr::tr("从"), period), QStringLiteral("periodRadio"));
    m_allRadio->setChecked(true);
    const QDate today = Clock::current().today();
    m_fromEdit = dateEdit(today.addYears(-1), QStringLiteral("fromEdit"), period);
    m_toEdit = dateEdit(today, QStringLiteral("toEdit"), period);
    m_fromEdit->setAccessibleName(ReportTr::tr("起始日期"));
    m_toEdit->setAccessibleName(ReportTr::tr("结束日期"));
    auto* range = new QHBoxLayout;
    range->addWidget(m_periodRadio);
    range->addWidget(m_fromEdit);
    range->addWidget(new QLabel(ReportTr::tr("到"), period));
    range->addWidget(m_toEdit);
    range->addStretch();
    auto* periodLayout = new QVBoxLayout(period);
    periodLayout->addWidget(m_allRadio);
    periodLayout->addLayout(range);
    connect(m_periodRadio, &QRadioButton::toggled, m_fromEdit, &QWidget::setEnabled);
    connect(m_periodRadio, &QRadioButton::toggled, m_toEdit, &QWidget::setEnabled);

    auto* contents = new QGroupBox(ReportTr::tr("内容"), this);
    auto* contentsLayout = new QVBoxLayout(contents);
    const QList<std::tuple<QString, QString, ReportSection>> sections = {
        {ReportTr::tr("概况（最近的身高、体重和评估）"), QStringLiteral("summaryCheck"), ReportSection::Summary},
        {ReportTr::tr("生长曲线"), QStringLiteral("chartsCheck"), ReportSection::Charts},
        {ReportTr::tr("测量记录"), QStringLiteral("measurementsCheck"), ReportSection::Measurements},
        {ReportTr::tr("预防接种记录"), QStringLiteral("immunisationsCheck"), ReportSection::Immunisations},
        {ReportTr::tr("病历记录"), QStringLiteral("medicalRecordsCheck"), ReportSection::MedicalRecords},
    };
    for (const auto& [text, name, section] : sections) {
        auto* check = named(new QCheckBox(text, contents), name);
        check->setChecked(true);
        contentsLayout->addWidget(check);
        m_sections.append({check, section});
    }

    auto* buttons = new QDialogButtonBox(this);
    auto* print =
        named(buttons->addButton(ReportTr::tr("打印…"), QDialogButtonBox::AcceptRole), QStringLiteral("printButton"));
    auto* pdf =
        named(buttons->addButton(ReportTr::tr("导出PDF…"), QDialogButtonBox::AcceptRole), QStringLiteral("pdfButton"));
    auto* cancel =
        named(buttons->addButton(ReportTr::tr("取消"), QDialogButtonBox::RejectRole), QStringLiteral("cancelButton"));
    (output == Output::Print ? print : pdf)->setDefault(true);
    connect(print, &QPushButton::clicked, this, [this] { finish(Output::Print); });
    connect(pdf, &QPushButton::clicked, this, [this] { finish(Output::Pdf); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    auto* childLabel = new QLabel(ReportTr::tr("孩子："), this);
    childLabel->setBuddy(m_childCombo);
    form->addRow(childLabel, m_childCombo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(period);
    layout->addWidget(contents);
    layout->addWidget(buttons);
}

ReportRequest ReportDialog::request() const
{
    ReportRequest request;
    request.child = m_childCombo->currentText();
    if (m_periodRadio->isChecked()) {
        request.from = m_fromEdit->date();
        request.to = m_toEdit->date();
    }
    request.sections = {};
    for (const auto& [check, section] : m_sections) {
        if (check->isChecked())
            request.sections |= section;
    }
    request.reportDate = Clock::current().today();
    return request;
}

void ReportDialog::finish(Output output)
{
    const ReportRequest chosen = request();
    if (!chosen.sections) {
        Dialogs::message(this, ReportTr::tr("请至少选择一项要放进报告的内容。"));
        return;
    }
    if (chosen.from.isValid() && chosen.from > chosen.to) {
        Dialogs::message(this, ReportTr::tr("起始日期晚于结束日期。请重新选择期间。"));
        return;
    }
    m_output = output;
    accept();
}

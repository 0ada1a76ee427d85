#include "health/ui/MeasurementSearchDialog.h"
#include "health/HealthTr.h"

#include "common/ui/Accessibility.h"

#include "data/Children.h"
#include "health/AgeLabels.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

MeasurementSearchDialog::MeasurementSearchDialog(QWidget* parent)
    : QDialog(parent), m_userCombo(new QComboBox(this)), m_ageCombo(new QComboBox(this)),
      m_dateRadio(new QRadioButton(HealthTr::tr("日期"), this)), m_fromEdit(new QLineEdit(this)),
      m_toEdit(new QLineEdit(this))
{
    setWindowTitle(HealthTr::tr("查找"));
    setObjectName(QStringLiteral("measurementSearchDialog"));
    m_userCombo->setObjectName(QStringLiteral("searchUserCombo"));
    m_userCombo->setEditable(true);
    m_userCombo->addItems(Children::newestFirst().valueOr({}));
    m_userCombo->setCurrentIndex(m_userCombo->count() > 0 ? 0 : -1);
    m_ageCombo->setObjectName(QStringLiteral("searchAgeCombo"));
    m_ageCombo->setEditable(true);
    m_ageCombo->addItems(AgeLabels::all());
    // Empty at first: a search for a child alone lists all of the child's records.
    m_ageCombo->setCurrentIndex(-1);
    m_dateRadio->setObjectName(QStringLiteral("byDateRadio"));
    // Alone in its group, the radio button can be switched off again.
    m_dateRadio->setAutoExclusive(false);
    m_fromEdit->setObjectName(QStringLiteral("dateFromEdit"));
    m_toEdit->setObjectName(QStringLiteral("dateToEdit"));
    m_fromEdit->setAccessibleName(HealthTr::tr("日期 从"));
    m_toEdit->setAccessibleName(HealthTr::tr("日期 到"));
    m_fromEdit->setPlaceholderText(QStringLiteral("20260101"));
    m_toEdit->setPlaceholderText(QStringLiteral("20261231"));

    auto* group = new QGroupBox(HealthTr::tr("搜索条件"), this);
    auto* form = new QFormLayout;
    form->addRow(HealthTr::tr("用户名:"), m_userCombo);
    form->addRow(HealthTr::tr("年龄:"), m_ageCombo);
    auto* dates = new QHBoxLayout;
    dates->addWidget(m_dateRadio);
    dates->addWidget(m_fromEdit);
    dates->addWidget(new QLabel(HealthTr::tr("到"), this));
    dates->addWidget(m_toEdit);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(form);
    groupLayout->addLayout(dates);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(HealthTr::tr("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    Accessibility::nameFromLabels(this);
}

QString MeasurementSearchDialog::user() const
{
    return m_userCombo->currentText();
}

QString MeasurementSearchDialog::age() const
{
    return m_ageCombo->currentText();
}

QString MeasurementSearchDialog::dateFrom() const
{
    return m_fromEdit->text();
}

QString MeasurementSearchDialog::dateTo() const
{
    return m_toEdit->text();
}

bool MeasurementSearchDialog::byDate() const
{
    return m_dateRadio->isChecked();
}

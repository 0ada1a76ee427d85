#include "health/ui/GrowthComparisonDialog.h"
#include "health/HealthTr.h"

#include "common/ui/Accessibility.h"

#include "common/ui/DialogService.h"
#include "data/Children.h"
#include "data/tables/CPPER.h"
#include "health/GrowthAssessment.h"
#include "health/ui/CPicturScrollView.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

GrowthComparisonDialog::GrowthComparisonDialog(QWidget* parent)
    : QDialog(parent), m_nameCombo(new QComboBox(this)), m_ageCombo(new QComboBox(this)),
      m_analyseButton(new QPushButton(HealthTr::tr("分析"), this)), m_chart(new CPicturScrollView(this))
{
    setObjectName(QStringLiteral("growthComparisonDialog"));
    setWindowTitle(HealthTr::tr("对比分析"));
    m_nameCombo->setObjectName(QStringLiteral("nameCombo"));
    m_ageCombo->setObjectName(QStringLiteral("ageCombo"));
    m_analyseButton->setObjectName(QStringLiteral("analyseButton"));

    auto* nameLabel = new QLabel(HealthTr::tr("姓名"), this);
    nameLabel->setBuddy(m_nameCombo);
    auto* ageLabel = new QLabel(HealthTr::tr(" 年龄"), this);
    ageLabel->setBuddy(m_ageCombo);
    auto* legend = new QLabel(HealthTr::tr("说明：红线是当前值，蓝线代表最大值，黄线代表最小值"), this);
    legend->setObjectName(QStringLiteral("legendLabel"));

    // A row of controls above the chart, which fills the rest of the window.
    nameLabel->setGeometry(10, 14, 34, 24);
    m_nameCombo->setGeometry(46, 12, 140, 26);
    ageLabel->setGeometry(200, 14, 40, 24);
    m_ageCombo->setGeometry(242, 12, 110, 26);
    legend->setGeometry(366, 14, 360, 24);
    m_analyseButton->setGeometry(640, 12, 70, 26);
    m_analyseButton->hide();

    m_nameCombo->addItems(Children::newestFirst().valueOr({}));
    m_nameCombo->setCurrentIndex(-1);
    connect(m_nameCombo, &QComboBox::currentIndexChanged, this, &GrowthComparisonDialog::chooseName);
    connect(m_ageCombo, &QComboBox::currentIndexChanged, this, &GrowthComparisonDialog::chooseAge);
    connect(m_analyseButton, &QPushButton::clicked, this, &GrowthComparisonDialog::assess);
    // Larger on a larger screen, where the chart grows with the dialog; it may be maximised too.
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    QSize size(760, 560);
    if (const QScreen* shown = screen())
        size = size.expandedTo(shown->availableGeometry().size() * 0.75);
    resize(size);
    Accessibility::nameFromLabels(this);
}

void GrowthComparisonDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_chart->setGeometry(10, 50, width() - 30, height() - 100);
}

void GrowthComparisonDialog::chooseName(int index)
{
    m_analyseButton->setEnabled(true);
    m_ageCombo->blockSignals(true);
    m_ageCombo->clear();
    if (index >= 0) {
        CPPER records;
        records.setSort(QStringLiteral("[编号] desc"));
        const Result r = records.openOfChild(m_nameCombo->itemText(index));
        if (!r)
            DialogService::current().message(this, r.error());
        for (; !records.isEOF(); records.moveNext())
            m_ageCombo->addItem(records.m_age);
    }
    m_ageCombo->setCurrentIndex(-1);
    m_ageCombo->blockSignals(false);
}

void GrowthComparisonDialog::chooseAge(int index)
{
    if (index < 0)
        return;
    m_chosenAge = m_ageCombo->itemText(index);
    const AgeUnit unit = GrowthAssessment::unitOf(m_chosenAge);
    if (unit != AgeUnit::None)
        m_unit = int(unit);
    assess();
}

void GrowthComparisonDialog::assess()
{
    const QString name = m_nameCombo->currentText();
    if (name.isEmpty()) {
        DialogService::current().message(this, HealthTr::tr("请选择用户"));
        return;
    }
    if (Result r = GrowthAssessment::assessChild(m_chart->data(), name, AgeUnit(m_unit), m_chosenAge); !r)
        DialogService::current().message(this, r.error());
    m_chart->update();
}

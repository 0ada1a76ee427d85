#include "health/ui/ImmunisationScheduleDialog.h"
#include "health/HealthTr.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Age, then the dose of each vaccine given at that age; an empty text is no dose.
const char* const Schedule[14][8] = {
    {"出生时", "初种", "第一针", "", "", "", "", ""},
    {"1足月", "", "第二针", "", "", "", "", ""},
    {"2足月", "", "", "初免第一针", "", "", "", ""},
    {"3足月", "OT复查", "", "初免第二此", "初免第一针", "", "", ""},
    {"4足月", "", "", "初免第三针", "初免第二针", "", "", ""},
    {"5足月", "", "", "", "初免第三针", "", "", ""},
    {"6足月", "", "第三针", "", "", "", "", ""},
    {"8足月", "", "", "", "", "初免", "", ""},
    {"1岁", "", "", "", "", "", "初免2针", ""},
    {"1.5~2岁", "", "", "加强", "加强", "", "加强", ""},
    {"3~4岁", "", "", "加强", "", "加强", "", "初免"},
    {"5~7岁", "", "", "", "加强", "", "加强", "加强"},
    {"10岁", "", "", "", "", "", "", "加强"},
    {"15岁", "", "", "", "加强", "", "", ""},
};

} // namespace

ImmunisationScheduleDialog::ImmunisationScheduleDialog(QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(14, 8, this))
{
    setWindowTitle(HealthTr::tr("婴幼儿计划免疫表"));
    setObjectName(QStringLiteral("immunisationScheduleDialog"));
    m_table->setObjectName(QStringLiteral("scheduleTable"));
    m_table->setAccessibleName(HealthTr::tr("婴幼儿计划免疫表"));
    m_table->setHorizontalHeaderLabels({HealthTr::tr("年龄"), HealthTr::tr("卡介苗"), HealthTr::tr("乙肝疫苗"),
                                        HealthTr::tr("脊灰疫苗"), HealthTr::tr("百白破"), HealthTr::tr("麻   疹"),
                                        HealthTr::tr("乙脑疫苗"), HealthTr::tr("流脑疫苗")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int row = 0; row < 14; ++row) {
        for (int column = 0; column < 8; ++column) {
            auto* item = new QTableWidgetItem(QString::fromUtf8(Schedule[row][column]));
            item->setTextAlignment(Qt::AlignCenter);
            m_table->setItem(row, column, item);
        }
    }
    m_table->horizontalHeader()->setDefaultSectionSize(100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    resize(840, 520);
}

#include "health/ui/CJIBEN.h"
#include "health/HealthTr.h"

#include "common/Clock.h"
#include "common/ui/CSkinDlg.h"
#include "common/ui/DialogService.h"
#include "common/ui/HelpService.h"
#include "data/Children.h"
#include "data/Records.h"
#include "data/tables/CBUSER.h"
#include "data/tables/CPPER.h"
#include "data/tables/Skins.h"
#include "data/ui/PageButton.h"
#include "data/ui/TextRowsModel.h"
#include "health/AgeLabels.h"
#include "health/Measurements.h"
#include "health/ui/GrowthComparisonDialog.h"
#include "health/ui/MeasurementSearchDialog.h"
#include "report/ui/ReportActions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString BloodPressureTemplate = QStringLiteral("收缩压=?舒张压=?");

template <typename Widget> Widget* named(Widget* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

CJIBEN::CJIBEN(QWidget* parent) : EditingPage(parent)
{
    setObjectName(QStringLiteral("basicHealthPage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildChildGroup());
    layout->addWidget(buildFieldGroup());
    layout->addWidget(buildRecordGroup(), 1);

    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this, this, &CJIBEN::showHelp);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    setEditing(false);
    setButtonsEnabled(DeleteButton | ModifyButton, false);
}

QWidget* CJIBEN::buildChildGroup()
{
    auto* group = new QGroupBox(HealthTr::tr("用户操作"), this);
    m_childNameEdit = named(new QLineEdit(group), QStringLiteral("childNameEdit"));
    auto* label = new QLabel(HealthTr::tr("儿童姓名:"), group);
    label->setBuddy(m_childNameEdit);
    m_childNameEdit->setAccessibleName(HealthTr::tr("儿童姓名"));
    auto* addChild = makePageButton(HealthTr::tr("添加"), QStringLiteral("addChildButton"), group);
    auto* deleteChild = makePageButton(HealthTr::tr("删除"), QStringLiteral("deleteChildButton"), group);
    auto* skin = makePageButton(HealthTr::tr("换皮肤"), QStringLiteral("changeSkinButton"), group);
    auto* help = makePageButton(HealthTr::tr("帮助F1"), QStringLiteral("helpButton"), group);
    auto* picture = new QLabel(group);
    picture->setPixmap(QPixmap(QStringLiteral(":/health/health-64.png"))
                           .scaled(36, 36, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    auto* row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(m_childNameEdit, 1);
    row->addWidget(addChild);
    row->addWidget(deleteChild);
    row->addSpacing(24);
    row->addWidget(skin);
    row->addWidget(help);
    row->addWidget(picture);
    connect(addChild, &QPushButton::clicked, this, &CJIBEN::addChild);
    connect(deleteChild, &QPushButton::clicked, this, &CJIBEN::deleteChild);
    connect(skin, &QPushButton::clicked, this, &CJIBEN::changeSkin);
    connect(help, &QPushButton::clicked, this, &CJIBEN::showHelp);
    return group;
}

QWidget* CJIBEN::buildFieldGroup()
{
    auto* group = new QGroupBox(HealthTr::tr("个人基本信息:"), this);
    m_numberEdit = named(new QLineEdit(group), QStringLiteral("recordNumberEdit"));
    m_userCombo = named(new QComboBox(group), QStringLiteral("userCombo"));
    m_sexCombo = named(new QComboBox(group), QStringLiteral("sexCombo"));
    m_sexCombo->setEditable(true);
    m_sexCombo->addItems({HealthTr::tr("男"), HealthTr::tr("女")});
    m_ageCombo = named(new QComboBox(group), QStringLiteral("ageCombo"));
    m_ageCombo->setEditable(true);
    m_ageCombo->addItems(AgeLabels::all());
    m_ageCombo->setMaxVisibleItems(16);
    m_dateEdit = named(new QLineEdit(group), QStringLiteral("dateEdit"));
    m_dateEdit->setReadOnly(true);
    m_heightEdit = named(new QLineEdit(group), QStringLiteral("heightEdit"));
    m_weightEdit = named(new QLineEdit(group), QStringLiteral("weightEdit"));
    m_dietEdit = named(new QLineEdit(group), QStringLiteral("dietEdit"));
    m_heartRateEdit = named(new QLineEdit(QStringLiteral("0"), group), QStringLiteral("heartRateEdit"));
    m_bloodPressureEdit = named(new QLineEdit(group), QStringLiteral("bloodPressureEdit"));
    m_sleepEdit = named(new QLineEdit(group), QStringLiteral("sleepEdit"));
    m_operatorEdit = named(new QLineEdit(group), QStringLiteral("operatorEdit"));

    auto* grid = new QGridLayout(group);
    auto place = [&](int row, int column, const QString& text, QWidget* field, const QString& unit = {}) {
        auto* label = new QLabel(text, group);
        label->setBuddy(field);
        field->setAccessibleName(QString(text).remove(QLatin1Char(' ')).remove(QLatin1Char(':')));
        grid->addWidget(label, row, column * 3);
        if (unit.isEmpty()) {
            grid->addWidget(field, row, column * 3 + 1);
        } else {
            auto* withUnit = new QHBoxLayout;
            withUnit->addWidget(field, 1);
            withUnit->addWidget(new QLabel(unit, group));
            grid->addLayout(withUnit, row, column * 3 + 1);
        }
    };
    place(0, 0, HealthTr::tr("记录号:"), m_numberEdit);
    place(0, 1, HealthTr::tr("用户名:"), m_userCombo);
    // The report of the child shown, beside the child's name.
    auto* report = named(new QPushButton(HealthTr::tr("报告"), group), QStringLiteral("reportButton"));
    grid->addWidget(report, 0, 5);
    connect(report, &QPushButton::clicked, this,
            [this] { ReportActions::run(this, m_userCombo->currentText(), false); });
    place(0, 2, HealthTr::tr("性别:"), m_sexCombo);
    place(0, 3, HealthTr::tr("年龄:"), m_ageCombo);
    place(1, 0, HealthTr::tr("身  高:"), m_heightEdit, HealthTr::tr("厘米"));
    place(1, 1, HealthTr::tr("体重:"), m_weightEdit, HealthTr::tr("公斤"));
    place(1, 2, HealthTr::tr("心  率:"), m_heartRateEdit);
    place(1, 3, HealthTr::tr("日  期:"), m_dateEdit);
    place(2, 0, HealthTr::tr("血  压:"), m_bloodPressureEdit);
    place(2, 1, HealthTr::tr("饮食:"), m_dietEdit);
    place(2, 2, HealthTr::tr("睡眠状况:"), m_sleepEdit);
    place(2, 3, HealthTr::tr("操作员:"), m_operatorEdit);
    for (int column = 0; column < 4; ++column) {
        grid->setColumnStretch(column * 3 + 1, 1);
        grid->setColumnMinimumWidth(column * 3 + 2, 14);
    }

    connect(m_userCombo, &QComboBox::activated, this, &CJIBEN::display);
    return group;
}

QWidget* CJIBEN::buildRecordGroup()
{
    auto* group = new QGroupBox(HealthTr::tr("记录操作"), this);
    m_model = new TextRowsModel(this);
    QTableView* list = makeRecordList(group, m_model, {});
    m_list = list;
    list->setObjectName(QStringLiteral("measurementList"));
    list->setAccessibleName(HealthTr::tr("测量记录"));
    // Each column as wide as its texts (血压 holds "收缩压=?舒张压=?"); the list scrolls sideways
    // when they do not all fit.
    list->horizontalHeader()->setMinimumSectionSize(56);
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    m_displayButton = makePageButton(HealthTr::tr("显示"), QStringLiteral("displayButton"), group);
    makeEditButtons(group, {HealthTr::tr("添加"), HealthTr::tr("保存"), HealthTr::tr("修改"), HealthTr::tr("删除&D"),
                            HealthTr::tr("撤消")});
    auto* searchButton = makePageButton(HealthTr::tr("查找"), QStringLiteral("searchButton"), group);
    auto* compareButton = makePageButton(HealthTr::tr("对比分析"), QStringLiteral("compareButton"), group);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_displayButton, button(AddButton), button(ModifyButton), button(DeleteButton),
                           button(SaveButton), button(UndoButton), searchButton, compareButton})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    connect(m_displayButton, &QPushButton::clicked, this, &CJIBEN::display);
    connect(searchButton, &QPushButton::clicked, this, &CJIBEN::search);
    connect(compareButton, &QPushButton::clicked, this, &CJIBEN::compare);
    connect(list, &QTableView::doubleClicked, this, [this] { showMarked(true); });
    return group;
}

void CJIBEN::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_initialised) {
        m_initialised = true;
        initialise();
    }
}

void CJIBEN::initialise()
{
    CPPER columns;
    if (Result r = columns.openColumnsOnly(); !r)
        message(r.error());
    m_model->setHeadings(columns.columnNames());
    fitColumns();
    fillUsers();
    m_ageCombo->setCurrentIndex(0);
    m_sexCombo->setCurrentIndex(0);
}

void CJIBEN::fillUsers()
{
    const ResultOf<QStringList> names = Children::newestFirst();
    if (!names)
        message(names.error());
    const QString chosen = m_userCombo->currentText();
    m_userCombo->clear();
    m_userCombo->addItems(names.valueOr({}));
    const int kept = m_userCombo->findText(chosen);
    m_userCombo->setCurrentIndex(kept >= 0 ? kept : (m_userCombo->count() > 0 ? 0 : -1));
}

void CJIBEN::pageActivated()
{
    if (m_initialised)
        fillUsers();
}

bool CJIBEN::checkHeartRate()
{
    if (Measurements::parseHeartRate(m_heartRateEdit->text()))
        return true;
    message(HealthTr::tr("心率必须是0到%1之间的整数，请重新输入。").arg(Measurements::MaxHeartRate));
    m_heartRateEdit->setFocus();
    m_heartRateEdit->selectAll();
    return false;
}

bool CJIBEN::mayLeave()
{
    return editMode() == EditMode::None || checkHeartRate();
}

void CJIBEN::addChild()
{
    const QString name = m_childNameEdit->text().trimmed();
    if (name.isEmpty()) {
        message(HealthTr::tr("请填写用户名"));
        m_childNameEdit->setEnabled(true);
        return;
    }
    const ResultOf<Children::Change> change = Children::add(name);
    if (!change) {
        message(change.error());
        return;
    }
    if (*change == Children::Change::Exists) {
        message(HealthTr::tr("已经有该用户了"));
        return;
    }
    message(HealthTr::tr("添加成功"));
    m_userCombo->addItem(name);
    if (m_userCombo->currentIndex() < 0)
        m_userCombo->setCurrentIndex(0);
    m_childNameEdit->clear();
}

void CJIBEN::deleteChild()
{
    const QString name = m_childNameEdit->text().trimmed();
    if (name.isEmpty()) {
        message(HealthTr::tr("请填写用户名"));
        m_childNameEdit->setEnabled(true);
        return;
    }
    // A name nobody has is told at once, before the question about deleting it.
    const ResultOf<bool> known = Children::exists(name);
    if (!known || !*known) {
        message(known ? HealthTr::tr("没有该用户，请重新输入") : known.error());
        return;
    }
    // Deleting a child deletes every record of the child, so ask first and say so.
    if (!confirm(HealthTr::tr("确定要删除“%1”以及该儿童的全部测量、病历和防疫记录吗？").arg(name)))
        return;
    const ResultOf<Children::Change> change = Children::remove(name);
    if (!change) {
        message(change.error());
        return;
    }
    if (*change == Children::Change::Missing) {
        message(HealthTr::tr("没有该用户，请重新输入"));
        return;
    }
    m_childNameEdit->clear();
    m_model->clear();
    fillUsers();
    // The fields may show a record of the deleted child; they must not stand beside another name.
    if (editMode() == EditMode::None) {
        clearFields();
        setButtonsEnabled(DeleteButton | ModifyButton, false);
    }
}

void CJIBEN::display()
{
    m_model->clear();
    if (m_userCombo->currentText().isEmpty()) {
        message(HealthTr::tr("请选择用户名"));
        m_userCombo->setEnabled(true);
        m_userCombo->setCurrentIndex(m_userCombo->count() > 0 ? 0 : -1);
        return;
    }
    if (m_userCombo->currentIndex() < 0) {
        message(HealthTr::tr("非法操作"));
        return;
    }
    const QString user = m_userCombo->currentText();
    fillList([&](CPPER& records) { return records.openOfChild(user); });
    m_displayButton->setEnabled(true);
}

void CJIBEN::fillList(const std::function<Result(CPPER&)>& open)
{
    m_userCombo->setEnabled(true);
    CPPER records;
    records.setSort(QStringLiteral("[编号] desc"));
    if (Result r = open(records); !r) {
        message(r.error());
        return;
    }
    if (records.isEOF()) {
        m_model->clear();
        message(HealthTr::tr("请添加记录"));
        return;
    }
    QList<QStringList> rows;
    for (; !records.isEOF(); records.moveNext())
        rows.append(Measurements::listRow(records));
    m_model->setRows(std::move(rows));
    fitColumns();
}

void CJIBEN::fitColumns()
{
    m_list->resizeColumnsToContents();
    // A little room on either side of the widest text, so neighbouring columns do not run together.
    const int room = m_list->fontMetrics().averageCharWidth() * 2;
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_list->setColumnWidth(column, m_list->columnWidth(column) + room);
}

void CJIBEN::clearFields()
{
    for (QLineEdit* edit : {m_dateEdit, m_numberEdit, m_sleepEdit, m_dietEdit, m_operatorEdit})
        edit->clear();
    for (QLineEdit* edit : {m_heightEdit, m_weightEdit, m_heartRateEdit})
        edit->setText(QStringLiteral("0"));
    m_bloodPressureEdit->setText(BloodPressureTemplate);
}

void CJIBEN::setEditing(bool editing)
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_numberEdit, m_heightEdit, m_sleepEdit, m_weightEdit, m_ageCombo, m_dateEdit,
                                         m_heartRateEdit, m_bloodPressureEdit, m_dietEdit, m_operatorEdit, m_sexCombo})
        w->setEnabled(editing);
    setButtonsEnabled(SaveButton | UndoButton, editing);
    recordList()->setEnabled(!editing);
    setButtonsEnabled(AddButton | DeleteButton | ModifyButton, !editing);
}

void CJIBEN::beginAdding()
{
    setEditMode(EditMode::Adding);
    if (m_userCombo->currentText().isEmpty()) {
        message(HealthTr::tr("请选择用户"));
        m_userCombo->setEnabled(true);
        m_userCombo->setCurrentIndex(m_userCombo->count() > 0 ? 0 : -1);
        return;
    }
    m_userCombo->setEnabled(true);
    setEditing(true);
    clearFields();
    m_numberEdit->setEnabled(false);
    m_userCombo->setFocus();
    m_displayButton->setEnabled(false);
    m_dateEdit->setText(QString::number(DateKey::today()));
}

void CJIBEN::beginChanging()
{
    if (m_numberEdit->text().isEmpty()) {
        DialogService::current().message(this, HealthTr::tr("请在表格上选择一条记录！"), DialogService::Icon::Critical,
                                         HealthTr::tr("系统提示"));
        return;
    }
    setEditMode(EditMode::Changing);
    setEditing(true);
    m_numberEdit->setEnabled(false);
    m_heightEdit->setFocus();
}

void CJIBEN::save()
{
    const QString user = m_userCombo->currentText();
    const ResultOf<bool> known = Children::exists(user);
    if (!known || !*known) {
        message(known ? HealthTr::tr("请检查用户名是否存在") : known.error());
        return;
    }
    // Measurements that are not numbers are refused by name, rather than stored as nothing.
    const std::optional<double> height = Measurements::parseNumber(m_heightEdit->text());
    const std::optional<double> weight = Measurements::parseNumber(m_weightEdit->text());
    if (!height || !weight) {
        message(!height ? HealthTr::tr("身高必须是数字（厘米），请重新输入。")
                        : HealthTr::tr("体重必须是数字（公斤），请重新输入。"));
        (!height ? m_heightEdit : m_weightEdit)->setFocus();
        return;
    }
    // Values no child has would reach the chart and the list as nonsense.
    const std::pair<Result, QWidget*> ranges[] = {{Measurements::checkAge(m_ageCombo->currentText()), m_ageCombo},
                                                  {Measurements::checkHeight(*height), m_heightEdit},
                                                  {Measurements::checkWeight(*weight), m_weightEdit}};
    for (const auto& [range, field] : ranges) {
        if (!range) {
            message(range.error());
            field->setFocus();
            return;
        }
    }
    if (!checkHeartRate())
        return;

    const auto write = [&](Recordset& records) {
        auto& record = static_cast<CPPER&>(records);
        if (editMode() == EditMode::Adding)
            record.m_username = user;
        record.m_sex = m_sexCombo->currentText();
        record.m_age = m_ageCombo->currentText();
        record.m_height = *height;
        record.m_weight = *weight;
        record.m_diet = m_dietEdit->text();
        record.m_heartRate = *Measurements::parseHeartRate(m_heartRateEdit->text());
        record.m_bloodPressure = m_bloodPressureEdit->text();
        record.m_sleep = m_sleepEdit->text();
        record.m_date = m_dateEdit->text().toInt();
        record.m_operator = m_operatorEdit->text();
    };
    CPPER record;
    if (editMode() == EditMode::Adding) {
        if (Result r = Records::add(record, write); !r) {
            message(r.error());
            return;
        }
    } else if (editMode() == EditMode::Changing) {
        const ResultOf<Records::ChangeOutcome> r =
            Records::change(record, QStringLiteral("编号"), m_numberEdit->text().toInt(), write,
                            HealthTr::tr("这条记录已经不存在了，可能已被删除。"), shownVersion());
        if (!r) {
            message(r.error());
            return;
        }
        if (*r == Records::ChangeOutcome::ChangedMeanwhile) {
            reportChangedMeanwhile(record, write);
            return;
        }
    }
    m_model->clear();
    display();
    setEditMode(EditMode::None);
    setEditing(false);
    button(AddButton)->setFocus();
    setButtonsEnabled(ModifyButton | DeleteButton, false);
}

void CJIBEN::undo()
{
    setEditMode(EditMode::None);
    setEditing(false);
    m_displayButton->setEnabled(true);
    clearFields();
}

Result CJIBEN::deleteRecords(const QList<qint64>& ids)
{
    return Records::deleteByIds(QStringLiteral("personinfo"), QStringLiteral("编号"), ids);
}

void CJIBEN::afterDelete()
{
    display();
}

void CJIBEN::showMarked(bool clicked)
{
    // A click below the rows shows no record, though a row may still be marked.
    const QModelIndex current = recordList()->currentIndex();
    if (!current.isValid() || (clicked && clickedBelowRows())) {
        message(HealthTr::tr("表格上还没有记录"));
        return;
    }
    CPPER record;
    const int number = m_model->row(current.row()).value(0).toInt();
    if (Result r = record.openNumber(number); !r) {
        message(r.error());
        return;
    }
    if (!record.isEOF()) {
        rememberShown(record);
        m_numberEdit->setText(QString::number(record.m_number));
        m_ageCombo->setCurrentText(record.m_age);
        m_sexCombo->setCurrentText(record.m_sex);
        m_bloodPressureEdit->setText(record.m_bloodPressure);
        m_heightEdit->setText(record.fieldValue(QStringLiteral("身高")).toString());
        m_heartRateEdit->setText(QString::number(record.m_heartRate));
        m_dietEdit->setText(record.m_diet);
        m_weightEdit->setText(record.fieldValue(QStringLiteral("体重")).toString());
        m_sleepEdit->setText(record.m_sleep);
        m_operatorEdit->setText(record.m_operator);
        m_dateEdit->setText(QString::number(record.m_date));
        m_userCombo->setCurrentText(record.m_username);
    }
    if (clicked)
        setButtonsEnabled(DeleteButton | ModifyButton, true);
}

void CJIBEN::search()
{
    MeasurementSearchDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString user = dialog.user();
    m_userCombo->setCurrentText(user);
    if (dialog.byDate()) {
        const int from = DateKey::parse(dialog.dateFrom());
        const int to = DateKey::parse(dialog.dateTo());
        if (!from || !to) {
            message(HealthTr::tr("日期要写成8位数字的年月日，例如20260101。请检查查找的起止日期。"));
            return;
        }
        fillList([&](CPPER& records) { return records.openOfChildBetween(user, from, to); });
    } else if (const QString age = dialog.age(); !age.isEmpty()) {
        fillList([&](CPPER& records) { return records.openOfChildAtAge(user, age); });
    } else {
        fillList([&](CPPER& records) { return records.openOfChild(user); });
    }
}

void CJIBEN::compare()
{
    GrowthComparisonDialog dialog(this);
    dialog.exec();
}

void CJIBEN::changeSkin()
{
    CSkinDlg::changeSkin(std::make_unique<CSKINDATA>(), HealthTr::tr("皮肤文件对话框"), this);
}

void CJIBEN::showHelp()
{
    HelpService::show(this);
}

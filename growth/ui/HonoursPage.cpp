#include "growth/ui/HonoursPage.h"
#include "growth/GrowthTr.h"

#include "common/Clock.h"
#include "common/ui/LimitedTextEdit.h"
#include "data/Records.h"
#include "data/tables/CRONGYU.h"
#include "data/ui/PageButton.h"
#include "data/ui/TextRowsModel.h"
#include "growth/GrowthDates.h"
#include "growth/GrowthQuery.h"
#include "growth/ui/DateLists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

HonoursPage::HonoursPage(QWidget* parent)
    : MediaEntryPage(parent, Table::of<CRONGYU>(&GrowthQuery::honourById),
                     QStringLiteral("qthelp://kestrin.help/doc/html/growth-honours.html"))
{
    setObjectName(QStringLiteral("honoursPage"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildSearchSide(), 4);
    layout->addWidget(buildHonourSide(), 7);
    rememberFieldTexts();
}

HonoursPage::~HonoursPage() = default;

QWidget* HonoursPage::buildSearchSide()
{
    auto* side = new QWidget(this);
    auto* group = new QGroupBox(GrowthTr::tr("查找"), side);
    const QStringList years = GrowthDates::yearTexts(Clock::current().today());
    m_searchNameEdit = lineEdit(group, QStringLiteral("searchNameEdit"), GrowthTr::tr("名称"));
    m_searchYearCombo = DateLists::make(group, years, QStringLiteral("searchYearCombo"), GrowthTr::tr("年"), true);
    m_searchMonthCombo =
        DateLists::make(group, GrowthDates::monthTexts(), QStringLiteral("searchMonthCombo"), GrowthTr::tr("月"), true);
    m_searchDayCombo =
        DateLists::make(group, GrowthDates::dayTexts(), QStringLiteral("searchDayCombo"), GrowthTr::tr("日"), true);
    auto* searchButton = makePageButton(GrowthTr::tr("搜索"), QStringLiteral("searchButton"), group);

    auto* grid = new QGridLayout(group);
    grid->addWidget(labelFor(m_searchNameEdit, GrowthTr::tr("名称"), group), 0, 0);
    grid->addWidget(m_searchNameEdit, 0, 1);
    grid->addWidget(new QLabel(GrowthTr::tr("日期"), group), 1, 0);
    grid->addLayout(dateRow(group, m_searchYearCombo, m_searchMonthCombo, m_searchDayCombo), 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(searchButton);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    m_hits = new TextRowsModel(this);
    m_hits->setHeadings({GrowthTr::tr("编号"), GrowthTr::tr("名称")});
    QTableView* list = makeRecordList(side, m_hits, {70, 220});
    list->setAccessibleName(GrowthTr::tr("搜索结果"));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->installEventFilter(this);

    auto* helpButton = makeHelpButton(side, GrowthTr::tr("帮助文档"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(helpButton);

    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
    layout->addWidget(list, 1);
    layout->addLayout(bottom);

    connect(searchButton, &QPushButton::clicked, this, &HonoursPage::search);
    connect(m_searchNameEdit, &QLineEdit::returnPressed, this, &HonoursPage::search);
    return side;
}

QWidget* HonoursPage::buildHonourSide()
{
    auto* side = new QWidget(this);
    auto* group = new QGroupBox(GrowthTr::tr("荣誉"), side);
    const QStringList years = GrowthDates::yearTexts(Clock::current().today());
    m_nameEdit = lineEdit(group, QStringLiteral("nameEdit"), GrowthTr::tr("荣誉名称"), 30);
    m_yearCombo = DateLists::make(group, years, QStringLiteral("yearCombo"), GrowthTr::tr("获奖年份"), false);
    m_monthCombo = DateLists::make(group, GrowthDates::monthTexts(), QStringLiteral("monthCombo"),
                                   GrowthTr::tr("获奖月份"), false);
    m_dayCombo =
        DateLists::make(group, GrowthDates::dayTexts(), QStringLiteral("dayCombo"), GrowthTr::tr("获奖日期"), false);
    m_bodyEdit = lineEdit(group, QStringLiteral("bodyEdit"), GrowthTr::tr("颁奖机构"), 30);
    m_prizeEdit = lineEdit(group, QStringLiteral("prizeEdit"), GrowthTr::tr("奖品内容"), 30);
    m_descriptionEdit = new LimitedTextEdit(5000, group);
    m_descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    m_descriptionEdit->setAccessibleName(GrowthTr::tr("文字描述"));

    auto* grid = new QGridLayout(group);
    grid->addWidget(labelFor(m_nameEdit, GrowthTr::tr("荣誉名称"), group), 0, 0);
    grid->addWidget(m_nameEdit, 0, 1);
    grid->addWidget(new QLabel(GrowthTr::tr("获奖日期"), group), 0, 2);
    grid->addLayout(dateRow(group, m_yearCombo, m_monthCombo, m_dayCombo), 0, 3);
    grid->addWidget(labelFor(m_bodyEdit, GrowthTr::tr("颁奖机构"), group), 1, 0);
    grid->addWidget(m_bodyEdit, 1, 1);
    grid->addWidget(labelFor(m_prizeEdit, GrowthTr::tr("奖品内容"), group), 1, 2);
    grid->addWidget(m_prizeEdit, 1, 3);
    grid->addWidget(labelFor(m_descriptionEdit, GrowthTr::tr("文字描述"), group), 2, 0, Qt::AlignTop);
    grid->addWidget(m_descriptionEdit, 2, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(2, 1);

    grid->addLayout(makeEntryButtons(group, {GrowthTr::tr("保存"), GrowthTr::tr("修改"), GrowthTr::tr("删除"),
                                             GrowthTr::tr("撤消")}),
                    3, 0, 1, 4);

    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group, 2);
    layout->addWidget(makeMediaGroup(MediaGroup::Settings::honours(), side), 3);
    return side;
}

void HonoursPage::search()
{
    const DateCriteria date{DateLists::chosen(m_searchYearCombo), DateLists::chosen(m_searchMonthCombo),
                            DateLists::chosen(m_searchDayCombo)};
    const QString name = m_searchNameEdit->text();
    m_hits->clear();
    if (date.isEmpty() && name.isEmpty()) {
        message(GrowthTr::tr("至少输入一个条件"));
        return;
    }
    CRONGYU honours;
    if (Result r = honours.open(GrowthQuery::honourSearch(date, name)); !r) {
        message(r.error());
        return;
    }
    // The rows come newest first and each goes on top, so the oldest honour ends up first.
    QList<QStringList> rows;
    for (; !honours.isEOF(); honours.moveNext())
        rows.prepend({QString::number(honours.m_id), honours.m_mingcheng});
    honours.close();
    m_hits->setRows(std::move(rows));
    if (m_hits->rowCount() == 0)
        message(GrowthTr::tr("没有记录"));
}

void HonoursPage::showMarked(bool clicked)
{
    // A click loads the hit. The marked row also moves when the list is filled or the focus
    // enters it; that must not replace what is being typed (the keyboard loads in eventFilter).
    if (!clicked)
        return;
    const qint64 id = markedId();
    if (id <= 0) {
        message(GrowthTr::tr("表格上还没有记录"));
        return;
    }
    // A click on the honour already shown keeps what is being typed.
    if (id != loadedId() && mayLeaveShown(id))
        load(id);
}

QStringList HonoursPage::fieldTexts() const
{
    return {m_nameEdit->text(),
            DateLists::chosen(m_yearCombo),
            DateLists::chosen(m_monthCombo),
            DateLists::chosen(m_dayCombo),
            m_bodyEdit->text(),
            m_prizeEdit->text(),
            m_descriptionEdit->toPlainText()};
}

void HonoursPage::rememberFieldTexts()
{
    m_shownTexts = fieldTexts();
}

bool HonoursPage::mayLeaveShown(qint64 next)
{
    if (next == loadedId() || (fieldTexts() == m_shownTexts && !mediaGroup()->hasUnsaved()))
        return true;
    const QString shown =
        loadedId() > 0 ? GrowthTr::tr("荣誉“%1”").arg(m_shownTexts.value(0)) : GrowthTr::tr("正在填写的荣誉");
    if (confirm(GrowthTr::tr("%1的修改还没有保存。要放弃这些修改，显示另一项荣誉吗？").arg(shown)))
        return true;
    // The list goes back to the honour the fields still show.
    QItemSelectionModel* selection = recordList()->selectionModel();
    for (int row = 0; row < m_hits->rowCount(); ++row) {
        if (loadedId() > 0 && m_hits->idAt(row) == loadedId()) {
            selection->setCurrentIndex(m_hits->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return false;
        }
    }
    selection->clearSelection();
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    return false;
}

bool HonoursPage::eventFilter(QObject* watched, QEvent* event)
{
    // Moving onto a hit with the arrow keys loads it, as a click does.
    if (watched == recordList() && event->type() == QEvent::KeyRelease) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            if (const qint64 id = markedId(); id > 0 && id != loadedId() && mayLeaveShown(id))
                load(id);
            break;
        default:
            break;
        }
    }
    return EditingPage::eventFilter(watched, event);
}

void HonoursPage::load(qint64 id)
{
    CRONGYU honour;
    if (Result r = readEntry(honour, id); !r) {
        message(r.error());
        return;
    }
    setModifying(true);
    showLoaded(id, honour);
    setStoredText(m_nameEdit, honour.m_mingcheng);
    setStoredText(m_bodyEdit, honour.m_jigou);
    m_descriptionEdit->setStoredText(honour.m_miaoshu);
    setStoredText(m_prizeEdit, honour.m_connect);
    // The date is chosen by its texts, so a year outside the list is added and shows too.
    const GrowthDates::Parts date = GrowthDates::split(honour.m_riqi);
    DateLists::choose(m_yearCombo, date.year, true);
    DateLists::choose(m_monthCombo, date.month);
    DateLists::choose(m_dayCombo, date.day);
    // With attachments listed, "保存" waits for "修改"; without, it saves into the honour too.
    setButtonsEnabled(SaveButton, mediaGroup()->attachmentNames().isEmpty());
    rememberFieldTexts();
}

bool HonoursPage::checkFields()
{
    const struct
    {
        bool missing;
        QString message;
    } checks[] = {
        {m_nameEdit->text().trimmed().isEmpty(), GrowthTr::tr("请输入荣誉名称，谢谢！")},
        {DateLists::chosen(m_yearCombo).isEmpty(), GrowthTr::tr("请输入获奖的年份，谢谢！")},
        {DateLists::chosen(m_monthCombo).isEmpty(), GrowthTr::tr("请输入获奖的月份，谢谢！")},
        {DateLists::chosen(m_dayCombo).isEmpty(), GrowthTr::tr("请输入获奖的日期，谢谢！")},
        {m_bodyEdit->text().trimmed().isEmpty(), GrowthTr::tr("请输入颁奖机构，谢谢！")},
        {m_prizeEdit->text().trimmed().isEmpty(), GrowthTr::tr("请输入奖品内容，谢谢！")},
        {m_descriptionEdit->toPlainText().trimmed().isEmpty(), GrowthTr::tr("请输入荣誉的文字描述，谢谢！")},
    };
    for (const auto& check : checks) {
        if (check.missing) {
            message(check.message);
            return false;
        }
    }
    return true;
}

void HonoursPage::save()
{
    if (!checkFields())
        return;
    const QString date = GrowthDates::joined(DateLists::chosen(m_yearCombo), DateLists::chosen(m_monthCombo),
                                             DateLists::chosen(m_dayCombo));
    if (isModifying())
        saveIntoLoaded(date);
    else
        addHonour(date);
}

void HonoursPage::addHonour(const QString& date)
{
    CRONGYU honour;
    const Result added = Records::add(honour, [&](Recordset&) { writeHonour(honour, date); });
    if (!added) {
        message(added.error());
        return;
    }
    mediaGroup()->markSaved();
    message(GrowthTr::tr("成功添加资料，谢谢!"));
    undo();
}

void HonoursPage::saveIntoLoaded(const QString& date)
{
    // The honour shown in the fields is the one that was clicked; with no hit chosen there is
    // none to save into.
    if (markedId() <= 0 || loadedId() <= 0) {
        message(GrowthTr::tr("请选择要修改的记录"));
        return;
    }
    CRONGYU honour;
    if (!changeEntry(honour, loadedId(), [&](Recordset&) { writeHonour(honour, date); }))
        return;
    rememberFieldTexts();
    search();
    message(GrowthTr::tr("成功修改资料，谢谢!"));
}

void HonoursPage::writeHonour(CRONGYU& honour, const QString& date) const
{
    honour.m_riqi = date;
    honour.m_mingcheng = m_nameEdit->text();
    honour.m_jigou = m_bodyEdit->text();
    honour.m_connect = m_prizeEdit->text();
    honour.m_miaoshu = m_descriptionEdit->toPlainText();
    honour.m_music = mediaGroup()->attachmentText();
}

QString HonoursPage::noRecordChosenMessage() const
{
    return GrowthTr::tr("表格上还没有记录");
}

void HonoursPage::afterDelete()
{
    m_searchNameEdit->clear();
    clearHonour();
    message(GrowthTr::tr("删除成功"));
    closeDeletedEntry();
    m_hits->clear();
    search();
}

void HonoursPage::undo()
{
    m_searchNameEdit->clear();
    for (QComboBox* list : {m_searchYearCombo, m_searchMonthCombo, m_searchDayCombo})
        DateLists::clear(list);
    mediaGroup()->clearAttachments();
    clearHonour();
    m_hits->clear();
    setButtonsEnabled(SaveButton, true);
    setModifying(false);
    forgetLoaded();
}

void HonoursPage::clearHonour()
{
    m_nameEdit->clear();
    m_descriptionEdit->clear();
    m_bodyEdit->clear();
    m_prizeEdit->clear();
    for (QComboBox* list : {m_yearCombo, m_monthCombo, m_dayCombo})
        DateLists::clear(list);
    rememberFieldTexts();
}

QString HonoursPage::goneMessage() const
{
    return GrowthTr::tr("这项荣誉已经不存在了，可能已被删除。请重新搜索。");
}

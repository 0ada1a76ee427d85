#include "growth/ui/DiaryPage.h"
#include "growth/GrowthTr.h"

#include "common/Clock.h"
#include "common/ui/CSkinDlg.h"
#include "common/ui/LimitedTextEdit.h"
#include "data/PagedQuery.h"
#include "data/Records.h"
#include "data/tables/CCHENGZHANG.h"
#include "data/tables/Skins.h"
#include "data/ui/PageButton.h"
#include "growth/GrowthDates.h"
#include "growth/GrowthQuery.h"
#include "growth/ui/DateLists.h"
#include "growth/ui/DiaryHitsModel.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

DiaryPage::DiaryPage(QWidget* parent)
    : MediaEntryPage(parent, Table::of<CCHENGZHANG>(&GrowthQuery::diaryById),
                     QStringLiteral("qthelp://kestrin.help/doc/html/growth-diary.html"))
{
    setObjectName(QStringLiteral("diaryPage"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildSearchSide(), 4);
    layout->addWidget(buildEntrySide(), 7);
    setButtonsEnabled(DeleteButton | ModifyButton, false);
}

DiaryPage::~DiaryPage() = default;

QWidget* DiaryPage::buildSearchSide()
{
    auto* side = new QWidget(this);
    auto* group = new QGroupBox(GrowthTr::tr("查找"), side);
    const QStringList years = GrowthDates::yearTexts(Clock::current().today());
    m_yearCombo = DateLists::make(group, years, QStringLiteral("yearCombo"), GrowthTr::tr("年"), true);
    m_monthCombo =
        DateLists::make(group, GrowthDates::monthTexts(), QStringLiteral("monthCombo"), GrowthTr::tr("月"), true);
    m_dayCombo = DateLists::make(group, GrowthDates::dayTexts(), QStringLiteral("dayCombo"), GrowthTr::tr("日"), true);
    m_searchTitleEdit = lineEdit(group, QStringLiteral("searchTitleEdit"), GrowthTr::tr("标题"), 20);
    m_searchKeywordEdit = lineEdit(group, QStringLiteral("searchKeywordEdit"), GrowthTr::tr("关键字"), 20);
    auto* searchButton = makePageButton(GrowthTr::tr("搜索"), QStringLiteral("searchButton"), group);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(GrowthTr::tr("日期"), group), 0, 0);
    grid->addLayout(dateRow(group, m_yearCombo, m_monthCombo, m_dayCombo), 0, 1, 1, 2);
    grid->addWidget(labelFor(m_searchTitleEdit, GrowthTr::tr("标题"), group), 1, 0);
    grid->addWidget(m_searchTitleEdit, 1, 1, 1, 2);
    grid->addWidget(labelFor(m_searchKeywordEdit, GrowthTr::tr("关键字"), group), 2, 0);
    grid->addWidget(m_searchKeywordEdit, 2, 1);
    grid->addWidget(searchButton, 2, 2);
    grid->setColumnStretch(1, 1);

    m_hits = new DiaryHitsModel(this);
    QTableView* list = makeRecordList(side, m_hits, {90, 70, 130});
    list->setAccessibleName(GrowthTr::tr("搜索结果"));
    list->setSelectionMode(QAbstractItemView::SingleSelection);

    m_calendar = new QCalendarWidget(side);
    m_calendar->setObjectName(QStringLiteral("monthCalendar"));
    m_calendar->setAccessibleName(GrowthTr::tr("月历"));
    // Month and day names in Chinese, whatever the system's language.
    m_calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setGridVisible(true);
    m_calendar->setSelectedDate(Clock::current().today());
    m_calendar->setMaximumHeight(220);

    auto* skinButton = makePageButton(GrowthTr::tr("换皮肤"), QStringLiteral("changeSkinButton"), side);
    auto* helpButton = makeHelpButton(side, GrowthTr::tr("帮助"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(skinButton);
    buttons->addWidget(helpButton);

    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
    layout->addWidget(list, 1);
    layout->addWidget(m_calendar);
    layout->addLayout(buttons);

    connect(searchButton, &QPushButton::clicked, this, &DiaryPage::search);
    // Enter in a search box searches.
    connect(m_searchTitleEdit, &QLineEdit::returnPressed, this, &DiaryPage::search);
    connect(m_searchKeywordEdit, &QLineEdit::returnPressed, this, &DiaryPage::search);
    // A double-click, or Enter on a hit, loads it.
    connect(list, &QTableView::activated, this, &DiaryPage::loadMarked);
    connect(skinButton, &QPushButton::clicked, this, &DiaryPage::changeSkin);
    return side;
}

QWidget* DiaryPage::buildEntrySide()
{
    auto* side = new QWidget(this);
    auto* group = new QGroupBox(GrowthTr::tr("成长日记"), side);
    m_titleEdit = lineEdit(group, QStringLiteral("titleEdit"), GrowthTr::tr("标题"), 20);
    m_weatherEdit = lineEdit(group, QStringLiteral("weatherEdit"), GrowthTr::tr("天气"), 6);
    m_keywordEdit = lineEdit(group, QStringLiteral("keywordEdit"), GrowthTr::tr("关键字"), 10);
    m_contentEdit = new LimitedTextEdit(5000, group);
    m_contentEdit->setObjectName(QStringLiteral("contentEdit"));
    m_contentEdit->setAccessibleName(GrowthTr::tr("内容"));

    auto* grid = new QGridLayout(group);
    grid->addWidget(labelFor(m_titleEdit, GrowthTr::tr("标题"), group), 0, 0);
    grid->addWidget(m_titleEdit, 0, 1);
    grid->addWidget(labelFor(m_weatherEdit, GrowthTr::tr("天气"), group), 0, 2);
    grid->addWidget(m_weatherEdit, 0, 3);
    grid->addWidget(labelFor(m_keywordEdit, GrowthTr::tr("关键字"), group), 0, 4);
    grid->addWidget(m_keywordEdit, 0, 5);
    grid->addWidget(labelFor(m_contentEdit, GrowthTr::tr("内容"), group), 1, 0, Qt::AlignTop);
    grid->addWidget(m_contentEdit, 1, 1, 1, 5);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 2);
    grid->setRowStretch(1, 1);

    grid->addLayout(makeEntryButtons(group, {GrowthTr::tr("保 存"), GrowthTr::tr("修 改"), GrowthTr::tr("删 除"),
                                             GrowthTr::tr("撤 消")}),
                    2, 0, 1, 6);

    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group, 2);
    layout->addWidget(makeMediaGroup(MediaGroup::Settings::diary(), side), 3);
    return side;
}

void DiaryPage::search()
{
    const DateCriteria date{DateLists::chosen(m_yearCombo), DateLists::chosen(m_monthCombo),
                            DateLists::chosen(m_dayCombo)};
    const QString title = m_searchTitleEdit->text();
    const QString keyword = m_searchKeywordEdit->text();
    m_hits->clear();
    if (date.isEmpty() && title.isEmpty() && keyword.isEmpty()) {
        message(GrowthTr::tr("至少输入一个条件"));
        return;
    }
    // Only the listed columns are read: an entry's text and files are read when it is chosen.
    const PagedQuery hits(selecting(DiaryHitsModel::columns(), GrowthQuery::diarySearch(date, title, keyword)));
    const Result filled = m_hits->fill(hits);
    listFilled();
    if (!filled) {
        message(filled.error());
        return;
    }
    if (m_hits->rowCount() == 0)
        message(GrowthTr::tr("未检索到符合条件的记录"));
}

void DiaryPage::loadMarked()
{
    const qint64 id = markedId();
    if (id <= 0)
        return;
    CCHENGZHANG entry;
    if (Result r = readEntry(entry, id); !r) {
        message(r.error());
        return;
    }
    showLoaded(id, entry);
    setStoredText(m_titleEdit, entry.m_biaoti);
    setStoredText(m_weatherEdit, entry.m_tianqi);
    setStoredText(m_keywordEdit, entry.m_key);
    m_contentEdit->setStoredText(entry.m_content);
    setButtonsEnabled(DeleteButton | ModifyButton, true);
    setButtonsEnabled(SaveButton, false);
    setModifying(true);
}

void DiaryPage::beginChanging()
{
    if (loadedId() <= 0) {
        message(GrowthTr::tr("请先在搜索结果中双击要修改的日记，再按“修 改”。"));
        return;
    }
    MediaEntryPage::beginChanging();
}

void DiaryPage::save()
{
    if (isModifying())
        saveIntoLoaded();
    else
        addEntry();
}

void DiaryPage::addEntry()
{
    const struct
    {
        QLineEdit* edit;
        QString message;
    } required[] = {
        {m_titleEdit, GrowthTr::tr("请输入成长日记的标题，谢谢！")},
        {m_weatherEdit, GrowthTr::tr("请输入成长日记的天气，谢谢！")},
        {m_keywordEdit, GrowthTr::tr("请输入成长日记的关键字，谢谢！")},
    };
    for (const auto& field : required) {
        if (field.edit->text().trimmed().isEmpty()) {
            message(field.message);
            return;
        }
    }
    if (m_contentEdit->toPlainText().trimmed().isEmpty()) {
        message(GrowthTr::tr("请输入成长日记的内容，谢谢！"));
        return;
    }

    // A new entry carries the day it is saved; the calendar only shows the month.
    const QString date = GrowthDates::entryDate(Clock::current().today());
    CCHENGZHANG entry;
    const Result added = Records::add(entry, [&](Recordset&) {
        entry.m_riqi = date;
        writeEntry(entry);
    });
    if (!added) {
        message(added.error());
        return;
    }
    mediaGroup()->markSaved();
    message(GrowthTr::tr("成功添加资料，谢谢!"));
    clearFields();
    mediaGroup()->clearAttachments();
    mediaGroup()->resetRowCounter();
}

void DiaryPage::saveIntoLoaded()
{
    CCHENGZHANG entry;
    if (changeEntry(entry, loadedId(), [&](Recordset&) { writeEntry(entry); }))
        message(GrowthTr::tr("成功修改资料，谢谢!"));
}

void DiaryPage::writeEntry(CCHENGZHANG& entry) const
{
    entry.m_biaoti = m_titleEdit->text();
    entry.m_tianqi = m_weatherEdit->text();
    entry.m_content = m_contentEdit->toPlainText();
    entry.m_key = m_keywordEdit->text();
    entry.m_music = mediaGroup()->attachmentText();
}

qint64 DiaryPage::entryToDelete()
{
    // The entry in the fields, when one is loaded; otherwise the chosen hit.
    if (loadedId() > 0)
        return loadedId();
    return selectedIds().value(0);
}

QList<qint64> DiaryPage::idsToDelete()
{
    const qint64 id = entryToDelete();
    return id > 0 ? QList<qint64>{id} : QList<qint64>{};
}

QString DiaryPage::deleteQuestion()
{
    const qint64 id = entryToDelete();
    CCHENGZHANG entry;
    if (id <= 0 || !readEntry(entry, id))
        return MediaEntryPage::deleteQuestion();
    return GrowthTr::tr("确定要删除%1的日记“%2”吗？").arg(entry.m_riqi, entry.m_biaoti);
}

QString DiaryPage::noRecordChosenMessage() const
{
    return GrowthTr::tr("请选择记录");
}

void DiaryPage::afterDelete()
{
    clearFields();
    closeDeletedEntry();
    // The fields are empty now: no entry is loaded any more, and 保 存 adds.
    setModifying(false);
    setButtonsEnabled(SaveButton | DeleteButton, true);
    m_hits->clear();
    search();
}

void DiaryPage::undo()
{
    setModifying(false);
    forgetLoaded();
    clearFields();
    mediaGroup()->resetRowCounter();
    mediaGroup()->clearAttachments();
    m_hits->clear();
    setButtonsEnabled(DeleteButton | ModifyButton, false);
    setButtonsEnabled(SaveButton, true);
}

void DiaryPage::clearFields()
{
    m_contentEdit->clear();
    m_keywordEdit->clear();
    m_titleEdit->clear();
    m_weatherEdit->clear();
}

void DiaryPage::changeSkin()
{
    CSkinDlg::changeSkin(std::make_unique<CSKINDATA>(), GrowthTr::tr("皮肤对话框"), this);
}

QString DiaryPage::goneMessage() const
{
    return GrowthTr::tr("这篇日记已经不存在了，可能已被删除。请重新搜索。");
}

// The hit of the loaded entry shows what was written.
void DiaryPage::loadedRowWritten(const Recordset& row)
{
    const auto& entry = static_cast<const CCHENGZHANG&>(row);
    m_hits->update({loadedId(), entry.m_riqi, entry.m_tianqi, entry.m_biaoti});
}

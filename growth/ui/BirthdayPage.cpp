#include "growth/ui/BirthdayPage.h"
#include "growth/GrowthTr.h"

#include "common/Clock.h"
#include "common/ui/LimitedTextEdit.h"
#include "data/Records.h"
#include "data/tables/CSHENGRI.h"
#include "data/ui/PageButton.h"
#include "growth/GrowthDates.h"
#include "growth/GrowthQuery.h"
#include "growth/ui/DateLists.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QList<BirthdayLists::Row> rowsOf(const QTableWidget* list)
{
    QList<BirthdayLists::Row> rows;
    for (int row = 0; row < list->rowCount(); ++row)
        rows.append({list->item(row, 0)->text(), list->item(row, 1)->text()});
    return rows;
}

void insertRow(QTableWidget* list, int row, const BirthdayLists::Row& texts)
{
    list->insertRow(row);
    for (int column = 0; column < 2; ++column) {
        auto* item = new QTableWidgetItem(column == 0 ? texts.who : texts.what);
        item->setTextAlignment(Qt::AlignCenter);
        item->setToolTip(item->text());
        list->setItem(row, column, item);
    }
}

void setRows(QTableWidget* list, const QList<BirthdayLists::Row>& rows)
{
    list->setRowCount(0);
    for (const BirthdayLists::Row& row : rows)
        insertRow(list, list->rowCount(), row);
}

int selectedRow(const QTableWidget* list)
{
    const QList<QTableWidgetSelectionRange> ranges = list->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

} // namespace

BirthdayPage::BirthdayPage(QWidget* parent)
    : MediaEntryPage(parent, Table::of<CSHENGRI>(&GrowthQuery::birthdayById),
                     QStringLiteral("qthelp://kestrin.help/doc/html/growth-birthday.html"))
{
    setObjectName(QStringLiteral("birthdayPage"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildRecordSide(), 4);
    layout->addWidget(buildGreetingSide(), 6);
}

BirthdayPage::~BirthdayPage() = default;

QTableWidget* BirthdayPage::makeList(QWidget* parent, const QString& name, const QString& label,
                                     const QStringList& headings)
{
    auto* list = new QTableWidget(0, 2, parent);
    list->setObjectName(name);
    list->setAccessibleName(label);
    list->setHorizontalHeaderLabels(headings);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    list->horizontalHeader()->resizeSection(0, 70);
    list->horizontalHeader()->setStretchLastSection(true);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setWordWrap(false);
    // A click anywhere in the list, also below its rows, shows the chosen row's whole text.
    list->viewport()->installEventFilter(this);
    return list;
}

QWidget* BirthdayPage::buildRecordSide()
{
    auto* side = new QWidget(this);
    m_yearCombo = DateLists::make(side, GrowthDates::yearTexts(Clock::current().today()), QStringLiteral("yearCombo"),
                                  GrowthTr::tr("年份"), false);
    auto* searchButton = makePageButton(GrowthTr::tr("搜索"), QStringLiteral("searchButton"), side);
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(labelFor(m_yearCombo, GrowthTr::tr("年份"), side));
    yearRow->addWidget(m_yearCombo);
    yearRow->addWidget(searchButton);
    yearRow->addStretch(1);

    auto* descriptionGroup = new QGroupBox(GrowthTr::tr("生日描述"), side);
    m_descriptionEdit = new LimitedTextEdit(1000, descriptionGroup);
    m_descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    m_descriptionEdit->setAccessibleName(GrowthTr::tr("生日描述"));
    auto* descriptionLayout = new QVBoxLayout(descriptionGroup);
    descriptionLayout->addWidget(m_descriptionEdit);

    auto* presentGroup = new QGroupBox(GrowthTr::tr("礼物"), side);
    m_presentEdit = lineEdit(presentGroup, QStringLiteral("presentEdit"), GrowthTr::tr("礼物内容"), 300);
    m_giverEdit = lineEdit(presentGroup, QStringLiteral("giverEdit"), GrowthTr::tr("送礼人"), 20);
    auto* addButton = makePageButton(GrowthTr::tr("添加礼物"), QStringLiteral("addPresentButton"), presentGroup);
    auto* deleteButton = makePageButton(GrowthTr::tr("删除"), QStringLiteral("deletePresentButton"), presentGroup);
    m_presentList = makeList(presentGroup, QStringLiteral("presentList"), GrowthTr::tr("礼物列表"),
                             {GrowthTr::tr("送礼人"), GrowthTr::tr("礼物内容")});
    auto* presentGrid = new QGridLayout(presentGroup);
    presentGrid->addWidget(labelFor(m_presentEdit, GrowthTr::tr("礼物内容"), presentGroup), 0, 0);
    presentGrid->addWidget(m_presentEdit, 0, 1, 1, 3);
    presentGrid->addWidget(labelFor(m_giverEdit, GrowthTr::tr("送礼人"), presentGroup), 1, 0);
    presentGrid->addWidget(m_giverEdit, 1, 1);
    presentGrid->addWidget(addButton, 1, 2);
    presentGrid->addWidget(deleteButton, 1, 3);
    presentGrid->addWidget(m_presentList, 2, 0, 1, 4);
    presentGrid->setColumnStretch(1, 1);
    presentGrid->setRowStretch(2, 1);

    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(yearRow);
    layout->addWidget(descriptionGroup, 2);
    layout->addWidget(presentGroup, 3);

    connect(m_yearCombo, &QComboBox::currentIndexChanged, this, &BirthdayPage::yearChanged);
    connect(searchButton, &QPushButton::clicked, this, &BirthdayPage::search);
    connect(addButton, &QPushButton::clicked, this, &BirthdayPage::addPresent);
    connect(deleteButton, &QPushButton::clicked, this, &BirthdayPage::deletePresent);
    return side;
}

QWidget* BirthdayPage::buildGreetingSide()
{
    auto* side = new QWidget(this);
    auto* greetingGroup = new QGroupBox(GrowthTr::tr("留言"), side);
    m_greetingEdit = new LimitedTextEdit(500, greetingGroup);
    m_greetingEdit->setObjectName(QStringLiteral("greetingEdit"));
    m_greetingEdit->setAccessibleName(GrowthTr::tr("留言内容"));
    m_greetingEdit->setMaximumHeight(m_greetingEdit->fontMetrics().lineSpacing() * 3 + 14);
    m_authorEdit = lineEdit(greetingGroup, QStringLiteral("authorEdit"), GrowthTr::tr("留言人"), 20);
    auto* addButton = makePageButton(GrowthTr::tr("添加留言"), QStringLiteral("addGreetingButton"), greetingGroup);
    auto* deleteButton = makePageButton(GrowthTr::tr("删除"), QStringLiteral("deleteGreetingButton"), greetingGroup);
    m_greetingList = makeList(greetingGroup, QStringLiteral("greetingList"), GrowthTr::tr("留言列表"),
                              {GrowthTr::tr("留言人"), GrowthTr::tr("留言内容")});
    auto* greetingGrid = new QGridLayout(greetingGroup);
    greetingGrid->addWidget(labelFor(m_greetingEdit, GrowthTr::tr("留言内容"), greetingGroup), 0, 0, Qt::AlignTop);
    greetingGrid->addWidget(m_greetingEdit, 0, 1, 1, 3);
    greetingGrid->addWidget(labelFor(m_authorEdit, GrowthTr::tr("留言人"), greetingGroup), 1, 0);
    greetingGrid->addWidget(m_authorEdit, 1, 1);
    greetingGrid->addWidget(addButton, 1, 2);
    greetingGrid->addWidget(deleteButton, 1, 3);
    greetingGrid->addWidget(m_greetingList, 2, 0, 1, 4);
    greetingGrid->setColumnStretch(1, 1);
    greetingGrid->setRowStretch(2, 1);

    MediaGroup* media = makeMediaGroup(MediaGroup::Settings::birthday(), side);

    QHBoxLayout* buttons = makeEntryButtons(
        side, {GrowthTr::tr("保 存"), GrowthTr::tr("修 改"), GrowthTr::tr("删 除"), GrowthTr::tr("撤 消")});
    buttons->addSpacing(12);
    buttons->addWidget(makeHelpButton(side, GrowthTr::tr("帮助文档")));

    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(greetingGroup, 2);
    layout->addWidget(media, 3);
    layout->addLayout(buttons);

    connect(addButton, &QPushButton::clicked, this, &BirthdayPage::addGreeting);
    connect(deleteButton, &QPushButton::clicked, this, &BirthdayPage::deleteGreeting);
    return side;
}

QList<BirthdayLists::Row> BirthdayPage::presents() const
{
    return rowsOf(m_presentList);
}

QList<BirthdayLists::Row> BirthdayPage::greetings() const
{
    return rowsOf(m_greetingList);
}

QString BirthdayPage::yearKey() const
{
    return GrowthDates::birthdayKey(DateLists::chosen(m_yearCombo));
}

void BirthdayPage::yearChanged()
{
    // Another year: nothing of the one before stays on the page.
    m_descriptionEdit->clear();
    m_presentList->setRowCount(0);
    m_greetingList->setRowCount(0);
    mediaGroup()->clearAttachments();
    mediaGroup()->resetRowCounter();
    forgetLoaded();
}

void BirthdayPage::emptyPage()
{
    m_descriptionEdit->clear();
    m_presentList->setRowCount(0);
    m_greetingList->setRowCount(0);
    mediaGroup()->clearAttachments();
}

void BirthdayPage::search()
{
    if (DateLists::chosen(m_yearCombo).isEmpty()) {
        message(GrowthTr::tr("请输入生日的年份，谢谢！"));
        return;
    }
    emptyPage();
    forgetLoaded();
    CSHENGRI birthday;
    if (Result r = birthday.open(GrowthQuery::birthdaysOfYear(yearKey())); !r) {
        message(r.error());
        return;
    }
    if (birthday.isEOF()) {
        message(GrowthTr::tr("还没有记录"));
        return;
    }
    // Of several records of a year, the newest is the one shown.
    showLoaded(birthday.m_id, birthday);
    m_descriptionEdit->setStoredText(birthday.m_connect);
    setRows(m_presentList, BirthdayLists::read(birthday.m_songli));
    setRows(m_greetingList, BirthdayLists::read(birthday.m_liuyan));
}

void BirthdayPage::addPresent()
{
    if (addListRow(m_presentList, {m_giverEdit->text(), m_presentEdit->text()}, GrowthTr::tr("请输入礼物内容，谢谢！"),
                   GrowthTr::tr("请输入送礼人姓名，谢谢！"))) {
        m_presentEdit->clear();
        m_giverEdit->clear();
    }
}

void BirthdayPage::addGreeting()
{
    if (addListRow(m_greetingList, {m_authorEdit->text(), m_greetingEdit->toPlainText()},
                   GrowthTr::tr("请输入留言内容，谢谢！"), GrowthTr::tr("请输入留言人姓名，谢谢！"))) {
        m_greetingEdit->clear();
        m_authorEdit->clear();
    }
}

bool BirthdayPage::addListRow(QTableWidget* list, const BirthdayLists::Row& row, const QString& noWhat,
                              const QString& noWho)
{
    if (row.what.trimmed().isEmpty()) {
        message(noWhat);
        return false;
    }
    if (row.who.trimmed().isEmpty()) {
        message(noWho);
        return false;
    }
    insertRow(list, 0, row);
    return true;
}

void BirthdayPage::deletePresent()
{
    deleteChosenRow(m_presentList);
}

void BirthdayPage::deleteGreeting()
{
    deleteChosenRow(m_greetingList);
}

void BirthdayPage::deleteChosenRow(QTableWidget* list)
{
    const int row = selectedRow(list);
    if (row < 0) {
        message(GrowthTr::tr("请选择要删除的项，谢谢！"));
        return;
    }
    list->removeRow(row);
    list->clearSelection();
}

bool BirthdayPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_presentList->viewport())
            showWholeText(m_presentList);
        else if (watched == m_greetingList->viewport())
            showWholeText(m_greetingList);
    }
    return EditingPage::eventFilter(watched, event);
}

void BirthdayPage::showWholeText(QTableWidget* list)
{
    const int row = selectedRow(list);
    if (row < 0) {
        message(GrowthTr::tr("表格中还没有记录"));
        return;
    }
    message(list->item(row, 1)->text());
}

bool BirthdayPage::checkFields()
{
    if (DateLists::chosen(m_yearCombo).isEmpty()) {
        message(GrowthTr::tr("请输入生日的年份，谢谢！"));
        return false;
    }
    if (m_descriptionEdit->toPlainText().trimmed().isEmpty()) {
        message(GrowthTr::tr("请输入生日的描述，谢谢！"));
        return false;
    }
    return true;
}

void BirthdayPage::save()
{
    if (!checkFields())
        return;
    // Only the record on the page is ever changed; with none shown a new one is added.
    if (loadedId() > 0)
        saveIntoLoaded(yearKey());
    else
        addBirthday(yearKey());
}

void BirthdayPage::beginChanging()
{
    if (loadedId() > 0) {
        save();
        return;
    }
    if (!checkFields())
        return;
    const qint64 id = newestOfYear();
    if (id < 0)
        return;
    if (id == 0)
        message(GrowthTr::tr("%1还没有生日记录，没有可以修改的内容。请按“保 存”添加这一年的记录。").arg(yearKey()));
    else
        message(GrowthTr::tr("页面上没有显示%1的生日记录，没有修改任何内容。请先按“搜索”显示这一年的记录，"
                             "改好后再按“修 改”。")
                    .arg(yearKey()));
}

qint64 BirthdayPage::newestOfYear()
{
    CSHENGRI birthday;
    if (Result r = birthday.open(GrowthQuery::birthdaysOfYear(yearKey())); !r) {
        message(r.error());
        return -1;
    }
    return birthday.isEOF() ? 0 : birthday.m_id;
}

qint64 BirthdayPage::targetId()
{
    return loadedId() > 0 ? loadedId() : newestOfYear();
}

void BirthdayPage::writeRecord(CSHENGRI& record, const QString& key) const
{
    record.m_songli = BirthdayLists::write(presents());
    record.m_liuyan = BirthdayLists::write(greetings());
    record.m_music = mediaGroup()->attachmentText();
    record.m_riqi = key;
    record.m_connect = m_descriptionEdit->toPlainText();
}

void BirthdayPage::saveIntoLoaded(const QString& key)
{
    CSHENGRI birthday;
    if (!changeEntry(birthday, loadedId(), [&](Recordset&) { writeRecord(birthday, key); }))
        return;
    afterSave(GrowthTr::tr("成功修改资料,谢谢!"));
}

void BirthdayPage::addBirthday(const QString& key)
{
    // A year keeps one record: one that is not on the page is neither replaced nor doubled.
    const qint64 existing = newestOfYear();
    if (existing < 0)
        return;
    if (existing > 0) {
        message(GrowthTr::tr("%1已经有生日记录了，这次没有保存。要修改它，请先按“搜索”显示这一年的记录，"
                             "改好后再按“修 改”。")
                    .arg(key));
        return;
    }
    CSHENGRI birthday;
    if (Result r = Records::add(birthday, [&](Recordset&) { writeRecord(birthday, key); }); !r) {
        message(r.error());
        return;
    }
    mediaGroup()->markSaved();
    afterSave(GrowthTr::tr("成功添加资料，谢谢!"));
}

void BirthdayPage::afterSave(const QString& text)
{
    message(text);
    m_descriptionEdit->clear();
    for (QLineEdit* edit : {m_presentEdit, m_giverEdit, m_authorEdit})
        edit->clear();
    m_greetingEdit->clear();
    mediaGroup()->clearChoice();
    emptyPage();
    DateLists::clear(m_yearCombo);
    mediaGroup()->resetRowCounter();
    forgetLoaded();
}

QList<qint64> BirthdayPage::idsToDelete()
{
    if (DateLists::chosen(m_yearCombo).isEmpty())
        return {};
    const qint64 id = targetId();
    return id > 0 ? QList<qint64>{id} : QList<qint64>{};
}

QString BirthdayPage::deleteQuestion()
{
    // The question names the year, and says so when its record is not the one on the page.
    if (DateLists::chosen(m_yearCombo).isEmpty())
        return MediaEntryPage::deleteQuestion();
    if (loadedId() > 0)
        return GrowthTr::tr("确定要删除%1的生日记录吗？").arg(yearKey());
    if (newestOfYear() <= 0)
        return MediaEntryPage::deleteQuestion();
    return GrowthTr::tr("页面上没有显示%1的生日记录。确定要删除这一年的生日记录吗？").arg(yearKey());
}

void BirthdayPage::afterDelete()
{
    closeDeletedEntry();
    message(GrowthTr::tr("删除成功"));
}

void BirthdayPage::undo()
{
    emptyPage();
    // The lists no longer show the record, so its attachments are no longer open here.
    forgetLoaded();
}

QString BirthdayPage::goneMessage() const
{
    return GrowthTr::tr("这条生日记录已经不存在了，可能已被删除。请重新搜索。");
}

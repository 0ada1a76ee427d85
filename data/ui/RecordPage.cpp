#include "data/ui/RecordPage.h"
#include "data/DataTr.h"

#include "common/Clock.h"
#include "common/ui/DialogService.h"
#include "common/ui/HelpService.h"
#include "data/Children.h"
#include "data/Records.h"
#include "data/Recordset.h"
#include "data/tables/CBUSER.h"
#include "data/tables/Categories.h"
#include "data/ui/FieldChecks.h"
#include "data/ui/PageButton.h"
#include "data/ui/RecordListModel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

template <typename Field> Field* named(Field* field, const QString& name, const QString& accessibleName)
{
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    return field;
}

QString plainLabel(const QString& label)
{
    return QString(label).remove(QLatin1Char(' ')).remove(QLatin1Char(':'));
}

} // namespace

RecordPage::RecordPage(Settings settings, QWidget* parent) : EditingPage(parent), m_settings(std::move(settings))
{
    auto* left = new QVBoxLayout;
    buildSearchGroup(left);
    buildList(left);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 5);
    layout->addWidget(buildEditGroup(), 4);

    // The page's own fields are set up by the page; these start disabled here.
    for (QWidget* w : std::initializer_list<QWidget*>{m_editCategoryCombo, m_titleEdit, m_childCombo, m_dateEdit})
        w->setEnabled(false);
    setButtonsEnabled(SaveButton | ModifyButton | DeleteButton | UndoButton, false);
}

RecordPage::~RecordPage() = default;

void RecordPage::buildSearchGroup(QVBoxLayout* column)
{
    auto* group = new QGroupBox(DataTr::tr("查找"), this);
    group->setAccessibleName(DataTr::tr("查找"));
    m_searchCategoryCombo = named(new QComboBox(group), QStringLiteral("searchCategoryCombo"), DataTr::tr("类别"));
    m_dateFromEdit = named(new QLineEdit(group), QStringLiteral("dateFromEdit"), DataTr::tr("日期 从"));
    m_dateToEdit = named(new QLineEdit(group), QStringLiteral("dateToEdit"), DataTr::tr("日期 至"));
    m_searchUserCombo = named(new QComboBox(group), QStringLiteral("searchUserCombo"), DataTr::tr("用户"));
    m_keywordEdit = named(new QLineEdit(group), QStringLiteral("keywordEdit"), DataTr::tr("标题"));
    m_dateFromEdit->setEnabled(false);
    m_dateToEdit->setEnabled(false);
    m_dateFromEdit->setMaxLength(8);
    m_dateToEdit->setMaxLength(8);

    auto* dates = new QHBoxLayout;
    dates->addWidget(m_dateFromEdit);
    dates->addWidget(new QLabel(DataTr::tr("至"), group));
    dates->addWidget(m_dateToEdit);

    auto* form = new QFormLayout;
    form->addRow(DataTr::tr("类别"), m_searchCategoryCombo);
    form->addRow(DataTr::tr("日期"), dates);
    form->addRow(DataTr::tr("用户"), m_searchUserCombo);
    form->addRow(DataTr::tr("标题"), m_keywordEdit);

    m_searchKinds = new QButtonGroup(this);
    auto* kinds = new QHBoxLayout;
    const QStringList kindNames{DataTr::tr("全文搜索"), DataTr::tr("按类别搜索"), DataTr::tr("按日期")};
    const QStringList objectNames{QStringLiteral("fullTextRadio"), QStringLiteral("byCategoryRadio"),
                                  QStringLiteral("byDateRadio")};
    for (int i = 0; i < kindNames.size(); ++i) {
        auto* radio = new QRadioButton(kindNames[i], group);
        radio->setObjectName(objectNames[i]);
        m_searchKinds->addButton(radio, i);
        kinds->addWidget(radio);
    }
    kinds->setSpacing(14);
    kinds->addStretch();

    auto* searchButton = makePageButton(DataTr::tr("搜索"), QStringLiteral("searchButton"), group);
    auto* displayButton = makePageButton(DataTr::tr("显示"), QStringLiteral("displayButton"), group);
    auto* helpButton = makePageButton(DataTr::tr("帮助"), QStringLiteral("helpButton"), group);
    m_searchButtons = new QHBoxLayout;
    m_searchButtons->addStretch();
    m_searchButtons->addWidget(searchButton);
    m_searchButtons->addWidget(displayButton);
    m_searchButtons->addWidget(helpButton);

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(form);
    layout->addLayout(kinds);
    layout->addLayout(m_searchButtons);
    column->addWidget(group);

    connect(searchButton, &QPushButton::clicked, this, &RecordPage::search);
    connect(displayButton, &QPushButton::clicked, this, &RecordPage::display);
    connect(helpButton, &QPushButton::clicked, this, &RecordPage::showHelp);
    // A radio button reacts to being checked however that happens: a click, the keyboard, or a
    // screen reader's toggle action.
    // Typing a keyword is working in the search group: Enter then searches.
    connect(m_keywordEdit, &QLineEdit::textEdited, this, [this] { m_keyMode = KeyMode::Search; });
    connect(m_searchKinds, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        m_keyMode = KeyMode::Search;
        if (id == int(SearchKind::ByDate))
            chooseDateSearch();
        else if (id == int(SearchKind::ByCategory))
            m_keywordEdit->setFocus();
    });
}

void RecordPage::buildList(QVBoxLayout* column)
{
    m_model = new RecordListModel({DataTr::tr("编号"), m_settings.titleHeading, DataTr::tr("类型"), DataTr::tr("日期")},
                                  this);
    QTableView* list = makeRecordList(this, m_model, {60, 190, 110, 100});
    list->setAccessibleName(DataTr::tr("记录列表"));
    connect(m_model, &RecordListModel::fetchFailed, this, &RecordPage::message);
    column->addWidget(list, 1);
}

QGroupBox* RecordPage::buildEditGroup()
{
    auto* group = new QGroupBox(DataTr::tr("增加"), this);
    group->setAccessibleName(DataTr::tr("增加"));
    m_editCategoryCombo =
        named(new QComboBox(group), QStringLiteral("editCategoryCombo"), plainLabel(m_settings.categoryLabel));
    m_editCategoryCombo->setEditable(true);
    m_editCategoryCombo->setInsertPolicy(QComboBox::NoInsert);
    m_titleEdit = named(new QLineEdit(group), QStringLiteral("titleEdit"), plainLabel(m_settings.titleLabel));

    auto* top = new QFormLayout;
    top->addRow(m_settings.categoryLabel, m_editCategoryCombo);
    top->addRow(m_settings.titleLabel, m_titleEdit);
    m_contentLayout = new QVBoxLayout;

    auto* userGroup = new QGroupBox(m_settings.userGroupTitle, group);
    userGroup->setAccessibleName(plainLabel(m_settings.userGroupTitle));
    m_childCombo = named(new QComboBox(userGroup), QStringLiteral("childCombo"), plainLabel(m_settings.childLabel));
    m_childCombo->setEditable(true);
    m_childCombo->setInsertPolicy(QComboBox::NoInsert);
    m_dateEdit = named(new QLineEdit(userGroup), QStringLiteral("dateEdit"), plainLabel(m_settings.dateLabel));
    m_dateEdit->setReadOnly(true);
    m_userLayout = new QFormLayout(userGroup);
    m_userLayout->addRow(m_settings.childLabel, m_childCombo);
    m_userLayout->addRow(m_settings.dateLabel, m_dateEdit);

    makeEditButtons(
        group, {DataTr::tr("增加"), DataTr::tr("保存"), DataTr::tr("修改"), DataTr::tr("删除"), DataTr::tr("撤消")});
    auto* buttons = new QHBoxLayout;
    for (Button b : {AddButton, SaveButton, ModifyButton, DeleteButton, UndoButton})
        buttons->addWidget(button(b));

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(top);
    layout->addLayout(m_contentLayout, 1);
    layout->addWidget(userGroup);
    layout->addLayout(buttons);

    // A choice in the search group is copied into the editing group (and back on the pages
    // that ask for it).
    connect(m_searchCategoryCombo, &QComboBox::textActivated, m_editCategoryCombo, &QComboBox::setCurrentText);
    connect(m_searchUserCombo, &QComboBox::textActivated, m_childCombo, &QComboBox::setCurrentText);
    if (m_settings.copyEditChoicesBack) {
        connect(m_editCategoryCombo, &QComboBox::textActivated, m_searchCategoryCombo, &QComboBox::setCurrentText);
        connect(m_childCombo, &QComboBox::textActivated, m_searchUserCombo, &QComboBox::setCurrentText);
    }
    return group;
}

void RecordPage::addContent(QWidget* box)
{
    m_contentLayout->addWidget(box, 1);
}

void RecordPage::addContent(const QString& label, QWidget* box)
{
    auto* group = new QGroupBox(label, this);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(box);
    box->setAccessibleName(plainLabel(label));
    group->setAccessibleName(plainLabel(label));
    m_contentLayout->addWidget(group, 1);
}

void RecordPage::addUserField(const QString& label, QWidget* field, bool editingField)
{
    if (editingField) {
        field->setAccessibleName(plainLabel(label));
        m_userFields << field;
    }
    m_userLayout->insertRow(m_userLayout->rowCount() - 1, label, field);
}

void RecordPage::addSearchButton(QPushButton* button)
{
    m_searchButtons->insertWidget(1, button);
}

void RecordPage::appendCategory(const QString& category)
{
    m_searchCategoryCombo->addItem(category);
    m_editCategoryCombo->addItem(category);
}

SearchKind RecordPage::searchKind() const
{
    return SearchKind(m_searchKinds->checkedId());
}

void RecordPage::loadCategories()
{
    const std::unique_ptr<CategoryRecordset> categories = createCategories();
    categories->setSort(m_settings.categoriesNewestFirst ? QStringLiteral("id desc") : QStringLiteral("id"));
    if (Result r = categories->open(); !r) {
        message(r.error());
        return;
    }
    for (; !categories->isEOF(); categories->moveNext()) {
        m_searchCategoryCombo->addItem(categories->m_name);
        m_editCategoryCombo->addItem(categories->m_name);
    }
}

void RecordPage::reloadUserLists()
{
    m_searchUserCombo->clear();
    m_childCombo->clear();
    const ResultOf<QStringList> names = Children::newestFirst();
    if (!names)
        message(names.error());
    m_searchUserCombo->addItems(names.valueOr({}));
    m_childCombo->addItems(names.valueOr({}));
    for (QComboBox* combo : {m_searchCategoryCombo, m_editCategoryCombo, m_searchUserCombo, m_childCombo})
        combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
}

void RecordPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_categoriesLoaded) {
        m_categoriesLoaded = true;
        loadCategories();
    }
    // The lists are reloaded when the page's tab is chosen, not when the window comes back
    // from being minimised (a spontaneous show): that would put 类型 and 儿童姓名 back on their
    // first entry in the middle of an edit.
    if (!event->spontaneous())
        reloadUserLists();
}

void RecordPage::keyPressEvent(QKeyEvent* event)
{
    // While the user works in the search group, Enter runs the search; the key then goes on.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_keyMode == KeyMode::Search)
        search();
    event->ignore();
}

void RecordPage::clearFields()
{
    m_titleEdit->clear();
    clearContent();
}

void RecordPage::setFieldsEnabled(bool enabled)
{
    for (QWidget* field : std::initializer_list<QWidget*>{m_editCategoryCombo, m_titleEdit, m_childCombo, m_dateEdit})
        field->setEnabled(enabled);
    setContentEnabled(enabled);
    for (QWidget* field : std::as_const(m_userFields))
        field->setEnabled(enabled);
}

void RecordPage::beginAdding()
{
    m_keyMode = KeyMode::Editing;
    setEditMode(EditMode::Adding);
    clearFields();
    setFieldsEnabled(true);
    setButtonsEnabled(SaveButton | UndoButton, true);
    setButtonsEnabled(AddButton, false);
    m_titleEdit->setFocus();
    m_childCombo->setCurrentText(m_searchUserCombo->currentText());
    m_dateEdit->setText(QString::number(DateKey::today()));
}

void RecordPage::beginChanging()
{
    // Enter in the fields of a change must not run the search (which would lose the marked row).
    m_keyMode = KeyMode::Editing;
    setEditMode(EditMode::Changing);
    setFieldsEnabled(true);
    m_childCombo->setEnabled(false);
    m_dateEdit->setEnabled(false);
    setButtonsEnabled(SaveButton | UndoButton, true);
    setButtonsEnabled(AddButton, false);
    if (m_settings.changingDisablesModify)
        setButtonsEnabled(ModifyButton, false);
}

void RecordPage::undo()
{
    m_keyMode = KeyMode::Search;
    setEditMode(EditMode::None);
    setFieldsEnabled(false);
    clearFields();
    setButtonsEnabled(UndoButton | SaveButton, false);
    setButtonsEnabled(AddButton, true);
}

void RecordPage::save()
{
    m_keyMode = KeyMode::Editing;
    // A saved record always carries the day it was saved.
    const int today = DateKey::today();
    m_dateEdit->setText(QString::number(today));
    if (!checkFields())
        return;

    bool saved = true;
    if (editMode() == EditMode::Adding) {
        saved = categoryKnown(editCategory()) && addRecord(today);
    } else if (editMode() == EditMode::Changing) {
        const qint64 id = markedId();
        if (id <= 0) {
            message(DataTr::tr("没有选择记录"));
            return;
        }
        saved = categoryKnown(editCategory()) && changeRecord(id, today);
    }
    if (!saved)
        return;
    setButtonsEnabled(AddButton, true);
    setButtonsEnabled(SaveButton | UndoButton, false);
}

bool RecordPage::categoryKnown(const QString& category)
{
    const std::unique_ptr<CategoryRecordset> categories = createCategories();
    const Result r = categories->openNamed(category);
    if (!r) {
        message(r.error());
        return false;
    }
    if (categories->isEOF()) {
        message(unknownCategoryMessage());
        clearFields();
        return false;
    }
    return true;
}

bool RecordPage::addRecord(int dateKey)
{
    const std::unique_ptr<Recordset> records = createRecords();
    if (Result r = Records::add(*records, [&](Recordset& record) { writeRecord(record, dateKey); }); !r) {
        message(r.error());
        return false;
    }
    afterSave(DataTr::tr("添加成功!"), false);
    return true;
}

bool RecordPage::changeRecord(qint64 id, int dateKey)
{
    const std::unique_ptr<Recordset> records = createRecords();
    const auto write = [&](Recordset& record) { writeRecord(record, dateKey); };
    // The day of the save alone is no change: a record saved unchanged keeps its date.
    const ResultOf<Records::ChangeOutcome> r =
        Records::change(*records, QStringLiteral("id"), id, write, DataTr::tr("这条记录已经不存在了，可能已被删除。"),
                        shownVersion(), {m_settings.columns.date});
    if (!r) {
        message(r.error());
        return false;
    }
    if (*r == Records::ChangeOutcome::ChangedMeanwhile) {
        reportChangedMeanwhile(*records, write);
        return false;
    }
    afterSave(*r == Records::ChangeOutcome::Unchanged ? unchangedMessage() : DataTr::tr("修改成功!"),
              m_settings.searchAfterChange);
    return true;
}

void RecordPage::afterSave(const QString& text, bool searchAgain)
{
    setEditMode(EditMode::None);
    message(text);
    clearFields();
    clearList();
    setFieldsEnabled(false);
    if (searchAgain)
        search();
    else
        display();
}

void RecordPage::display()
{
    if (searchUser().isEmpty()) {
        message(m_settings.noUserMessage);
        return;
    }
    showRecordsOf(searchUser(), searchCategory());
}

void RecordPage::showRecordsOf(const QString& child, const QString& category)
{
    Statement statement =
        RecordQuery::listing(m_settings.columns, RecordQuery::byUserAndCategory(m_settings.columns, child, category));
    statement.sql += QStringLiteral(" ORDER BY id desc");
    if (!showList(std::move(statement)))
        return;
    if (m_model->rowCount() == 0) {
        message(DataTr::tr("当前还没有该用户记录,或者该类型的记录已经被删除"));
        clearList();
        return;
    }
    setButtonsEnabled(DeleteButton, true);
}

void RecordPage::search()
{
    m_keyMode = KeyMode::Search;
    SearchInput input{searchKind(),          searchUser(),           searchCategory(),
                      m_keywordEdit->text(), m_dateFromEdit->text(), m_dateToEdit->text()};
    const ResultOf<Statement> statement = RecordQuery::search(m_settings.columns, input);
    if (!statement) {
        message(statement.error());
        return;
    }
    if (!showList(RecordQuery::listing(m_settings.columns, *statement)))
        return;
    if (m_model->rowCount() == 0 && !m_settings.nothingFoundMessage.isEmpty())
        message(m_settings.nothingFoundMessage);
}

Result RecordPage::deleteRecords(const QList<qint64>& ids)
{
    return Records::deleteByIds(m_settings.columns.table, QStringLiteral("id"), ids);
}

void RecordPage::afterDelete()
{
    clearList();
    clearFields();
    search();
}

void RecordPage::showHelp()
{
    HelpService::show(this);
}

void RecordPage::chooseDateSearch()
{
    m_dateFromEdit->setEnabled(true);
    m_dateToEdit->setEnabled(true);
    m_dateFromEdit->setFocus();
    const QString today = QString::number(DateKey::today());
    m_dateFromEdit->setText(today);
    m_dateToEdit->setText(today);
}

bool RecordPage::showList(Statement statement)
{
    if (Result r = m_model->show(PagedQuery(std::move(statement))); !r) {
        message(r.error());
        return false;
    }
    return true;
}

void RecordPage::clearList()
{
    m_model->clear();
}

void RecordPage::showMarked(bool clicked)
{
    if (clicked) {
        setContentEnabled(true);
        setButtonsEnabled(SaveButton, false);
    }
    const qint64 id = markedId();
    if (id <= 0) {
        message(clicked ? DataTr::tr("表格还没有记录") : DataTr::tr("表格上还没有记录"));
        return;
    }
    showRecord(id);
    if (clicked)
        setButtonsEnabled(DeleteButton | ModifyButton, true);
}

void RecordPage::showRecord(qint64 id)
{
    const std::unique_ptr<Recordset> records = createRecords();
    const Statement statement = RecordQuery::byId(m_settings.columns, id);
    if (Result r = records->open(statement); !r || records->isEOF())
        return;
    rememberShown(*records);
    const QString category = records->fieldValue(m_settings.columns.category).toString();
    m_editCategoryCombo->setCurrentText(category);
    m_titleEdit->setText(records->fieldValue(m_settings.columns.title).toString());
    m_childCombo->setCurrentText(records->fieldValue(m_settings.columns.user).toString());
    if (m_settings.showTodayWithRecord)
        m_dateEdit->setText(QString::number(DateKey::today()));
    readRecord(*records);
}

bool RecordPage::require(const QString& value, const QString& text)
{
    return FieldChecks::require(this, value, text);
}

bool RecordPage::titleFits(const QString& title, int maxBytes, const QString& text)
{
    return FieldChecks::fits(this, title, maxBytes, text);
}

bool RecordPage::childExists(const QString& name, const QString& text)
{
    const ResultOf<bool> known = Children::exists(name);
    if (!known) {
        message(known.error());
        return false;
    }
    if (*known)
        return true;
    message(text);
    return false;
}

bool RecordPage::userTableEmpty() const
{
    CBUSER users;
    return users.open() && users.isEOF();
}

void RecordPage::message(const QString& text)
{
    DialogService::current().message(this, text);
}

QString RecordPage::searchCategory() const
{
    return m_searchCategoryCombo->currentText();
}

QString RecordPage::searchUser() const
{
    return m_searchUserCombo->currentText();
}

QString RecordPage::editCategory() const
{
    return m_editCategoryCombo->currentText().trimmed();
}

QString RecordPage::title() const
{
    return m_titleEdit->text();
}

QString RecordPage::child() const
{
    return m_childCombo->currentText().trimmed();
}

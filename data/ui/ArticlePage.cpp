#include "data/ui/ArticlePage.h"
#include "data/DataTr.h"

#include "data/tables/Categories.h"

#include "common/TextOrder.h"
#include "common/ui/DialogService.h"
#include "common/ui/HelpService.h"
#include "data/ArticleQuery.h"
#include "data/RecordQuery.h"
#include "data/Records.h"
#include "data/Recordset.h"
#include "data/ui/FieldChecks.h"
#include "data/ui/PageButton.h"
#include "data/ui/RecordListModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

ArticlePage::ArticlePage(Settings settings, QWidget* parent) : EditingPage(parent), m_settings(std::move(settings))
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildSearchSide(), 5);
    auto* right = new QVBoxLayout;
    QWidget* editSide = buildEditSide();
    right->addWidget(m_shownGroup, 1);
    right->addWidget(editSide);
    layout->addLayout(right, 4);
    setFieldsEnabled(false);
    setButtonsEnabled(ModifyButton | DeleteButton | SaveButton | UndoButton, false);
    m_keywordEdit->setEnabled(!m_settings.keywordNeedsRadio);
}

ArticlePage::~ArticlePage() = default;

QWidget* ArticlePage::buildSearchSide()
{
    auto* side = new QWidget(this);
    m_searchGroup = new QGroupBox(DataTr::tr("查找"), side);
    m_searchGroup->setAccessibleName(DataTr::tr("查找"));
    m_searchTypeCombo = new QComboBox(m_searchGroup);
    m_searchTypeCombo->setObjectName(QStringLiteral("searchTypeCombo"));
    m_searchTypeCombo->setAccessibleName(m_settings.searchTypeLabel);
    m_keywordEdit = new QLineEdit(m_searchGroup);
    m_keywordEdit->setObjectName(QStringLiteral("keywordEdit"));
    m_keywordEdit->setAccessibleName(DataTr::tr("关键字"));
    auto* form = new QFormLayout;
    form->addRow(m_settings.searchTypeLabel, m_searchTypeCombo);
    form->addRow(DataTr::tr("关键字"), m_keywordEdit);
    m_searchOptions = new QHBoxLayout;
    if (m_settings.keywordNeedsRadio) {
        auto* byTitle = new QRadioButton(DataTr::tr("标题"), m_searchGroup);
        byTitle->setObjectName(QStringLiteral("byTitleRadio"));
        m_searchOptions->addWidget(byTitle);
        connect(byTitle, &QRadioButton::toggled, this, [this](bool checked) {
            if (!checked)
                return;
            m_keywordEdit->setEnabled(true);
            m_keywordEdit->setFocus();
        });
    }
    m_searchOptions->addStretch();

    auto* searchButton = makePageButton(DataTr::tr("搜索"), QStringLiteral("searchButton"), m_searchGroup);
    auto* displayButton = makePageButton(DataTr::tr("显示"), QStringLiteral("displayButton"), m_searchGroup);
    auto* helpButton = makePageButton(DataTr::tr("帮助"), QStringLiteral("helpButton"), m_searchGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {searchButton, displayButton, helpButton})
        buttons->addWidget(b);
    auto* groupLayout = new QVBoxLayout(m_searchGroup);
    groupLayout->addLayout(form);
    groupLayout->addLayout(m_searchOptions);
    groupLayout->addLayout(buttons);

    m_model = new RecordListModel({DataTr::tr("编号"), m_settings.titleHeading, m_settings.typeHeading}, this);
    QTableView* list = makeRecordList(side, m_model, {50, 250, 120});
    list->setAccessibleName(DataTr::tr("文章列表"));

    m_shownGroup = new QGroupBox(DataTr::tr("显示"), this);
    m_shownGroup->setAccessibleName(DataTr::tr("显示"));
    m_displayEdit = new QPlainTextEdit(m_shownGroup);
    m_displayEdit->setObjectName(QStringLiteral("displayEdit"));
    m_displayEdit->setAccessibleName(DataTr::tr("文章内容"));
    m_displayEdit->setReadOnly(true);
    auto* shownLayout = new QVBoxLayout(m_shownGroup);
    shownLayout->addWidget(m_displayEdit);

    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_searchGroup);
    layout->addWidget(list, 1);

    connect(searchButton, &QPushButton::clicked, this, &ArticlePage::search);
    connect(displayButton, &QPushButton::clicked, this, &ArticlePage::display);
    connect(helpButton, &QPushButton::clicked, this, &ArticlePage::showHelp);
    connect(m_keywordEdit, &QLineEdit::textEdited, this, [this] { m_enterSearches = true; });
    connect(m_searchTypeCombo, &QComboBox::activated, this, [this] {
        m_editTypeCombo->setCurrentText(searchType());
        display();
    });
    return side;
}

QWidget* ArticlePage::buildEditSide()
{
    auto* group = new QGroupBox(DataTr::tr("增加"), this);
    group->setAccessibleName(DataTr::tr("增加"));
    m_editTypeCombo = new QComboBox(group);
    m_editTypeCombo->setObjectName(QStringLiteral("editTypeCombo"));
    m_editTypeCombo->setAccessibleName(m_settings.editTypeLabel);
    m_editTypeCombo->setEditable(m_settings.editTypeTyped);
    m_editTypeCombo->setInsertPolicy(QComboBox::NoInsert);
    m_titleEdit = new QLineEdit(group);
    m_titleEdit->setObjectName(QStringLiteral("titleEdit"));
    m_titleEdit->setAccessibleName(DataTr::tr("标题"));
    m_textEdit = new QPlainTextEdit(group);
    m_textEdit->setObjectName(QStringLiteral("textEdit"));
    m_textEdit->setAccessibleName(m_settings.textLabel.isEmpty() ? DataTr::tr("内容") : m_settings.textLabel);
    m_textEdit->setTabChangesFocus(true);
    auto* form = new QFormLayout;
    form->addRow(m_settings.editTypeLabel, m_editTypeCombo);
    form->addRow(DataTr::tr("标题"), m_titleEdit);
    if (!m_settings.textLabel.isEmpty())
        form->addRow(new QLabel(m_settings.textLabel, group));

    makeEditButtons(
        group, {DataTr::tr("增加"), DataTr::tr("保存"), DataTr::tr("修改"), DataTr::tr("删除"), DataTr::tr("撤消")});
    auto* buttons = new QHBoxLayout;
    for (Button b : {AddButton, ModifyButton, DeleteButton, SaveButton, UndoButton})
        buttons->addWidget(button(b));

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(form);
    layout->addWidget(m_textEdit, 1);
    layout->addLayout(buttons);

    return group;
}

void ArticlePage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_typesLoaded) {
        m_typesLoaded = true;
        loadTypes();
    }
}

void ArticlePage::loadTypes()
{
    QStringList types = m_settings.fixedTypes;
    if (const std::unique_ptr<CategoryRecordset> table = createTypes()) {
        if (Result r = table->open(); !r)
            message(r.error());
        for (; !table->isEOF(); table->moveNext())
            types << table->m_name;
    }
    m_searchTypeCombo->addItems(m_settings.sortedSearchTypes ? TextOrder::sortedByPinyin(types) : types);
    m_editTypeCombo->addItems(m_settings.sortedEditTypes ? TextOrder::sortedByPinyin(types) : types);
    for (int i = 0; i < m_settings.emptyEditTypes; ++i)
        m_editTypeCombo->addItem(QString());
    for (QComboBox* combo : {m_searchTypeCombo, m_editTypeCombo})
        combo->setCurrentIndex(combo->count() > m_settings.firstType ? m_settings.firstType : combo->count() - 1);
}

QString ArticlePage::searchType() const
{
    return m_searchTypeCombo->currentText();
}

QString ArticlePage::keyword() const
{
    return m_keywordEdit->text();
}

QString ArticlePage::editType() const
{
    return m_editTypeCombo->currentText().trimmed();
}

QString ArticlePage::title() const
{
    return m_titleEdit->text();
}

QString ArticlePage::text() const
{
    return m_textEdit->toPlainText();
}

void ArticlePage::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_settings.enterSearches &&
        m_enterSearches)
        search();
    event->ignore();
}

void ArticlePage::fillList(Recordset& records)
{
    RecordColumns columns;
    columns.table = m_settings.table;
    columns.date.clear();
    m_model->fill(records, columns);
    records.close();
}

void ArticlePage::clearList()
{
    m_model->clear();
}

void ArticlePage::listArticles(const Statement& statement)
{
    const std::unique_ptr<Recordset> records = createRecords();
    if (Result r = records->open(statement); !r) {
        message(r.error());
        return;
    }
    fillList(*records);
}

void ArticlePage::display()
{
    const QString type = searchType();
    if (type.isEmpty()) {
        message(DataTr::tr("不能为空"));
        return;
    }
    const std::unique_ptr<Recordset> records = createRecords();
    records->setSort(m_settings.displaySort);
    if (Result r = records->open(ArticleQuery::ofType(m_settings.table, type)); !r) {
        message(r.error());
        return;
    }
    if (records->isEOF()) {
        // Articles deleted a moment ago must not stay listed.
        clearList();
        if (!m_settings.nothingToShow.isEmpty())
            message(m_settings.nothingToShow);
        return;
    }
    fillList(*records);
    setButtonsEnabled(DeleteButton, true);
}

void ArticlePage::search()
{
    m_enterSearches = true;
    if (keyword().isEmpty()) {
        message(DataTr::tr("标题不能为空"));
        return;
    }
    listArticles(ArticleQuery::ofTypeWithTitle(m_settings.table, searchType(), keyword()));
}

void ArticlePage::refresh()
{
    display();
}

void ArticlePage::clearFields()
{
    m_titleEdit->clear();
    m_textEdit->clear();
    m_displayEdit->clear();
}

void ArticlePage::giveRoomToEditing(bool editing)
{
    const int line = fontMetrics().lineSpacing();
    m_textEdit->setMaximumHeight(editing ? QWIDGETSIZE_MAX : 4 * line);
    m_shownGroup->setMaximumHeight(editing ? 9 * line : QWIDGETSIZE_MAX);
}

void ArticlePage::setFieldsEnabled(bool enabled)
{
    giveRoomToEditing(enabled);
    m_editTypeCombo->setEnabled(enabled);
    m_titleEdit->setEnabled(enabled);
    m_textEdit->setEnabled(enabled);
}

void ArticlePage::beginAdding()
{
    m_enterSearches = false;
    clearFields();
    setFieldsEnabled(true);
    setEditMode(EditMode::Adding);
    setButtonsEnabled(SaveButton | UndoButton, true);
    m_titleEdit->setFocus();
}

void ArticlePage::beginChanging()
{
    m_enterSearches = false;
    setEditMode(EditMode::Changing);
    setFieldsEnabled(true);
    setButtonsEnabled(SaveButton | UndoButton, true);
    setButtonsEnabled(ModifyButton, false);
    if (m_settings.modifyDisablesAdd)
        setButtonsEnabled(AddButton, false);
    m_textEdit->setPlainText(m_displayEdit->toPlainText());
}

void ArticlePage::undo()
{
    m_enterSearches = true;
    setEditMode(EditMode::None);
    setFieldsEnabled(false);
    clearFields();
    setButtonsEnabled(SaveButton | UndoButton, false);
    setButtonsEnabled(AddButton, true);
}

bool ArticlePage::checkFields()
{
    return (m_settings.maxTextBytes <= 0 ||
            FieldChecks::fits(this, text(), m_settings.maxTextBytes, m_settings.textTooLong)) &&
           FieldChecks::require(this, editType(), DataTr::tr("类型不能为空")) &&
           FieldChecks::require(this, title(), DataTr::tr("标题不能为空")) &&
           FieldChecks::fits(this, title(), m_settings.maxTitleBytes, m_settings.titleTooLong);
}

bool ArticlePage::typeKnown(const QString& type)
{
    const std::unique_ptr<CategoryRecordset> table = createTypes();
    if (!table)
        return true;
    const Result r = table->openNamed(type);
    if (!r) {
        message(r.error());
        return false;
    }
    if (!table->isEOF())
        return true;
    message(editMode() == EditMode::Adding ? m_settings.unknownTypeAdding : m_settings.unknownTypeModifying);
    m_titleEdit->clear();
    m_textEdit->clear();
    return false;
}

void ArticlePage::save()
{
    const qint64 marked = markedId();
    if (!checkFields() || !typeKnown(editType()))
        return;
    const bool adding = editMode() == EditMode::Adding;
    if (!adding && editMode() != EditMode::Changing)
        return;
    if (!adding && marked <= 0) {
        message(DataTr::tr("没有选择记录"));
        return;
    }
    const std::unique_ptr<Recordset> records = createRecords();
    const auto write = [&](Recordset& record) { writeArticle(record, adding); };
    bool unchanged = false;
    if (adding) {
        if (Result r = Records::add(*records, write); !r) {
            message(r.error());
            return;
        }
    } else {
        const ResultOf<Records::ChangeOutcome> r =
            Records::change(*records, QStringLiteral("id"), marked, write,
                            DataTr::tr("这篇文章已经不存在了，可能已被删除。"), shownVersion());
        if (!r) {
            message(r.error());
            return;
        }
        if (*r == Records::ChangeOutcome::ChangedMeanwhile) {
            reportChangedMeanwhile(*records, write);
            return;
        }
        unchanged = *r == Records::ChangeOutcome::Unchanged;
    }
    message(adding ? DataTr::tr("添加成功!") : unchanged ? unchangedMessage() : DataTr::tr("修改成功!"));
    clearFields();
    clearList();
    setFieldsEnabled(false);
    setButtonsEnabled(SaveButton | UndoButton, false);
    setButtonsEnabled(AddButton, true);
    setEditMode(EditMode::None);
    refresh();
}

Result ArticlePage::deleteRecords(const QList<qint64>& ids)
{
    return Records::deleteByIds(m_settings.table, QStringLiteral("id"), ids);
}

void ArticlePage::afterDelete()
{
    clearFields();
    refresh();
}

void ArticlePage::showMarked(bool clicked)
{
    const qint64 id = markedId();
    if (id <= 0) {
        message(clicked ? DataTr::tr("表格还没有记录") : DataTr::tr("表格上还没有记录"));
        return;
    }
    const std::unique_ptr<Recordset> record = createRecords();
    if (Result r = record->open(ArticleQuery::byId(m_settings.table, id)); !r || record->isEOF())
        return;
    rememberShown(*record);
    showArticle(*record);
    setButtonsEnabled(DeleteButton, true);
    if (clicked) {
        setButtonsEnabled(ModifyButton, true);
        setButtonsEnabled(SaveButton, false);
        m_textEdit->clear();
    }
}

void ArticlePage::showArticle(const Recordset& record)
{
    // The article's own type goes into the editing group too, so that 修改 keeps it there.
    m_editTypeCombo->setCurrentText(record.fieldValue(QStringLiteral("leixing")).toString());
    m_titleEdit->setText(record.fieldValue(QStringLiteral("title")).toString());
    m_displayEdit->setPlainText(record.fieldValue(QStringLiteral("connect")).toString());
}

void ArticlePage::showHelp()
{
    HelpService::show(this);
}

std::unique_ptr<CategoryRecordset> ArticlePage::createTypes() const
{
    return nullptr;
}

#include "data/ui/EditingPage.h"

#include "common/ui/DialogService.h"
#include "data/DataTr.h"
#include "data/Recordset.h"
#include "data/ui/IdListModel.h"
#include "data/ui/PageButton.h"
#include "data/ui/RecordListView.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

namespace {

const QStringList ButtonNames{QStringLiteral("addButton"), QStringLiteral("saveButton"), QStringLiteral("modifyButton"),
                              QStringLiteral("deleteButton"), QStringLiteral("undoButton")};

int indexOf(EditingPage::Button which)
{
    switch (which) {
    case EditingPage::AddButton:
        return 0;
    case EditingPage::SaveButton:
        return 1;
    case EditingPage::ModifyButton:
        return 2;
    case EditingPage::DeleteButton:
        return 3;
    case EditingPage::UndoButton:
        return 4;
    }
    return 0;
}

} // namespace

EditingPage::EditingPage(QWidget* parent) : QWidget(parent) {}

EditingPage::~EditingPage() = default;

void EditingPage::makeEditButtons(QWidget* parent, const QStringList& captions)
{
    Q_ASSERT(captions.size() == ButtonNames.size());
    for (int i = 0; i < ButtonNames.size(); ++i)
        m_buttons << (captions.at(i).isEmpty() ? nullptr : makePageButton(captions.at(i), ButtonNames.at(i), parent));
    const auto wire = [this](int index, void (EditingPage::*slot)()) {
        if (m_buttons[index])
            connect(m_buttons[index], &QPushButton::clicked, this, slot);
    };
    wire(0, &EditingPage::beginAdding);
    wire(1, &EditingPage::save);
    wire(2, &EditingPage::beginChanging);
    wire(3, &EditingPage::deleteSelected);
    wire(4, &EditingPage::undo);
}

QPushButton* EditingPage::button(Button which) const
{
    return m_buttons.at(indexOf(which));
}

void EditingPage::setButtonsEnabled(Buttons buttons, bool enabled)
{
    for (Button b : {AddButton, SaveButton, ModifyButton, DeleteButton, UndoButton}) {
        if (buttons.testFlag(b) && button(b))
            button(b)->setEnabled(enabled);
    }
}

QTableView* EditingPage::makeRecordList(QWidget* parent, IdListModel* model, const QList<int>& widths)
{
    m_model = model;
    m_list = new RecordListView(parent);
    m_list->setObjectName(QStringLiteral("recordList"));
    m_list->setModel(model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    // Fixed row heights keep long lists quick to show.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 8);
    QHeaderView* header = m_list->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    for (int i = 0; i < widths.size(); ++i)
        header->resizeSection(i, widths[i]);
    header->setStretchLastSection(true);

    connect(m_list, &QTableView::clicked, this, [this] {
        if (m_editMode == EditMode::None)
            showMarked(true);
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && m_editMode == EditMode::None)
                    showMarked(false);
            });
    // Qt's clicked signal never fires where there is no row; such a click still counts.
    m_list->viewport()->installEventFilter(this);
    return m_list;
}

void EditingPage::listFilled()
{
    if (m_list)
        static_cast<RecordListView*>(m_list)->layOutRows();
}

void EditingPage::setEditMode(EditMode mode)
{
    m_editMode = mode;
    if (m_list)
        m_list->setEnabled(mode == EditMode::None);
}

qint64 EditingPage::markedId() const
{
    if (!m_list)
        return 0;
    // A click below the rows chooses no row, whatever was marked before.
    if (m_clickBelowRows)
        return 0;
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || current.row() >= m_model->rowCount())
        return 0;
    return m_model->idAt(current.row());
}

QList<qint64> EditingPage::selectedIds() const
{
    QList<qint64> ids;
    if (!m_list)
        return ids;
    QModelIndexList rows = m_list->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : std::as_const(rows)) {
        if (const qint64 id = m_model->idAt(index.row()); id > 0)
            ids << id;
    }
    return ids;
}

void EditingPage::deleteSelected()
{
    if (!confirm(deleteQuestion()))
        return;
    const QList<qint64> ids = idsToDelete();
    if (ids.isEmpty()) {
        if (const QString text = noRecordChosenMessage(); !text.isEmpty())
            message(text);
        return;
    }
    if (Result r = deleteRecords(ids); !r) {
        message(r.error());
        return;
    }
    afterDelete();
}

QString EditingPage::deleteQuestion()
{
    return DataTr::tr("确定要删除吗？");
}

QString EditingPage::noRecordChosenMessage() const
{
    return DataTr::tr("请选择记录号");
}

bool EditingPage::eventFilter(QObject* watched, QEvent* event)
{
    if (m_list && watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_list->indexAt(mouse->position().toPoint()).isValid() && m_editMode == EditMode::None) {
            m_clickBelowRows = true;
            showMarked(true);
            m_clickBelowRows = false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EditingPage::rememberShown(const Recordset& record)
{
    m_shownVersion = Records::versionOf(record);
}

void EditingPage::reportChangedMeanwhile(Recordset& current, const Records::Writer& write)
{
    m_shownVersion = Records::versionOf(current);
    const QString differences = Records::describe(current.table(), Records::differences(current, write));
    message(DataTr::tr("这条记录在您修改的时候已被其他程序改动过，您的修改没有保存。\n\n"
                       "现在保存的内容与您填写的内容不同之处：\n%1\n\n"
                       "您填写的内容仍在编辑框里。如果仍要用您的内容替换现在的内容，请再按一次“保存”。")
                .arg(differences));
}

QString EditingPage::unchangedMessage()
{
    return DataTr::tr("内容没有改动，记录保持原样。");
}

void EditingPage::message(const QString& text)
{
    DialogService::current().message(this, text);
}

bool EditingPage::confirm(const QString& text)
{
    return DialogService::current().confirm(this, text, DataTr::tr("系统提示"));
}

#include "data/ui/RecordListView.h"

#include "data/Recordset.h"
#include "data/ui/RecordListModel.h"

#include <QHeaderView>
#include <QTableView>

namespace RecordListView {

QTableView* create(QWidget* parent, QAbstractItemModel* model, const QList<int>& widths)
{
    auto* list = new QTableView(parent);
    list->setObjectName(QStringLiteral("recordList"));
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    // Fixed row heights keep long lists quick to show.
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 8);
    QHeaderView* header = list->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    for (int i = 0; i < widths.size(); ++i)
        header->resizeSection(i, widths[i]);
    header->setStretchLastSection(true);
    return list;
}

QList<qint64> selectedIds(const QTableView* list, const RecordListModel* model)
{
    QList<qint64> ids;
    QModelIndexList rows = list->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : std::as_const(rows))
        ids << model->row(index.row()).id;
    return ids;
}

qint64 markedId(const QTableView* list, const RecordListModel* model)
{
    const QModelIndex current = list->currentIndex();
    if (!current.isValid() || current.row() >= model->rowCount())
        return 0;
    return model->row(current.row()).id;
}

Result deleteByIds(const std::function<std::unique_ptr<Recordset>()>& createRecords, const QList<qint64>& ids)
{
    TransactionGuard transaction;
    for (const qint64 id : ids) {
        const std::unique_ptr<Recordset> records = createRecords();
        records->setFilter(QStringLiteral("id=?"), {id});
        Result r = records->open();
        if (r && !records->isEOF())
            r = records->remove();
        if (!r)
            return r;
    }
    return transaction.commit();
}

} // namespace RecordListView

#include "data/ui/RecordListView.h"

#include "data/ui/RecordListModel.h"

void RecordListView::fetchAll()
{
    // A record list reads the rest in one go; other models page by page.
    if (auto* records = qobject_cast<RecordListModel*>(model())) {
        records->fetchAll();
        layOutRows();
        return;
    }
    QAbstractItemModel* rows = model();
    while (rows && rows->canFetchMore({})) {
        const int before = rows->rowCount();
        rows->fetchMore({});
        // A model that could not read on (it says why itself) must not hold the view here.
        if (rows->rowCount() == before)
            break;
    }
    layOutRows();
}

void RecordListView::selectAll()
{
    fetchAll();
    QTableView::selectAll();
}

QModelIndex RecordListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // In a table, Ctrl+End goes to the last row; End alone to the row's last column.
    if (cursorAction == MoveEnd && modifiers.testFlag(Qt::ControlModifier))
        fetchAll();
    return QTableView::moveCursor(cursorAction, modifiers);
}

#pragma once

#include "common/Result.h"

#include <QList>

#include <functional>
#include <memory>

class QAbstractItemModel;
class QTableView;
class QWidget;
class RecordListModel;
class Recordset;

// The record list of the record and article pages and what they do with its selection.
namespace RecordListView {

// A list with whole-row and multi-row selection, grid lines and the given column widths.
QTableView* create(QWidget* parent, QAbstractItemModel* model, const QList<int>& widths);

// The ids of the selected rows, in list order.
QList<qint64> selectedIds(const QTableView* list, const RecordListModel* model);

// The id of the marked (current) row; 0 when there is none.
qint64 markedId(const QTableView* list, const RecordListModel* model);

// Deletes the records with these ids, all or none.
Result deleteByIds(const std::function<std::unique_ptr<Recordset>()>& createRecords, const QList<qint64>& ids);

} // namespace RecordListView

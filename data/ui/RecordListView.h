#pragma once

#include <QTableView>

// A record list over a model that may read its rows a page at a time. Choosing every row
// (Ctrl+A) or moving to the last row (Ctrl+End) first reads the rows not read yet, so that they
// act on the whole list, not on the part scrolled through so far.
class RecordListView : public QTableView
{
    Q_OBJECT

public:
    using QTableView::QTableView;

    void selectAll() override;
    // Reads every row the model has not read yet.
    void fetchAll();
    // Lays out the rows the model holds now, at once. Left alone, the view lays them out on a
    // later turn of the event loop, after it has painted them once already: a list filled or
    // read whole was painted twice.
    void layOutRows() { executeDelayedItemsLayout(); }

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
};

#pragma once

#include "common/Result.h"
#include "data/PagedQuery.h"
#include "data/ui/IdListModel.h"

#include <QList>
#include <QStringList>

class Recordset;
struct RecordColumns;

// The rows of a record list: id, title, category and date of each record, in fill order. A list
// shown from a paged query holds its first screen at once and reads more as it is scrolled.
class RecordListModel : public IdListModel
{
    Q_OBJECT

public:
    struct Row
    {
        qint64 id;
        QString title;
        QString category;
        qint64 date;
    };

    explicit RecordListModel(QStringList headings, QObject* parent = nullptr);

    // Rows read at first, and at least as many more each time the list needs more: the reads
    // grow with the list, so scrolling to the end of a long one takes few of them.
    static constexpr int FirstPage = 64;

    // Replaces the rows with every row of the open recordset, in its order.
    void fill(const Recordset& records, const RecordColumns& columns);
    // Replaces the rows with the first page of a query that reads, in this order, the id, title,
    // category and date of each record.
    Result show(PagedQuery query);
    void clear();

    // Reads every row not read yet, in one go.
    void fetchAll();

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    const Row& row(int index) const { return m_rows.at(index); }
    qint64 idAt(int row) const override { return m_rows.at(row).id; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // Reading more rows failed; the list keeps what it has.
    void fetchFailed(const QString& message);

private:
    Result read(int count, QList<Row>& into);
    // Reads up to count more rows (all when negative) and adds them at the end.
    void append(int count);

    QStringList m_headings;
    QList<Row> m_rows;
    PagedQuery m_query;
};

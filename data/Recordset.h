#pragma once

#include "common/Result.h"
#include "data/Database.h"
#include "data/RecordQuery.h"
#include "data/Snapshot.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Visits the bound columns of a table in their physical order.
class FieldExchange
{
public:
    virtual ~FieldExchange() = default;
    virtual void field(const QString& column, qint32& value) = 0;
    virtual void field(const QString& column, double& value) = 0;
    virtual void field(const QString& column, QString& value) = 0;
    virtual void field(const QString& column, QDateTime& value) = 0;
};

// A table binding: the current row of a statement's result in typed members, and the writes
// that go with it (add a row, change the current row, delete it).
//
// Statements that begin "select * from" bind the result's columns by position, so a table's
// members must be exchanged in the table's column order. The first column is the key.
// Values from the user are always bound parameters, never pasted into statements.
// A recordset is a snapshot: the rows are read when it opens, so it holds no lock on the file
// while a window shows them and writes through it never disturb the walk.
class Recordset
{
public:
    Recordset(QString table, QSqlDatabase db);
    virtual ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    const QString& table() const { return m_table; }

    // Runs a select statement (the whole table when empty) with its bound values; the filter
    // and sort set before are added to it. The first row becomes current.
    Result open(const QString& statement = {}, const QVariantList& values = {});
    Result open(const Statement& statement) { return open(statement.sql, statement.values); }
    // Runs the open statement again, with the filter and sort as they are now.
    Result requery();
    void close();
    bool isOpen() const { return m_open; }
    bool isEOF() const { return !onRow(); }
    void moveNext();

    // A condition ANDed to the statement ("id=?") with its values, and an ORDER BY clause.
    void setFilter(const QString& filter, const QVariantList& values = {});
    void setSort(const QString& sort) { m_sort = sort; }

    // One column of the current row by name; null when there is no row or no such column.
    QVariant fieldValue(const QString& column) const;
    // Every column of the current row, in column order; empty when there is no row.
    QVariantList rowValues() const;

    // Every bound column and the value its member holds now, in column order, the key first.
    QList<std::pair<QString, QVariant>> memberValues();

    // Direct reading of the whole result, for filling long lists without loading every member.
    qsizetype rowCount() const { return m_rows.rowCount(); }
    const QStringList& columnNames() const { return m_rows.columns(); }
    int columnIndex(const QString& column) const { return int(m_rows.columns().indexOf(column)); }
    qint64 integerAt(qsizetype row, int column) const { return m_rows.integer(row, column); }
    QString textAt(qsizetype row, int column) const { return m_rows.text(row, column); }

    // Clears the members for a new row; update() then inserts it.
    void addNew();
    // Marks the current row for change; update() then writes the members to it.
    Result edit();
    // Writes the pending new row or change. A text that is not whole Unicode (a lone half of a
    // character pair, as a paste may bring) is refused with a message naming its field.
    Result update();
    // Deletes the current row.
    Result remove();

    // The key of the row last added by update().
    qint64 lastInsertedId() const { return m_lastInsertedId; }

protected:
    virtual void exchange(FieldExchange& exchange) = 0;

private:
    enum class Pending
    {
        None,
        Adding,
        Editing
    };

    void loadCurrentRow();
    bool onRow() const;
    QVariant currentKey() const { return m_rows.value(m_position, 0); }
    QString statementText() const;
    Result requeryThroughDriver(const QVariantList& values);
    Result fail(const QSqlQuery& query);

    QString m_table;
    QSqlDatabase m_db;
    Snapshot m_rows;
    qsizetype m_position = 0;
    QString m_statement;
    QVariantList m_values;
    QString m_filter;
    QVariantList m_filterValues;
    QString m_sort;
    bool m_open = false;
    Pending m_pending = Pending::None;
    qint64 m_lastInsertedId = 0;
};

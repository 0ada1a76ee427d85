#pragma once

#include "common/Result.h"
#include "data/Statement.h"

#include <functional>

struct pg_result;
struct sqlite3_stmt;

// The current row of a paged query: read straight from the SQLite file's engine, or from the
// server's client library, under the driver's connection.
class PagedRow
{
public:
    explicit PagedRow(sqlite3_stmt* statement) : m_statement(statement) {}
    PagedRow(const pg_result* result, int row) : m_result(result), m_row(row) {}
    qint64 integer(int column) const;
    QString text(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    const pg_result* m_result = nullptr;
    int m_row = 0;
};

// A list's select statement read a page at a time: the first screen of a long list comes at
// once, the rest as the list is scrolled or all of it is needed. Each page is its own short
// read, so nothing holds the database between pages. The statement gives the order; pages
// follow it by position.
class PagedQuery
{
public:
    PagedQuery() = default;
    explicit PagedQuery(Statement statement) : m_statement(std::move(statement)), m_atEnd(false) {}

    // Reads up to count more rows (every row left when count is negative), in order, handing
    // each to row.
    Result fetch(int count, const std::function<void(const PagedRow&)>& row);
    // Whether every row has been read.
    bool atEnd() const { return m_atEnd; }
    qsizetype fetched() const { return m_fetched; }

private:
    Statement m_statement;
    qsizetype m_fetched = 0;
    bool m_atEnd = true;
};

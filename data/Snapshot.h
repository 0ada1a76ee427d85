#pragma once

#include "common/Result.h"

#include <QStringList>
#include <QVariant>

#include <functional>
#include <string>
#include <vector>

class QSqlDatabase;
struct Statement;
struct sqlite3;
class QSqlQuery;
struct sqlite3_stmt;

// The rows of one select statement, read in full and kept compactly: numbers as they are, all
// text in one buffer. Values become Qt types only when a row is looked at, so reading a long
// result costs little more than stepping through it.
class Snapshot
{
public:
    Snapshot() = default;
    Snapshot(const Snapshot&) = default;
    Snapshot(Snapshot&&) = default;
    Snapshot& operator=(const Snapshot&) = default;
    Snapshot& operator=(Snapshot&&) = default;
    ~Snapshot();

    Result read(sqlite3* handle, const QString& statement, const QVariantList& values);
    // The same through a Qt query that has run (the server's connection).
    Result read(QSqlQuery& query);
    void clear();

    // The engine's handle under a Qt connection; null when it is not an open SQLite one.
    static sqlite3* handleOf(const QSqlDatabase& db);
    // Runs a select statement on db, handing each row to row until row returns false. Reads go
    // straight to the engine: the Qt driver copies every value twice on the way.
    static Result each(const QSqlDatabase& db, const Statement& statement,
                       const std::function<bool(sqlite3_stmt*)>& row);

    qsizetype rowCount() const { return m_columns.isEmpty() ? 0 : qsizetype(m_cells.size()) / m_columns.size(); }
    const QStringList& columns() const { return m_columns; }

    qint64 integer(qsizetype row, int column) const;
    double real(qsizetype row, int column) const;
    QString text(qsizetype row, int column) const;
    // The same text put into into, reusing its buffer where it has room and is not shared, so
    // that reading row after row into the same string allocates nothing.
    void textInto(qsizetype row, int column, QString& into) const;
    QVariant value(qsizetype row, int column) const;

private:
    struct Cell
    {
        enum class Type : quint8
        {
            Null,
            Integer,
            Real,
            Text
        } type = Type::Null;
        union {
            qint64 integer;
            double real;
            struct
            {
                qsizetype offset;
                int length;
            } text;
        };
    };
    const Cell* cell(qsizetype row, int column) const;

    // Buffers a snapshot let go of, kept for the next read on the same thread: reading into
    // memory already in use is quicker than into fresh pages from the system, which a large
    // buffer given back would be each time.
    struct Buffers
    {
        std::vector<Cell> cells;
        std::string text;
    };
    static Buffers& spare();
    void takeSpareBuffers();

    QStringList m_columns;
    std::vector<Cell> m_cells;
    std::string m_text;
};

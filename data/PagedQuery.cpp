#include "data/PagedQuery.h"

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/Snapshot.h"
#include "data/SqlDialect.h"

#include <QSqlDriver>
#include <QSqlError>

#include <libpq-fe.h>

#include <limits>
#include <memory>
#include <sqlite3.h>

qint64 PagedRow::integer(int column) const
{
    if (m_result)
        return QByteArray::fromRawData(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column))
            .toLongLong();
    return sqlite3_column_int64(m_statement, column);
}

QString PagedRow::text(int column) const
{
    if (m_result)
        return QString::fromUtf8(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column));
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column)),
                             sqlite3_column_bytes(m_statement, column));
}

namespace {

// The client library's connection under the driver's. A long list read through the driver costs
// a prepared statement's three round trips and a conversion of every value; read here it is one
// round trip and the text as the server sends it.
PGconn* serverHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    // The driver names the type as its header spells it.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

struct ResultDeleter
{
    void operator()(PGresult* result) const { PQclear(result); }
};

Result serverRows(PGconn* connection, const QSqlDatabase& db, const Statement& page,
                  const std::function<bool(const PagedRow&)>& take)
{
    QList<QByteArray> texts;
    QList<const char*> values;
    texts.reserve(page.values.size());
    for (const QVariant& value : page.values)
        texts << (value.isNull() ? QByteArray() : value.toString().toUtf8());
    for (qsizetype i = 0; i < texts.size(); ++i)
        values << (page.values.at(i).isNull() ? nullptr : texts.at(i).constData());
    const QByteArray sql = SqlDialect::numbered(SqlDialect::statement(db, page.sql));
    const std::unique_ptr<PGresult, ResultDeleter> result(PQexecParams(
        connection, sql.constData(), int(values.size()), nullptr, values.constData(), nullptr, nullptr, 0));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK) {
        const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        return DatabaseError::fromSqlError(QSqlError(QString(), QString::fromUtf8(PQerrorMessage(connection)).trimmed(),
                                                     QSqlError::StatementError,
                                                     state ? QString::fromLatin1(state) : QString()));
    }
    const int rows = PQntuples(result.get());
    for (int row = 0; row < rows && take(PagedRow(result.get(), row)); ++row) {
    }
    return {};
}

} // namespace

Result PagedQuery::fetch(int count, const std::function<void(const PagedRow&)>& row)
{
    if (m_atEnd || count == 0)
        return {};
    // One row more than asked for tells whether another page follows.
    Statement page = m_statement;
    page.sql += QStringLiteral(" LIMIT ? OFFSET ?");
    page.values << (count < 0 ? std::numeric_limits<qint64>::max() : qint64(count) + 1) << qint64(m_fetched);
    qsizetype read = 0;
    bool more = false;
    const auto take = [&](const PagedRow& current) {
        if (count >= 0 && read == count) {
            more = true;
            return false;
        }
        ++read;
        row(current);
        return true;
    };
    const QSqlDatabase db = Database::connection();
    if (SqlDialect::isServer(db)) {
        PGconn* connection = serverHandle(db);
        if (!connection)
            return DatabaseError::fromSqlError(
                QSqlError(QStringLiteral("no connection to the server"), {}, QSqlError::ConnectionError));
        if (Result r = serverRows(connection, db, page, take); !r)
            return r;
    } else if (Result r = Snapshot::each(db, page, [&](sqlite3_stmt* statement) { return take(PagedRow(statement)); });
               !r) {
        return r;
    }
    m_fetched += read;
    m_atEnd = !more;
    return {};
}

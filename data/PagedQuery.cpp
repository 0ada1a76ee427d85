#include "data/PagedQuery.h"

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/Snapshot.h"
#include "data/SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>

#include <limits>
#include <memory>
#include <sqlite3.h>

qint64 PagedRow::integer(int column) const
{
    if (m_query)
        return m_query->value(column).toLongLong();
    return sqlite3_column_int64(m_statement, column);
}

QString PagedRow::text(int column) const
{
    if (m_query)
        return m_query->value(column).toString();
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column)),
                             sqlite3_column_bytes(m_statement, column));
}

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
        QSqlQuery query(db);
        query.setForwardOnly(true);
        bool ran = SqlDialect::prepare(query, page.sql);
        for (const QVariant& value : std::as_const(page.values))
            query.addBindValue(value);
        ran = ran && query.exec();
        if (!ran)
            return DatabaseError::fromSqlError(query.lastError());
        while (query.next() && take(PagedRow(&query))) {
        }
    } else if (Result r = Snapshot::each(db, page, [&](sqlite3_stmt* statement) { return take(PagedRow(statement)); });
               !r) {
        return r;
    }
    m_fetched += read;
    m_atEnd = !more;
    return {};
}

#include "data/PagedQuery.h"

#include "data/Database.h"
#include "data/Snapshot.h"

#include <memory>
#include <sqlite3.h>

qint64 PagedRow::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString PagedRow::text(int column) const
{
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
    page.values << (count < 0 ? qint64(-1) : qint64(count) + 1) << qint64(m_fetched);
    qsizetype read = 0;
    bool more = false;
    const Result r = Snapshot::each(Database::connection(), page, [&](sqlite3_stmt* statement) {
        if (count >= 0 && read == count) {
            more = true;
            return false;
        }
        ++read;
        row(PagedRow(statement));
        return true;
    });
    if (!r)
        return r;
    m_fetched += read;
    m_atEnd = !more;
    return {};
}

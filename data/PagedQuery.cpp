#include "data/PagedQuery.h"

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/Snapshot.h"
#include "data/SqlDialect.h"

#include <QSqlDriver>
#include <QSqlError>

#include "common/LateLibrary.h"
#include "data/DataTr.h"

#include <libpq-fe.h>

#include <dlfcn.h>
#include <limits>
#include <memory>
#include <sqlite3.h>
#include <type_traits>

namespace {

// The functions of the PostgreSQL client library a list read uses. The library is opened on the
// first read from a server: by then the driver has loaded it, so this finds it in the process.
// Linking it would map it, and the TLS and Kerberos libraries it needs, at every program's start.
struct ClientLibrary
{
    decltype(&PQexecParams) execParams = nullptr;
    decltype(&PQresultStatus) resultStatus = nullptr;
    decltype(&PQresultErrorField) resultErrorField = nullptr;
    decltype(&PQerrorMessage) errorMessage = nullptr;
    decltype(&PQntuples) ntuples = nullptr;
    decltype(&PQgetvalue) getvalue = nullptr;
    decltype(&PQgetlength) getlength = nullptr;
    decltype(&PQclear) clear = nullptr;
};

constexpr const char* ClientLibraryFile = "libpq.so.5";

// The library's functions, or null when it cannot be opened.
const ClientLibrary* client()
{
    static const std::unique_ptr<ClientLibrary> library = []() -> std::unique_ptr<ClientLibrary> {
        auto functions = std::make_unique<ClientLibrary>();
        const auto resolve = [](auto& function, const char* name) {
            function = lateFunction<std::remove_reference_t<decltype(function)>>(ClientLibraryFile, name);
            return function != nullptr;
        };
        if (!resolve(functions->execParams, "PQexecParams") || !resolve(functions->resultStatus, "PQresultStatus") ||
            !resolve(functions->resultErrorField, "PQresultErrorField") ||
            !resolve(functions->errorMessage, "PQerrorMessage") || !resolve(functions->ntuples, "PQntuples") ||
            !resolve(functions->getvalue, "PQgetvalue") || !resolve(functions->getlength, "PQgetlength") ||
            !resolve(functions->clear, "PQclear"))
            return nullptr;
        return functions;
    }();
    return library.get();
}

} // namespace

qint64 PagedRow::integer(int column) const
{
    if (m_result) {
        const ClientLibrary* pq = client();
        return QByteArray::fromRawData(pq->getvalue(m_result, m_row, column), pq->getlength(m_result, m_row, column))
            .toLongLong();
    }
    return sqlite3_column_int64(m_statement, column);
}

QString PagedRow::text(int column) const
{
    if (m_result) {
        const ClientLibrary* pq = client();
        return QString::fromUtf8(pq->getvalue(m_result, m_row, column), pq->getlength(m_result, m_row, column));
    }
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
    void operator()(PGresult* result) const { client()->clear(result); }
};

Result serverRows(PGconn* connection, const QSqlDatabase& db, const Statement& page,
                  const std::function<bool(const PagedRow&)>& take)
{
    const ClientLibrary* pq = client();
    if (!pq)
        return Result::failure(DataTr::tr("无法加载数据库服务器的客户端程序库 %1，记录没有读出。"
                                          "请重新运行安装脚本后再打开本程序。")
                                   .arg(QString::fromLatin1(ClientLibraryFile)),
                               QString::fromLocal8Bit(dlerror()));
    QList<QByteArray> texts;
    QList<const char*> values;
    texts.reserve(page.values.size());
    for (const QVariant& value : page.values)
        texts << (value.isNull() ? QByteArray() : value.toString().toUtf8());
    for (qsizetype i = 0; i < texts.size(); ++i)
        values << (page.values.at(i).isNull() ? nullptr : texts.at(i).constData());
    const QByteArray sql = SqlDialect::numbered(SqlDialect::statement(db, page.sql));
    const std::unique_ptr<PGresult, ResultDeleter> result(pq->execParams(
        connection, sql.constData(), int(values.size()), nullptr, values.constData(), nullptr, nullptr, 0));
    if (pq->resultStatus(result.get()) != PGRES_TUPLES_OK) {
        const char* state = result ? pq->resultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        return DatabaseError::fromSqlError(
            QSqlError(QString(), QString::fromUtf8(pq->errorMessage(connection)).trimmed(), QSqlError::StatementError,
                      state ? QString::fromLatin1(state) : QString()));
    }
    const int rows = pq->ntuples(result.get());
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

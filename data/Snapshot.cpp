#include "data/Snapshot.h"
#include "data/DataTr.h"
#include "data/DatabaseError.h"
#include "data/Statement.h"

#include <QSqlDatabase>
#include <QSqlDriver>

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>
#include <sqlite3.h>

namespace {

Result engineError(sqlite3* handle)
{
    return DatabaseError::fromCode(sqlite3_extended_errcode(handle), QString::fromUtf8(sqlite3_errmsg(handle)));
}

int bind(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
}

using StatementHandle = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

// The statement prepared with its values bound.
ResultOf<StatementHandle> prepare(sqlite3* handle, const QString& statement, const QVariantList& values)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray sql = statement.toUtf8();
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
        return engineError(handle);
    StatementHandle query(raw, sqlite3_finalize);
    if (sqlite3_bind_parameter_count(raw) != values.size())
        return Result::failure(
            DataTr::tr("程序内部错误：查询语句无法执行。请重新启动程序；如果问题一直存在，请告诉软件作者。"),
            DataTr::tr("语句需要 %1 个值，给了 %2 个。").arg(sqlite3_bind_parameter_count(raw)).arg(values.size()));
    for (int i = 0; i < values.size(); ++i) {
        if (bind(raw, i + 1, values.at(i)) != SQLITE_OK)
            return engineError(handle);
    }
    return query;
}

} // namespace

sqlite3* Snapshot::handleOf(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

Result Snapshot::each(const QSqlDatabase& db, const Statement& statement, const std::function<bool(sqlite3_stmt*)>& row)
{
    sqlite3* handle = handleOf(db);
    if (!handle)
        return Result::failure(DataTr::tr("数据库没有打开。"));
    ResultOf<StatementHandle> prepared = prepare(handle, statement.sql, statement.values);
    if (!prepared)
        return prepared;
    sqlite3_stmt* raw = prepared->get();
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        if (!row(raw))
            return {};
    }
    if (rc != SQLITE_DONE)
        return engineError(handle);
    return {};
}

Snapshot::~Snapshot()
{
    // Only buffers of moderate size are kept, so that one very long read does not hold its
    // memory for as long as the program runs.
    constexpr size_t Largest = 8 * 1024 * 1024;
    Buffers& kept = spare();
    if (m_cells.capacity() > kept.cells.capacity() && m_cells.capacity() * sizeof(Cell) <= Largest) {
        m_cells.clear();
        kept.cells.swap(m_cells);
    }
    if (m_text.capacity() > kept.text.capacity() && m_text.capacity() <= Largest) {
        m_text.clear();
        kept.text.swap(m_text);
    }
}

Snapshot::Buffers& Snapshot::spare()
{
    // Never destroyed: a snapshot may still let go of its buffers while the program ends.
    thread_local auto* buffers = new Buffers;
    return *buffers;
}

void Snapshot::takeSpareBuffers()
{
    Buffers& kept = spare();
    if (m_cells.capacity() < kept.cells.capacity())
        m_cells.swap(kept.cells);
    if (m_text.capacity() < kept.text.capacity())
        m_text.swap(kept.text);
    m_cells.clear();
    m_text.clear();
}

Result Snapshot::read(sqlite3* handle, const QString& statement, const QVariantList& values)
{
    clear();
    takeSpareBuffers();
    ResultOf<StatementHandle> prepared = prepare(handle, statement, values);
    if (!prepared)
        return prepared;
    sqlite3_stmt* raw = prepared->get();

    const int count = sqlite3_column_count(raw);
    for (int i = 0; i < count; ++i)
        m_columns << QString::fromUtf8(sqlite3_column_name(raw, i));
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        for (int i = 0; i < count; ++i) {
            Cell& c = m_cells.emplace_back();
            switch (sqlite3_column_type(raw, i)) {
            case SQLITE_INTEGER:
                c.type = Cell::Type::Integer;
                c.integer = sqlite3_column_int64(raw, i);
                break;
            case SQLITE_FLOAT:
                c.type = Cell::Type::Real;
                c.real = sqlite3_column_double(raw, i);
                break;
            case SQLITE_NULL:
                break;
            default: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
                c.type = Cell::Type::Text;
                c.text.offset = qsizetype(m_text.size());
                c.text.length = sqlite3_column_bytes(raw, i);
                m_text.append(text, size_t(c.text.length));
                break;
            }
            }
        }
    }
    if (rc != SQLITE_DONE) {
        const Result error = engineError(handle);
        clear();
        return error;
    }
    return {};
}

void Snapshot::clear()
{
    m_columns.clear();
    m_cells.clear();
    m_text.clear();
}

const Snapshot::Cell* Snapshot::cell(qsizetype row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns.size())
        return nullptr;
    return &m_cells[size_t(row * m_columns.size() + column)];
}

qint64 Snapshot::integer(qsizetype row, int column) const
{
    const Cell* c = cell(row, column);
    if (!c)
        return 0;
    switch (c->type) {
    case Cell::Type::Integer:
        return c->integer;
    case Cell::Type::Real:
        return qint64(c->real);
    case Cell::Type::Text:
        return text(row, column).toLongLong();
    case Cell::Type::Null:
        break;
    }
    return 0;
}

double Snapshot::real(qsizetype row, int column) const
{
    const Cell* c = cell(row, column);
    if (!c)
        return 0;
    switch (c->type) {
    case Cell::Type::Integer:
        return double(c->integer);
    case Cell::Type::Real:
        return c->real;
    case Cell::Type::Text:
        return text(row, column).toDouble();
    case Cell::Type::Null:
        break;
    }
    return 0;
}

QString Snapshot::text(qsizetype row, int column) const
{
    const Cell* c = cell(row, column);
    if (!c)
        return {};
    switch (c->type) {
    case Cell::Type::Integer:
        return QString::number(c->integer);
    case Cell::Type::Real:
        return QString::number(c->real);
    case Cell::Type::Text:
        return QString::fromUtf8(m_text.data() + c->text.offset, c->text.length);
    case Cell::Type::Null:
        break;
    }
    return {};
}

namespace {

bool continuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes well-formed UTF-8 into out, which has room for as many units as there are bytes; gives
// the units written. Gives -1 for anything else (a broken sequence, a noncharacter, a leading
// byte order mark), which QString::fromUtf8 then decodes in its own way.
qsizetype decodeUtf8(const uchar* in, qsizetype size, char16_t* out)
{
    if (size >= 3 && in[0] == 0xEF && in[1] == 0xBB && in[2] == 0xBF)
        return -1;
    char16_t* next = out;
    for (qsizetype i = 0; i < size;) {
        const uchar lead = in[i];
        if (lead < 0x80) {
            *next++ = lead;
            ++i;
            continue;
        }
        char32_t code = 0;
        qsizetype length = 0;
        if (lead >= 0xC2 && lead < 0xE0) {
            code = lead & 0x1F;
            length = 2;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            code = lead & 0x0F;
            length = 3;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            code = lead & 0x07;
            length = 4;
        } else {
            return -1;
        }
        if (size - i < length)
            return -1;
        for (qsizetype k = 1; k < length; ++k) {
            if (!continuation(in[i + k]))
                return -1;
            code = (code << 6) | (in[i + k] & 0x3F);
        }
        const char32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < shortest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || (code & 0xFFFE) == 0xFFFE ||
            (code >= 0xFDD0 && code <= 0xFDEF))
            return -1;
        if (code >= 0x10000) {
            *next++ = QChar::highSurrogate(code);
            *next++ = QChar::lowSurrogate(code);
        } else {
            *next++ = char16_t(code);
        }
        i += length;
    }
    return next - out;
}

} // namespace

void Snapshot::textInto(qsizetype row, int column, QString& into) const
{
    const Cell* c = cell(row, column);
    if (!c || c->type != Cell::Type::Text) {
        into = text(row, column);
        return;
    }
    const char* bytes = m_text.data() + c->text.offset;
    // UTF-16 never takes more units than UTF-8 takes bytes.
    into.resize(c->text.length);
    const qsizetype units =
        decodeUtf8(reinterpret_cast<const uchar*>(bytes), c->text.length, reinterpret_cast<char16_t*>(into.data()));
    if (units < 0)
        into = QString::fromUtf8(bytes, c->text.length);
    else
        into.truncate(units);
}

QVariant Snapshot::value(qsizetype row, int column) const
{
    const Cell* c = cell(row, column);
    if (!c)
        return {};
    switch (c->type) {
    case Cell::Type::Integer:
        return c->integer;
    case Cell::Type::Real:
        return c->real;
    case Cell::Type::Text:
        return text(row, column);
    case Cell::Type::Null:
        break;
    }
    return {};
}

Result Snapshot::read(QSqlQuery& query)
{
    clear();
    takeSpareBuffers();
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        m_columns << record.fieldName(i);
    while (query.next()) {
        for (int i = 0; i < record.count(); ++i) {
            const QVariant value = query.value(i);
            Cell& c = m_cells.emplace_back();
            if (value.isNull())
                continue;
            switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                c.type = Cell::Type::Integer;
                c.integer = value.toLongLong();
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                c.type = Cell::Type::Real;
                c.real = value.toDouble();
                break;
            default: {
                // Times are kept as the file keeps them, so every reader sees one form.
                const QByteArray text =
                    value.typeId() == QMetaType::QDateTime
                        ? value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8()
                        : value.toString().toUtf8();
                c.type = Cell::Type::Text;
                c.text.offset = qsizetype(m_text.size());
                c.text.length = int(text.size());
                m_text.append(text.constData(), size_t(text.size()));
                break;
            }
            }
        }
    }
    if (query.lastError().isValid()) {
        const Result error = DatabaseError::fromSqlError(query.lastError());
        clear();
        return error;
    }
    return {};
}

#include "data/Recordset.h"
#include "data/ColumnLabels.h"
#include "data/DataTr.h"
#include "data/DatabaseError.h"
#include "data/SqlDialect.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

namespace {

// Fills the members from a result row by position.
class LoadExchange : public FieldExchange
{
public:
    LoadExchange(const Snapshot& rows, qsizetype row) : m_rows(rows), m_row(row) {}
    void field(const QString&, qint32& value) override { value = qint32(m_rows.integer(m_row, m_column++)); }
    void field(const QString&, double& value) override { value = m_rows.real(m_row, m_column++); }
    void field(const QString&, QString& value) override { m_rows.textInto(m_row, m_column++, value); }
    void field(const QString&, QDateTime& value) override
    {
        value = QDateTime::fromString(m_rows.text(m_row, m_column++), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

private:
    const Snapshot& m_rows;
    qsizetype m_row;
    int m_column = 0;
};

// Resets the members as a new row starts: empty texts, zero numbers.
class ClearExchange : public FieldExchange
{
public:
    void field(const QString&, qint32& value) override { value = 0; }
    void field(const QString&, double& value) override { value = 0; }
    void field(const QString&, QString& value) override { value.clear(); }
    void field(const QString&, QDateTime& value) override { value = {}; }
};

// Collects the column names and member values for a write; the key column is left out.
class StoreExchange : public FieldExchange
{
public:
    void field(const QString& column, qint32& value) override { add(column, value); }
    void field(const QString& column, double& value) override { add(column, value); }
    void field(const QString& column, QString& value) override
    {
        if (!value.isValidUtf16() && brokenColumn.isEmpty())
            brokenColumn = column;
        add(column, value.isNull() ? QStringLiteral("") : value);
    }
    void field(const QString& column, QDateTime& value) override
    {
        add(column, value.isValid() ? QVariant(value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : QVariant());
    }

    QString keyColumn;
    QStringList columns;
    QVariantList values;
    // The first text column whose member is not whole Unicode.
    QString brokenColumn;

private:
    void add(const QString& column, const QVariant& value)
    {
        if (keyColumn.isEmpty()) {
            keyColumn = column;
            return;
        }
        columns << QLatin1Char('[') + column + QLatin1Char(']');
        values << value;
    }
};

// Reads every member as it is, the key included.
class MemberExchange : public FieldExchange
{
public:
    void field(const QString& column, qint32& value) override { values.append({column, value}); }
    void field(const QString& column, double& value) override { values.append({column, value}); }
    void field(const QString& column, QString& value) override { values.append({column, value}); }
    void field(const QString& column, QDateTime& value) override { values.append({column, value}); }

    QList<std::pair<QString, QVariant>> values;
};

} // namespace

Recordset::Recordset(QString table, QSqlDatabase db) : m_table(std::move(table)), m_db(std::move(db)) {}

Recordset::~Recordset() = default;

Result Recordset::open(const QString& statement, const QVariantList& values)
{
    close();
    m_statement = statement.isEmpty() ? QStringLiteral("select * from [") + m_table + QLatin1Char(']') : statement;
    m_values = values;
    return requery();
}

Result Recordset::requery()
{
    close();
    QVariantList values = m_values;
    values += m_filterValues;
    if (SqlDialect::isServer(m_db))
        return requeryThroughDriver(values);
    sqlite3* handle = Snapshot::handleOf(m_db);
    if (!handle)
        return Result::failure(DataTr::tr("数据库没有打开。"));
    // Reads go straight to the SQLite handle under the Qt connection: the Qt driver copies
    // every value twice on the way.
    if (Result r = m_rows.read(handle, statementText(), values); !r) {
        close();
        return r;
    }
    m_open = true;
    loadCurrentRow();
    return {};
}

Result Recordset::requeryThroughDriver(const QVariantList& values)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(SqlDialect::statement(m_db, statementText())))
        return fail(query);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return fail(query);
    if (Result r = m_rows.read(query); !r)
        return r;
    m_open = true;
    loadCurrentRow();
    return {};
}

QString Recordset::statementText() const
{
    QString text = m_statement;
    if (!m_filter.isEmpty()) {
        const bool hasWhere = text.contains(QStringLiteral(" where "), Qt::CaseInsensitive);
        text += (hasWhere ? QStringLiteral(" AND (") : QStringLiteral(" WHERE (")) + m_filter + QLatin1Char(')');
    }
    if (!m_sort.isEmpty())
        text += QStringLiteral(" ORDER BY ") + m_sort;
    return text;
}

void Recordset::close()
{
    m_rows.clear();
    m_position = 0;
    m_open = false;
    m_pending = Pending::None;
}

bool Recordset::onRow() const
{
    return m_open && m_position < m_rows.rowCount();
}

void Recordset::moveNext()
{
    if (!onRow())
        return;
    ++m_position;
    loadCurrentRow();
}

void Recordset::loadCurrentRow()
{
    if (!onRow())
        return;
    LoadExchange load(m_rows, m_position);
    exchange(load);
}

void Recordset::setFilter(const QString& filter, const QVariantList& values)
{
    m_filter = filter;
    m_filterValues = values;
}

QVariant Recordset::fieldValue(const QString& column) const
{
    if (!onRow())
        return {};
    return m_rows.value(m_position, int(m_rows.columns().indexOf(column)));
}

QVariantList Recordset::rowValues() const
{
    QVariantList values;
    if (!onRow())
        return values;
    for (int column = 0; column < m_rows.columns().size(); ++column)
        values << m_rows.value(m_position, column);
    return values;
}

QList<std::pair<QString, QVariant>> Recordset::memberValues()
{
    MemberExchange members;
    exchange(members);
    return members.values;
}

void Recordset::addNew()
{
    ClearExchange clear;
    exchange(clear);
    m_pending = Pending::Adding;
}

Result Recordset::edit()
{
    if (!onRow())
        return Result::failure(DataTr::tr("没有当前记录，无法修改。"));
    m_pending = Pending::Editing;
    return {};
}

Result Recordset::update()
{
    StoreExchange store;
    exchange(store);
    // SQLite would turn such a text into replacement marks that grow at every later save.
    if (!store.brokenColumn.isEmpty())
        return Result::failure(DataTr::tr("“%1”里有一个无法保存的残缺字符（常见于从别处粘贴来的文字）。"
                                          "请删去这个字符或重新输入后再保存；记录没有改动。")
                                   .arg(ColumnLabels::label(m_table, store.brokenColumn)));
    QSqlQuery write(m_db);
    bool prepared = false;
    if (m_pending == Pending::Adding) {
        const QString placeholders = QStringList(store.columns.size(), QStringLiteral("?")).join(QStringLiteral(", "));
        prepared = write.prepare(
            SqlDialect::statement(m_db, QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
                                            .arg(m_table, store.columns.join(QStringLiteral(", ")), placeholders)));
    } else if (m_pending == Pending::Editing) {
        prepared = write.prepare(SqlDialect::statement(
            m_db, QStringLiteral("UPDATE [%1] SET %2 = ? WHERE [%3] = ?")
                      .arg(m_table, store.columns.join(QStringLiteral(" = ?, ")), store.keyColumn)));
        store.values << currentKey();
    } else {
        return Result::failure(DataTr::tr("没有要保存的记录。"));
    }
    // A statement the engine cannot prepare (a table or column missing) is a failure, never
    // a write that silently does nothing.
    if (!prepared)
        return fail(write);
    for (const QVariant& value : std::as_const(store.values))
        write.addBindValue(value);
    if (!write.exec())
        return fail(write);
    if (m_pending == Pending::Adding)
        m_lastInsertedId = write.lastInsertId().toLongLong();
    m_pending = Pending::None;
    return {};
}

Result Recordset::remove()
{
    if (!onRow())
        return Result::failure(DataTr::tr("没有当前记录，无法删除。"));
    StoreExchange store;
    exchange(store);
    QSqlQuery write(m_db);
    if (!write.prepare(SqlDialect::statement(
            m_db, QStringLiteral("DELETE FROM [%1] WHERE [%2] = ?").arg(m_table, store.keyColumn))))
        return fail(write);
    write.addBindValue(currentKey());
    if (!write.exec())
        return fail(write);
    return {};
}

Result Recordset::fail(const QSqlQuery& query)
{
    return DatabaseError::fromSqlError(query.lastError());
}

#include "Recordset.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

// Fills the members from a result row by position.
class LoadExchange : public FieldExchange
{
public:
    explicit LoadExchange(const QSqlQuery& query) : m_query(query) {}
    void field(const QString&, qint32& value) override { value = next().toInt(); }
    void field(const QString&, double& value) override { value = next().toDouble(); }
    void field(const QString&, QString& value) override
    {
        const QVariant v = next();
        value = v.isNull() ? QString() : v.toString();
    }
    void field(const QString&, QDateTime& value) override
    {
        value = QDateTime::fromString(next().toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

private:
    QVariant next() { return m_query.value(m_position++); }
    const QSqlQuery& m_query;
    int m_position = 0;
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
        add(column, value.isNull() ? QStringLiteral("") : value);
    }
    void field(const QString& column, QDateTime& value) override
    {
        add(column, value.isValid() ? QVariant(value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : QVariant());
    }

    QString keyColumn;
    QStringList columns;
    QVariantList values;

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

} // namespace

Recordset::Recordset(QString table, QSqlDatabase db) : m_table(std::move(table)), m_db(std::move(db)), m_query(m_db) {}

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
    m_query = QSqlQuery(m_db);
    m_query.setForwardOnly(true);
    m_open = false;
    m_onRow = false;
    m_pending = Pending::None;
    if (!m_query.prepare(statementText()))
        return fail(m_query);
    for (const QVariant& value : std::as_const(m_values))
        m_query.addBindValue(value);
    for (const QVariant& value : std::as_const(m_filterValues))
        m_query.addBindValue(value);
    if (!m_query.exec())
        return fail(m_query);
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
    m_query.finish();
    m_open = false;
    m_onRow = false;
    m_pending = Pending::None;
}

void Recordset::moveNext()
{
    if (!m_onRow)
        return;
    loadCurrentRow();
}

void Recordset::loadCurrentRow()
{
    m_onRow = m_query.next();
    if (!m_onRow) {
        m_currentKey = {};
        return;
    }
    m_currentKey = m_query.value(0);
    LoadExchange load(m_query);
    exchange(load);
}

void Recordset::setFilter(const QString& filter, const QVariantList& values)
{
    m_filter = filter;
    m_filterValues = values;
}

QVariant Recordset::fieldValue(const QString& column) const
{
    if (!m_onRow)
        return {};
    return m_query.record().value(column);
}

void Recordset::addNew()
{
    ClearExchange clear;
    exchange(clear);
    m_pending = Pending::Adding;
}

Result Recordset::edit()
{
    if (!m_onRow)
        return Result::failure(QStringLiteral("没有当前记录，无法修改。"));
    m_pending = Pending::Editing;
    return {};
}

Result Recordset::update()
{
    StoreExchange store;
    exchange(store);
    QSqlQuery write(m_db);
    if (m_pending == Pending::Adding) {
        const QString placeholders = QStringList(store.columns.size(), QStringLiteral("?")).join(QStringLiteral(", "));
        write.prepare(QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
                          .arg(m_table, store.columns.join(QStringLiteral(", ")), placeholders));
    } else if (m_pending == Pending::Editing) {
        write.prepare(QStringLiteral("UPDATE [%1] SET %2 = ? WHERE [%3] = ?")
                          .arg(m_table, store.columns.join(QStringLiteral(" = ?, ")), store.keyColumn));
        store.values << m_currentKey;
    } else {
        return Result::failure(QStringLiteral("没有要保存的记录。"));
    }
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
    if (!m_onRow)
        return Result::failure(QStringLiteral("没有当前记录，无法删除。"));
    StoreExchange store;
    exchange(store);
    QSqlQuery write(m_db);
    write.prepare(QStringLiteral("DELETE FROM [%1] WHERE [%2] = ?").arg(m_table, store.keyColumn));
    write.addBindValue(m_currentKey);
    if (!write.exec())
        return fail(write);
    return {};
}

Result Recordset::fail(const QSqlQuery& query)
{
    const QSqlError error = query.lastError();
    return Result::failure(error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

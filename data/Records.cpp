#include "data/Records.h"
#include "data/SqlDialect.h"

#include "data/ColumnLabels.h"
#include "data/DataTr.h"
#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/Recordset.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Records {

Result add(Recordset& records, const Writer& write)
{
    records.addNew();
    write(records);
    return records.update();
}

RowVersion versionOf(const Recordset& records)
{
    return records.rowValues();
}

namespace {

// The members' values, stamp columns left out.
QVariantList contentOf(Recordset& records, const QStringList& stampColumns)
{
    QVariantList values;
    for (const auto& [column, value] : records.memberValues()) {
        if (!stampColumns.contains(column))
            values << value;
    }
    return values;
}

QString asText(const QVariant& value)
{
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

} // namespace

ResultOf<ChangeOutcome> change(Recordset& records, const QString& keyColumn, qint64 id, const Writer& write,
                               const QString& goneMessage, const RowVersion& shown, const QStringList& stampColumns)
{
    // The check and the write run in one transaction, so no other program can change the row
    // between them.
    TransactionGuard transaction;
    records.setFilter(QLatin1Char('[') + keyColumn + QStringLiteral("]=?"), {id});
    if (Result r = records.open(); !r)
        return r;
    if (records.isEOF())
        return Result::failure(goneMessage);
    // A save that changes nothing writes nothing, also where another program changed the row
    // in the same way meanwhile.
    const QVariantList stored = contentOf(records, stampColumns);
    if (Result r = records.edit(); !r)
        return r;
    write(records);
    if (contentOf(records, stampColumns) == stored)
        return ChangeOutcome::Unchanged;
    if (!shown.isEmpty() && versionOf(records) != shown) {
        // The members go back to the stored row, so the caller can tell what differs.
        if (Result r = records.requery(); !r)
            return r;
        return ChangeOutcome::ChangedMeanwhile;
    }
    if (Result r = records.update(); !r)
        return r;
    if (Result r = transaction.commit(); !r)
        return r;
    return ChangeOutcome::Written;
}

QList<FieldDifference> differences(Recordset& records, const Writer& write)
{
    const QList<std::pair<QString, QVariant>> stored = records.memberValues();
    write(records);
    const QList<std::pair<QString, QVariant>> yours = records.memberValues();
    QList<FieldDifference> list;
    for (qsizetype i = 1; i < stored.size() && i < yours.size(); ++i) {
        if (stored[i].second != yours[i].second)
            list.append({stored[i].first, stored[i].second, yours[i].second});
    }
    return list;
}

QString excerpt(const QString& text, const QString& other, int width)
{
    qsizetype from = 0;
    while (from < text.size() && from < other.size() && text[from] == other[from])
        ++from;
    // A little of what both share is kept, so the place can be found in the field.
    from = from > width / 3 ? from - width / 3 : 0;
    if (from > 0 && text[from].isLowSurrogate())
        --from;
    qsizetype length = std::min<qsizetype>(width, text.size() - from);
    if (from + length < text.size() && text[from + length - 1].isHighSurrogate())
        --length;
    QString part = text.mid(from, length);
    if (from > 0)
        part.prepend(QStringLiteral("…"));
    if (from + length < text.size())
        part.append(QStringLiteral("…"));
    return part;
}

QString describe(const QString& table, const QList<FieldDifference>& differences)
{
    const auto quotedExcerpt = [](const QString& text, const QString& other) {
        return text.isEmpty() ? DataTr::tr("（空）") : QStringLiteral("“") + excerpt(text, other) + QStringLiteral("”");
    };
    QStringList lines;
    for (const FieldDifference& d : differences) {
        const QString stored = asText(d.stored);
        const QString yours = asText(d.yours);
        lines << ColumnLabels::label(table, d.column) + QStringLiteral("：")
              << DataTr::tr("    现在保存的：%1").arg(quotedExcerpt(stored, yours))
              << DataTr::tr("    您填写的：%1").arg(quotedExcerpt(yours, stored));
    }
    return lines.join(QLatin1Char('\n'));
}

Result deleteByIds(const QString& table, const QString& keyColumn, const QList<qint64>& ids, const QString& goneMessage)
{
    TransactionGuard transaction;
    QSqlQuery query(Database::connection());
    if (!SqlDialect::prepare(query, QStringLiteral("DELETE FROM [") + table + QStringLiteral("] WHERE [") + keyColumn +
                                        QStringLiteral("]=?")))
        return DatabaseError::fromSqlError(query.lastError());
    for (const qint64 id : ids) {
        query.addBindValue(id);
        if (!query.exec())
            return DatabaseError::fromSqlError(query.lastError());
        if (!goneMessage.isEmpty() && query.numRowsAffected() < 1)
            return Result::failure(goneMessage);
    }
    return transaction.commit();
}

} // namespace Records

#pragma once

#include "common/Result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>

class Recordset;

// The writes every editing page makes to its table, each in one transaction.
namespace Records {

// Fills a record's members for a write.
using Writer = std::function<void(Recordset&)>;

// Adds a row whose members the writer fills.
Result add(Recordset& records, const Writer& write);

// A row's values as they were read, to tell later whether another program changed it.
using RowVersion = QVariantList;
RowVersion versionOf(const Recordset& records);

enum class ChangeOutcome
{
    Written,
    // The writer left every column as it is stored (stamp columns aside): nothing was written.
    Unchanged,
    // The row is no longer as it was shown: nothing was written, and records stands on the row
    // as it is now.
    ChangedMeanwhile
};

// Changes the row whose key column holds id, when it is still as shown (any row when shown is
// empty). When the row is gone, nothing is written and the failure says goneMessage. Stamp
// columns are those every save sets by itself (the day of the save): a change of them alone
// is no change, and nothing is written.
ResultOf<ChangeOutcome> change(Recordset& records, const QString& keyColumn, qint64 id, const Writer& write,
                               const QString& goneMessage, const RowVersion& shown = {},
                               const QStringList& stampColumns = {});

// One column where what is stored differs from what the writer would store.
struct FieldDifference
{
    QString column;
    QVariant stored;
    QVariant yours;
};
// The columns of the current row of records that the writer would change, in column order.
// The members then hold the writer's values.
QList<FieldDifference> differences(Recordset& records, const Writer& write);
// The differences for the user: each field by its label, the stored value against the user's,
// long texts shown around the place where they part.
QString describe(const QString& table, const QList<FieldDifference>& differences);
// At most width characters of text from where it starts to differ from other, marked "…" where
// cut.
QString excerpt(const QString& text, const QString& other, int width = 60);

// Deletes the rows of table whose key column holds one of ids: all of them, or none. With a
// goneMessage, a row that is no longer there fails the whole deletion with that message.
Result deleteByIds(const QString& table, const QString& keyColumn, const QList<qint64>& ids,
                   const QString& goneMessage = {});

} // namespace Records

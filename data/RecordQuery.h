#pragma once

#include "common/Result.h"
#include "data/Statement.h"

// The columns of a record table that the record pages search and list by.
struct RecordColumns
{
    QString table;
    QString user = QStringLiteral("username");
    QString category = QStringLiteral("leixing");
    QString title = QStringLiteral("title");
    QString date = QStringLiteral("riqi");
};

// The search group's choice: full text, by category or by date; none when no radio is chosen.
enum class SearchKind
{
    None = -1,
    FullText = 0,
    ByCategory = 1,
    ByDate = 2
};

struct SearchInput
{
    SearchKind kind = SearchKind::None;
    QString user;
    QString category;
    QString keyword;
    QString dateFrom;
    QString dateTo;
};

namespace RecordQuery {

// The search statement for the choice; values typed by the user are bound, never pasted.
// A date range whose ends are not date keys (yyyymmdd) is refused with a message.
ResultOf<Statement> search(const RecordColumns& columns, const SearchInput& input);

// A child's records of one category, newest first.
Statement byUserAndCategory(const RecordColumns& columns, const QString& user, const QString& category);

// One record by its id.
Statement byId(const RecordColumns& columns, qint64 id);

// A search or display statement above reading only what the record list shows: the id, title,
// category and date of each record, in that order.
Statement listing(const RecordColumns& columns, Statement statement);

} // namespace RecordQuery

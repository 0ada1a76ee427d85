#pragma once

#include "data/Statement.h"

// The statements of the knowledge libraries. Every article table has the columns id, title,
// connect (the text) and leixing (the type); the disease table adds time, its entry date key.
namespace ArticleQuery {

Statement ofType(const QString& table, const QString& type);
Statement ofTypeWithTitle(const QString& table, const QString& type, const QString& keyword);
Statement withTitle(const QString& table, const QString& keyword);
Statement ofTypeEnteredBetween(const QString& table, const QString& type, int from, int to);
Statement byId(const QString& table, qint64 id);

} // namespace ArticleQuery

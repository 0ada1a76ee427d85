#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// A statement with the values bound to its placeholders. User values are always bound, never
// pasted into the text.
struct Statement
{
    QString sql;
    QVariantList values;
};

// A statement that begins "select * " reading only the named columns (in brackets), in that
// order: what a list shows, without the long texts it does not.
Statement selecting(const QStringList& columns, Statement statement);

// Keyword searches: what the user types is matched literally, so "50%" finds only texts that
// contain "50%", and "%" or "_" alone are no wildcards.
namespace Like {

// "column LIKE ? ESCAPE '\'": the condition to bind a pattern below to.
QString condition(const QString& column);
// The pattern that finds text containing keyword, its wildcards escaped.
QString containing(const QString& keyword);
// The pattern that finds text starting with prefix, its wildcards escaped.
QString startingWith(const QString& prefix);
// text with its wildcards escaped, to build a pattern piece by piece ("2005" + literal("\\") + "__").
QString literal(const QString& text);

} // namespace Like

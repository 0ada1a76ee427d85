#pragma once

#include <QString>

// Patterns for LIKE with a user's text inside: the text's own % and _ (and the escape character
// itself) match only themselves. Statements using them end the comparison with Escape.
namespace LikePattern {

inline const QString Escape = QStringLiteral(" ESCAPE '\\'");

// The text with \, % and _ escaped by a backslash.
QString escaped(const QString& text);
// A pattern matching any value that contains text.
QString containing(const QString& text);

} // namespace LikePattern

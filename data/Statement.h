#pragma once

#include <QString>
#include <QVariantList>

// A statement with the values bound to its placeholders. User values are always bound, never
// pasted into the text.
struct Statement
{
    QString sql;
    QVariantList values;
};

namespace Like {

// The LIKE pattern that finds text containing keyword.
QString containing(const QString& keyword);

} // namespace Like

#include "data/Statement.h"

namespace Like {

namespace {

QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    text.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return text;
}

} // namespace

QString condition(const QString& column)
{
    return column + QStringLiteral(" LIKE ? ESCAPE '\\'");
}

QString containing(const QString& keyword)
{
    return QLatin1Char('%') + escaped(keyword) + QLatin1Char('%');
}

QString startingWith(const QString& prefix)
{
    return escaped(prefix) + QLatin1Char('%');
}

QString literal(const QString& text)
{
    return escaped(text);
}

} // namespace Like

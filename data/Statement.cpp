#include "data/Statement.h"

Statement selecting(const QStringList& columns, Statement statement)
{
    static const QString all = QStringLiteral("select * ");
    Q_ASSERT(statement.sql.startsWith(all, Qt::CaseInsensitive));
    QStringList bracketed;
    for (const QString& column : columns)
        bracketed << QLatin1Char('[') + column + QLatin1Char(']');
    statement.sql = QStringLiteral("select ") + bracketed.join(QStringLiteral(", ")) + QLatin1Char(' ') +
                    statement.sql.mid(all.size());
    return statement;
}

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

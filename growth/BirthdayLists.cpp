#include "growth/BirthdayLists.h"

namespace BirthdayLists {

namespace {

const QChar Bar = QLatin1Char('|');
const QChar Equals = QLatin1Char('=');
const QChar Backslash = QLatin1Char('\\');

bool needsEscapes(const QList<Row>& rows)
{
    for (const Row& row : rows) {
        for (const QString* text : {&row.who, &row.what}) {
            if (text->contains(Bar) || text->contains(Equals))
                return true;
        }
    }
    return false;
}

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == Bar || c == Equals || c == Backslash)
            out += Backslash;
        out += c;
    }
    return out;
}

} // namespace

QString write(const QList<Row>& rows)
{
    const bool escape = needsEscapes(rows);
    QString out;
    if (escape)
        out += EscapedMarker;
    for (const Row& row : rows)
        out += (escape ? escaped(row.who) : row.who) + Bar + (escape ? escaped(row.what) : row.what) + Equals;
    return out;
}

QList<Row> read(const QString& stored)
{
    const bool escapes = stored.startsWith(EscapedMarker);
    // "|" ends the first text and starts a row at the current position; "=" ends the second,
    // sets it on the row at that position and moves on. A stray "=" only moves on, as texts
    // stored by earlier versions have always been read.
    QList<Row> rows;
    qsizetype position = 0;
    QString collected;
    for (qsizetype i = escapes ? 1 : 0; i < stored.size(); ++i) {
        const QChar c = stored.at(i);
        if (escapes && c == Backslash && i + 1 < stored.size()) {
            collected += stored.at(++i);
        } else if (c == Bar) {
            rows.insert(std::min(position, rows.size()), Row{collected, {}});
            collected.clear();
        } else if (c == Equals) {
            if (position < rows.size())
                rows[position].what = collected;
            collected.clear();
            ++position;
        } else {
            collected += c;
        }
    }
    return rows;
}

} // namespace BirthdayLists

#include "growth/GrowthDates.h"

namespace GrowthDates {

namespace {

QStringList twoDigits(int last)
{
    QStringList texts;
    for (int i = 1; i <= last; ++i)
        texts << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return texts;
}

// A part of a stored date: the digits at its place, or nothing when they are not all digits.
QString digitsAt(const QString& stored, int from, int length)
{
    const QString part = stored.mid(from, length);
    if (part.size() != length)
        return {};
    for (const QChar c : part) {
        if (!c.isDigit())
            return {};
    }
    return part;
}

} // namespace

QStringList yearTexts(const QDate& today)
{
    QStringList texts;
    const int last = std::max(FirstYear, today.year() + 1);
    for (int year = FirstYear; year <= last; ++year)
        texts << QString::number(year);
    return texts;
}

QStringList monthTexts()
{
    return twoDigits(12);
}

QStringList dayTexts()
{
    return twoDigits(31);
}

QString entryDate(const QDate& date)
{
    return joined(QString::number(date.year()), QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0')),
                  QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0')));
}

QString joined(const QString& year, const QString& month, const QString& day)
{
    return year + QLatin1Char('\\') + month + QLatin1Char('\\') + day;
}

Parts split(const QString& stored)
{
    const bool separated =
        stored.size() >= 10 && stored.at(4) == QLatin1Char('\\') && stored.at(7) == QLatin1Char('\\');
    if (!separated)
        return {digitsAt(stored, 0, 4), {}, {}};
    return {digitsAt(stored, 0, 4), digitsAt(stored, 5, 2), digitsAt(stored, 8, 2)};
}

QString birthdayKey(const QString& year)
{
    // Stored data, not a text to translate.
    return year + QStringLiteral("年");
}

} // namespace GrowthDates

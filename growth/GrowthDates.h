#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The dates of growth as its tables keep them: diary entries and honours as "2006\05\07"
// (year, month and day, zero-padded, separated by backslashes), birthdays by their year "2006年".
namespace GrowthDates {

// The first year the year lists offer.
inline constexpr int FirstYear = 2000;

// The year lists of every page: FirstYear up to the year after today's, so a family can always
// reach this year and plan the next.
QStringList yearTexts(const QDate& today);
// "01" to "12".
QStringList monthTexts();
// "01" to "31".
QStringList dayTexts();

// A day as a stored date.
QString entryDate(const QDate& date);
// A stored date from the texts chosen in a year, a month and a day list.
QString joined(const QString& year, const QString& month, const QString& day);

struct Parts
{
    QString year;
    QString month;
    QString day;
};
// The year, month and day of a stored date by their places in "yyyy\mm\dd"; a part that is
// not there is empty.
Parts split(const QString& stored);

// The key of a birthday year.
QString birthdayKey(const QString& year);

} // namespace GrowthDates

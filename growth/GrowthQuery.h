#pragma once

#include "data/Statement.h"

// The date criteria of a search: each part chosen in its own list, empty when not chosen.
struct DateCriteria
{
    QString year;
    QString month;
    QString day;

    bool isEmpty() const { return year.isEmpty() && month.isEmpty() && day.isEmpty(); }
};

// The statements of growth's pages beyond what the table bindings hold. A date part matches
// only its own place in the stored date, so day 07 finds the seventh of a month, not July or
// 2007; typed texts are bound and matched literally, so % and _ find themselves.
namespace GrowthQuery {

// Diary entries that match every given criterion (title and keyword contain the typed text),
// in the order they were written.
Statement diarySearch(const DateCriteria& date, const QString& title, const QString& keyword);
Statement diaryById(qint64 id);

// Honours that match every given criterion (the name contains the typed text), newest first.
Statement honourSearch(const DateCriteria& date, const QString& name);
Statement honourById(qint64 id);

// The birthday records of a year key ("2006年"), newest first.
Statement birthdaysOfYear(const QString& yearKey);
Statement birthdayById(qint64 id);

} // namespace GrowthQuery

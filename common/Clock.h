#pragma once

#include <QDate>
#include <QDateTime>

// Source of the current time. Windows and pages ask it instead of the system clock, so that
// tests can fix the day.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;

    QDate today() const { return now().date(); }

    // The clock in use; the system clock unless a test installed another.
    static const Clock& current();
    // Installs a clock (not owned); nullptr restores the system clock.
    static void install(const Clock* clock);
};

namespace DateKey {

// The integer yyyymmdd under which health records keep their dates.
int fromDate(const QDate& date);
int today();
// The date a key stands for; invalid for anything that is not a real calendar day.
QDate toDate(qint64 key);
// Reads typed text as a date key: eight digits of a real day. Returns 0 when it is not one.
int parse(const QString& text);

} // namespace DateKey

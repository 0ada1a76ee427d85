#include "common/Clock.h"

namespace {
const Clock* installedClock = nullptr;
}

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

const Clock& Clock::current()
{
    static const Clock systemClock;
    return installedClock ? *installedClock : systemClock;
}

void Clock::install(const Clock* clock)
{
    installedClock = clock;
}

namespace DateKey {

int fromDate(const QDate& date)
{
    return date.year() * 10000 + date.month() * 100 + date.day();
}

int today()
{
    return fromDate(Clock::current().today());
}

QDate toDate(qint64 key)
{
    if (key < 10000101 || key > 99991231)
        return {};
    return QDate(int(key / 10000), int(key / 100 % 100), int(key % 100));
}

int parse(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() != 8)
        return 0;
    bool ok = false;
    const int key = trimmed.toInt(&ok);
    if (!ok || !toDate(key).isValid())
        return 0;
    return key;
}

} // namespace DateKey

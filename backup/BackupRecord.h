#pragma once

#include "common/Result.h"

#include <QDateTime>
#include <QSqlDatabase>

#include <optional>

// What the database remembers about backups, as rows of kestrin_meta: when the last one was
// made, and whether the programs may remind the family to make one.
namespace BackupRecord {

inline const QString LastBackupKey = QStringLiteral("last_backup");
// "off" when the family turned the reminder off.
inline const QString ReminderKey = QStringLiteral("backup_reminder");
// When the reminder first looked, for a database that has never been backed up: the month of
// grace is counted from then, not from a time nobody knows.
inline const QString ReminderSinceKey = QStringLiteral("backup_reminder_since");
constexpr int ReminderDays = 30;

// How times are kept: ISO 8601 in UTC.
QString timeText(const QDateTime& time);

std::optional<QDateTime> lastBackup(const QSqlDatabase& db);
Result setLastBackup(const QSqlDatabase& db, const QDateTime& when);

bool reminderEnabled(const QSqlDatabase& db);
Result setReminderEnabled(const QSqlDatabase& db, bool enabled);

struct Reminder
{
    bool due = false;
    // The last backup; none when the database was never backed up.
    std::optional<QDateTime> lastBackup;
    int daysSince = 0;
};
// Whether to remind the family now. The first look at a database that was never backed up
// records the time, and the reminder comes a month later.
ResultOf<Reminder> reminder(const QSqlDatabase& db, const QDateTime& now);

} // namespace BackupRecord

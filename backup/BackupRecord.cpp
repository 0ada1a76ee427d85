#include "backup/BackupRecord.h"

#include "backup/BackupTr.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

std::optional<QString> value(const QSqlDatabase& db, const QString& name)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT value FROM kestrin_meta WHERE name = ?"));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return query.value(0).toString();
}

Result setValue(const QSqlDatabase& db, const QString& name, const QString& value)
{
    // An update, or an insert when there was nothing to update: words both engines read.
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE kestrin_meta SET value = ? WHERE name = ?"));
    query.addBindValue(value);
    query.addBindValue(name);
    bool saved = query.exec();
    if (saved && query.numRowsAffected() == 0) {
        query.prepare(QStringLiteral("INSERT INTO kestrin_meta (name, value) VALUES (?, ?)"));
        query.addBindValue(name);
        query.addBindValue(value);
        saved = query.exec();
    }
    if (!saved)
        return Result::failure(BackupTr::tr("无法在数据库中保存备份设置。请关闭其他程序后再试。"),
                               query.lastError().text());
    return {};
}

std::optional<QDateTime> timeValue(const QSqlDatabase& db, const QString& name)
{
    const std::optional<QString> text = value(db, name);
    if (!text)
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(*text, Qt::ISODate);
    return time.isValid() ? std::optional(time) : std::nullopt;
}

} // namespace

namespace BackupRecord {

QString timeText(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODate);
}

std::optional<QDateTime> lastBackup(const QSqlDatabase& db)
{
    return timeValue(db, LastBackupKey);
}

Result setLastBackup(const QSqlDatabase& db, const QDateTime& when)
{
    return setValue(db, LastBackupKey, timeText(when));
}

bool reminderEnabled(const QSqlDatabase& db)
{
    return value(db, ReminderKey).value_or(QStringLiteral("on")) != QStringLiteral("off");
}

Result setReminderEnabled(const QSqlDatabase& db, bool enabled)
{
    return setValue(db, ReminderKey, enabled ? QStringLiteral("on") : QStringLiteral("off"));
}

ResultOf<Reminder> reminder(const QSqlDatabase& db, const QDateTime& now)
{
    Reminder result;
    if (!reminderEnabled(db))
        return result;
    result.lastBackup = lastBackup(db);
    std::optional<QDateTime> since = result.lastBackup;
    if (!since) {
        since = timeValue(db, ReminderSinceKey);
        if (!since) {
            if (Result r = setValue(db, ReminderSinceKey, timeText(now)); !r)
                return r;
            return result;
        }
    }
    result.daysSince = int(since->secsTo(now) / (24 * 3600));
    result.due = result.daysSince > ReminderDays;
    return result;
}

} // namespace BackupRecord

#pragma once

#include "common/Result.h"
#include "data/Database.h"

#include <QStringList>

// Media file names that a page lists for an entry it has not saved yet. Until the entry is saved
// no row names such a file, so the page records the names here, under its own key with the id
// and start time of its process; every program then leaves those files alone. Rows of a process
// that has ended count for nothing and are cleared away.
namespace UnsavedMedia {

// A key for one page, unique among the pages of every running program.
QString newPageKey();

// Records that page lists names unsaved.
Result add(const QString& page, const QStringList& names, QSqlDatabase db = Database::connection());
// Forgets names for page; with no names, every name of page.
Result remove(const QString& page, const QStringList& names = {}, QSqlDatabase db = Database::connection());

// Whether a page of a running program lists name unsaved.
ResultOf<bool> isListed(const QString& name, QSqlDatabase db = Database::connection());
// Every name that a page of a running program lists unsaved, each once.
ResultOf<QStringList> names(QSqlDatabase db = Database::connection());

// Whether the process with this id and start time (as recorded) still runs.
bool isRunning(qint64 pid, const QString& started);
// The start time of a running process as it is recorded; empty when there is no such process.
QString startTimeOf(qint64 pid);

} // namespace UnsavedMedia

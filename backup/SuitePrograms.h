#pragma once

#include "common/Result.h"

#include <QStringList>

// The programs of the suite that share the family's database and media folder.
namespace SuitePrograms {

const QStringList& names();

// The suite's programs running now, found in the process list under procRoot; the process
// ownPid (the caller itself) does not count. Executable names are compared whole, so other
// programs whose names merely contain one of ours do not count.
QStringList running(const QString& procRoot, qint64 ownPid);

// The refusal of a restore while other programs hold the family's records, naming those of the
// suite that the process list shows, and elsewhere: those of other computers that the server
// names (see RecordsLock::serverHolders()).
Result holdingRecords(const QString& procRoot, qint64 ownPid, const QStringList& elsewhere = {});

} // namespace SuitePrograms

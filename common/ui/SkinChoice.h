#pragma once

#include "common/Result.h"

#include <QStringList>

class SkinRecordset;

// What the programs do with their skin table: start with the skin chosen last, offer the known
// skins, and remember a new choice with its time.
namespace SkinChoice {

// Folder of the skin files, seen from a program's own folder.
inline const QString Folder = QStringLiteral("../skin/");

// The skin file name chosen most recently; empty when the table has no row.
QString newest(SkinRecordset& table);
// Every skin the table offers.
QStringList offered(SkinRecordset& table);
// Stamps a skin as chosen now. Fails, changing nothing, when the table has no such skin.
Result choose(SkinRecordset& table, const QString& skin);
// The skin start of a program: initialises the engine with the key, loads the newest skin and,
// unless told not to, chooses the "Dialog" scheme. A missing table row or file leaves the
// default look.
void start(SkinRecordset& table, const QString& applicationKey, bool chooseDialogScheme = true);

} // namespace SkinChoice

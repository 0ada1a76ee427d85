#pragma once

#include "common/Result.h"
#include "data/Database.h"

#include <QStringList>

// The rows that name media files. Tables chengzhang, rongyu, shengri (growth) and mplay
// (Reelbox) each keep an attachment text in their music column; a file of the media folder
// belongs to every row whose text names it. These are the only statements that look across
// all four tables; reading a text into names is the media layer's job.
namespace MediaReferences {

// The tables with an attachment text in column music.
const QStringList& tables();

// The attachment texts that contain name anywhere, from every table: a quick, generous first
// choice (a text naming "a.jpg b.jpg" contains "b.jpg" but may name "a.jpg b.jpg" only), which
// the caller narrows by reading each text.
ResultOf<QStringList> textsContaining(const QString& name, QSqlDatabase db = Database::connection());

// Every non-empty attachment text of every table.
ResultOf<QStringList> allTexts(QSqlDatabase db = Database::connection());

} // namespace MediaReferences

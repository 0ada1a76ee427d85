#pragma once

#include "backup/FamilyFiles.h"
#include "backup/NamedMedia.h"
#include "common/Result.h"

class Progress;

struct ExportSummary
{
    QString folder;
    int tables = 0;
    qint64 rows = 0;
    int mediaFiles = 0;
    QStringList missingMedia;
};

// The family's records in a form any spreadsheet opens: one CSV file per table and a copy of
// the media files that rows name.
namespace CsvExport {

// Exports a consistent copy of source into targetFolder, which must be empty or not exist yet.
// The files are written in a folder beside it that is renamed into place when complete, so a
// failed or cancelled export leaves nothing.
ResultOf<ExportSummary> exportTo(const FamilyFiles& source, const QString& targetFolder,
                                 const NamedMediaProvider& namedMedia, Progress& progress);

// One field as RFC 4180 writes it: quoted, with quotes doubled, when it holds a comma, a quote
// or a line break.
QByteArray field(const QByteArray& utf8);

} // namespace CsvExport

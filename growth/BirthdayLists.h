#pragma once

#include <QList>
#include <QString>

// The present list and the greeting list of a birthday as their columns (songli, liuyan) keep
// them: for each row, in list order, "who|what=" (giver and present, or author and greeting).
//
// A row whose texts contain "|" or "=" could not be read back from that form, so such lists are
// written with those characters, and the backslash, escaped by a backslash, behind a leading
// marker character that nobody types. Lists without them are written as they always were, and
// texts without the marker are read as they always were.
namespace BirthdayLists {

struct Row
{
    // The giver of a present, the author of a greeting.
    QString who;
    // The present, the greeting.
    QString what;

    bool operator==(const Row&) const = default;
};

// Marks a text written with escapes.
inline constexpr QChar EscapedMarker = QChar(0x1E);

QString write(const QList<Row>& rows);
QList<Row> read(const QString& stored);

} // namespace BirthdayLists

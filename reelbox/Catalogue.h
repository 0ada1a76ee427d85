#pragma once

#include "common/Result.h"
#include "data/Statement.h"
#include "media/MediaKind.h"

#include <QDate>
#include <QStringList>

#include <vector>

class MediaStore;

// What the search group asks for: the texts of the chosen entries, empty where none is chosen.
struct CatalogueSearch
{
    QString year;
    QString month;
    QString day;
    QString keyword;
    QString type;
};

// One row of the result list: one file that a record names.
struct CatalogueRow
{
    qint32 id = 0;
    MediaKind kind = MediaKind::Other;
    QString name;
};

// The rows of a result list. Each record's file list is kept once and each row is a slice of it,
// so a list of many thousand files costs little more than reading the records.
class CatalogueRows
{
public:
    // Adds a row for every file the record's file list names, in stored order.
    void appendRecord(qint32 id, const QString& fileList);

    qsizetype size() const { return qsizetype(m_rows.size()); }
    bool empty() const { return m_rows.empty(); }
    qint32 id(qsizetype row) const { return m_records[size_t(m_rows[size_t(row)].record)].id; }
    QString name(qsizetype row) const;
    CatalogueRow at(qsizetype row) const;
    // The file names of every row, in order.
    QStringList names() const;

private:
    struct Record
    {
        qint32 id;
        QString fileList;
    };
    struct Slice
    {
        qint32 record;
        qint32 start;
        qint32 length;
    };
    std::vector<Record> m_records;
    std::vector<Slice> m_rows;
};

struct CatalogueResult
{
    // Records the statement found; a record that names no file adds no row.
    qsizetype records = 0;
    // In list order: the rows of the newest record first, each record's files in stored order.
    CatalogueRows rows;
};

// A record of table mplay as the add group shows it.
struct CatalogueRecord
{
    qint32 id = 0;
    // "2005\03\07"
    QString date;
    QString keyword;
    QString type;
    QString description;
    QStringList names;
};

// What deleting files of records did.
struct CatalogueDeletion
{
    // Records left without a file, and therefore deleted.
    int recordsDeleted = 0;
    // Files deleted from the media folder.
    QStringList filesDeleted;
    // Files that stay because another row still names them.
    QStringList filesKept;
    // Files that could not be deleted, one message each.
    QStringList problems;
};

// The media catalogue of Reelbox: table mplay, one record per filing, its column music naming
// the filed files in the media folder.
namespace Catalogue {

inline constexpr int FirstYear = 2000;

// The year list: 2000 up to the year after today's, so that this year's files can be filed.
QStringList years(const QDate& today);
QStringList months();
QStringList days();

// What a year, month, day or type box holds, read as it shows it: the text to file or search
// ("2005", "03", "07", "图像文件"; a month or day of one digit gains its zero), empty when the
// box is empty, or a message that names the box (box, e.g. "查找的“年”") and says what it takes.
ResultOf<QString> yearIn(const QString& typed, const QString& box);
ResultOf<QString> monthIn(const QString& typed, const QString& box);
ResultOf<QString> dayIn(const QString& typed, const QString& box);
ResultOf<QString> typeIn(const QString& typed, const QString& box);

// The date text of a record: "2005\03\07".
QString dateText(const QString& year, const QString& month, const QString& day);
// Year, month and day of a date text (characters 1-4, 6-7, 9-10).
QString yearOf(const QString& date);
QString monthOf(const QString& date);
QString dayOf(const QString& date);

// The search statement. Each chosen part of the date matches only its own place in the date
// text, so month 03 does not find the year 2003; keyword and type are matched literally. Only
// the columns a list shows are read.
Statement searchStatement(const CatalogueSearch& search);
// Runs the search and lists one row per named file.
ResultOf<CatalogueResult> search(const CatalogueSearch& search);

// The record with that id; fails when there is none.
ResultOf<CatalogueRecord> record(qint32 id);
// Writes a new record naming each of entry.names once; gives its id.
ResultOf<qint64> add(const CatalogueRecord& entry);

// Removes the files of the rows from their records in one transaction: a record left without a
// file is deleted. Only then are the files deleted from store, each unless a row of any table
// still names it. Fails, changing nothing, when the records cannot be written.
ResultOf<CatalogueDeletion> removeFiles(const std::vector<CatalogueRow>& rows, const MediaStore& store);

} // namespace Catalogue

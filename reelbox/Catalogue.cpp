#include "reelbox/Catalogue.h"
#include "reelbox/ReelboxTr.h"

#include "data/Database.h"
#include "data/PagedQuery.h"
#include "data/Records.h"
#include "data/tables/CMRECORDSET.h"
#include "media/AttachmentText.h"
#include "media/MediaStore.h"

#include <QRegularExpression>

#include <map>

namespace Catalogue {

namespace {

QStringList numbered(int from, int to, int width)
{
    QStringList list;
    for (int n = from; n <= to; ++n)
        list << QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
    return list;
}

// One part of the date pattern: the chosen text, or as many any-character wildcards as the
// part has places.
QString datePart(const QString& chosen, int places)
{
    return chosen.isEmpty() ? QString(places, QLatin1Char('_')) : Like::literal(chosen);
}

// A number of one or two digits from 1 to last, written with two; empty when it is none.
QString twoDigits(const QString& text, int last)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
    if (!digits.match(text).hasMatch())
        return {};
    const int n = text.toInt();
    return n >= 1 && n <= last ? QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')) : QString();
}

ResultOf<QString> checked(const QString& typed, const QString& value, const QString& refusal)
{
    if (typed.trimmed().isEmpty())
        return QString();
    if (value.isEmpty())
        return Result::failure(refusal);
    return value;
}

CatalogueRecord recordFrom(const CMRECORDSET& rs)
{
    return {rs.m_id, rs.m_riqi, rs.m_key, rs.m_leixing, rs.m_miaoshu, AttachmentText::read(rs.m_music)};
}

} // namespace

} // namespace Catalogue

void CatalogueRows::appendRecord(qint32 id, const QString& fileList)
{
    const QList<AttachmentText::Span> spans = AttachmentText::spans(fileList);
    if (spans.isEmpty())
        return;
    const auto record = qint32(m_records.size());
    m_records.push_back({id, fileList});
    for (const AttachmentText::Span& span : spans)
        m_rows.push_back({record, qint32(span.start), qint32(span.length)});
}

QString CatalogueRows::name(qsizetype row) const
{
    const Slice& slice = m_rows[size_t(row)];
    return m_records[size_t(slice.record)].fileList.mid(slice.start, slice.length);
}

CatalogueRow CatalogueRows::at(qsizetype row) const
{
    const QString file = name(row);
    return {id(row), MediaKinds::fromName(file), file};
}

QStringList CatalogueRows::names() const
{
    QStringList list;
    list.reserve(size());
    for (qsizetype row = 0; row < size(); ++row)
        list << name(row);
    return list;
}

namespace Catalogue {

QStringList years(const QDate& today)
{
    return numbered(FirstYear, std::max(FirstYear, today.year() + 1), 4);
}

QStringList months()
{
    return numbered(1, 12, 2);
}

QStringList days()
{
    return numbered(1, 31, 2);
}

ResultOf<QString> yearIn(const QString& typed, const QString& box)
{
    static const QRegularExpression year(QStringLiteral("^[1-9][0-9]{3}$"));
    const QString text = typed.trimmed();
    return checked(
        text, year.match(text).hasMatch() ? text : QString(),
        ReelboxTr::tr("%1框里的“%2”不是年份。请在列表里选择，或输入四位数的年份，例如2005。").arg(box, text));
}

ResultOf<QString> monthIn(const QString& typed, const QString& box)
{
    const QString text = typed.trimmed();
    return checked(text, twoDigits(text, 12),
                   ReelboxTr::tr("%1框里的“%2”不是月份。请在列表里选择，或输入1到12之间的数字。").arg(box, text));
}

ResultOf<QString> dayIn(const QString& typed, const QString& box)
{
    const QString text = typed.trimmed();
    return checked(text, twoDigits(text, 31),
                   ReelboxTr::tr("%1框里的“%2”不是日期。请在列表里选择，或输入1到31之间的数字。").arg(box, text));
}

ResultOf<QString> typeIn(const QString& typed, const QString& box)
{
    const QString text = typed.trimmed();
    QString known;
    QStringList types;
    for (MediaKind kind : MediaKinds::Choosable) {
        types << MediaKinds::typeText(kind);
        if (types.last() == text)
            known = text;
    }
    return checked(text, known,
                   ReelboxTr::tr("%1框里的“%2”不是媒体类型。请在列表里选择%3之一。")
                       .arg(box, text, types.join(QStringLiteral("、"))));
}

QString dateText(const QString& year, const QString& month, const QString& day)
{
    return year + QLatin1Char('\\') + month + QLatin1Char('\\') + day;
}

QString yearOf(const QString& date)
{
    return date.mid(0, 4);
}

QString monthOf(const QString& date)
{
    return date.mid(5, 2);
}

QString dayOf(const QString& date)
{
    return date.mid(8, 2);
}

Statement searchStatement(const CatalogueSearch& search)
{
    QStringList conditions;
    QVariantList values;
    if (!search.year.isEmpty() || !search.month.isEmpty() || !search.day.isEmpty()) {
        // The whole date in one pattern, each part in its place: "2005\__\07" for year and day.
        const QString separator = Like::literal(QStringLiteral("\\"));
        conditions << Like::condition(QStringLiteral("riqi"));
        const QString pattern =
            datePart(search.year, 4) + separator + datePart(search.month, 2) + separator + datePart(search.day, 2);
        values << pattern;
    }
    if (!search.keyword.isEmpty()) {
        conditions << Like::condition(QStringLiteral("[key]"));
        values << Like::containing(search.keyword);
    }
    conditions << Like::condition(QStringLiteral("leixing"));
    values << Like::containing(search.type);
    // Ordered by id, so the newest record's files lead the list.
    return {QStringLiteral("select id, music from mplay where ") + conditions.join(QStringLiteral(" and ")) +
                QStringLiteral(" order by id"),
            values};
}

ResultOf<CatalogueResult> search(const CatalogueSearch& search)
{
    // The two listed columns straight from the engine, without a snapshot in between.
    std::vector<std::pair<qint32, QString>> records;
    PagedQuery query(searchStatement(search));
    if (Result r = query.fetch(
            -1, [&records](const PagedRow& row) { records.emplace_back(qint32(row.integer(0)), row.text(1)); });
        !r)
        return r;
    CatalogueResult result;
    result.records = qsizetype(records.size());
    // Each record's rows go in front of those of the records before it.
    for (auto record = records.rbegin(); record != records.rend(); ++record)
        result.rows.appendRecord(record->first, record->second);
    return result;
}

ResultOf<CatalogueRecord> record(qint32 id)
{
    CMRECORDSET rs;
    if (Result r = rs.open(QStringLiteral("select * from mplay where id=?"), {id}); !r)
        return r;
    if (rs.isEOF())
        return Result::failure(ReelboxTr::tr("这条记录已经不存在了，可能已被删除。请重新搜索。"));
    return recordFrom(rs);
}

ResultOf<qint64> add(const CatalogueRecord& entry)
{
    CMRECORDSET rs;
    const Result written = Records::add(rs, [&entry, &rs](Recordset&) {
        // Each file once, even when two chosen files turned out to be one stored file.
        QStringList names;
        for (const QString& name : entry.names) {
            if (!names.contains(name))
                names << name;
        }
        rs.m_music = AttachmentText::write(names);
        rs.m_key = entry.keyword;
        rs.m_miaoshu = entry.description;
        rs.m_riqi = entry.date;
        rs.m_leixing = entry.type;
    });
    if (!written)
        return written;
    return rs.lastInsertedId();
}

ResultOf<CatalogueDeletion> removeFiles(const std::vector<CatalogueRow>& rows, const MediaStore& store)
{
    // The names to remove, by record.
    std::map<qint32, QStringList> byRecord;
    QStringList names;
    for (const CatalogueRow& row : rows) {
        byRecord[row.id] << row.name;
        if (!names.contains(row.name))
            names << row.name;
    }

    CatalogueDeletion done;
    {
        TransactionGuard transaction;
        CMRECORDSET rs;
        for (const auto& [id, removed] : byRecord) {
            if (Result r = rs.open(QStringLiteral("select * from mplay where id=?"), {id}); !r)
                return r;
            if (rs.isEOF())
                continue; // gone meanwhile: nothing left to change
            QStringList remaining = AttachmentText::read(rs.m_music);
            for (const QString& name : removed)
                remaining.removeAll(name);
            // A record without files would never show in a list again: it goes with its last file.
            if (remaining.isEmpty()) {
                if (Result r = rs.remove(); !r)
                    return r;
                ++done.recordsDeleted;
                continue;
            }
            if (Result r = rs.edit(); !r)
                return r;
            rs.m_music = AttachmentText::write(remaining);
            if (Result r = rs.update(); !r)
                return r;
        }
        if (Result r = transaction.commit(); !r)
            return r;
    }

    for (const QString& name : std::as_const(names)) {
        const ResultOf<MediaStore::Removal> removal = store.removeIfUnused(name);
        if (!removal)
            done.problems << removal.error();
        else if (*removal == MediaStore::Removal::Removed)
            done.filesDeleted << name;
        else if (*removal == MediaStore::Removal::StillNamed)
            done.filesKept << name;
    }
    return done;
}

} // namespace Catalogue

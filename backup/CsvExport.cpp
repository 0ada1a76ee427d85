#include "backup/CsvExport.h"

#include "backup/Backup.h"
#include "backup/BackupTr.h"
#include "backup/DatabaseSnapshot.h"
#include "backup/FileErrors.h"
#include "backup/Manifest.h"
#include "backup/Progress.h"
#include "backup/ScopedConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <filesystem>
#include <sqlite3.h>

namespace {

// Spreadsheet programs read a CSV file as UTF-8 only when it starts with the byte-order mark.
const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");

Result writeFailure(const QString& path)
{
    return FileErrors::failure(BackupTr::tr("无法写入%1").arg(FileErrors::quoted(path)), errno ? errno : EIO);
}

QByteArray cell(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column))
            .toHex();
    default:
        // SQLite's own text of a number is the shortest that reads back the same.
        return CsvExport::field(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                           sqlite3_column_bytes(statement, column)));
    }
}

Result exportTable(sqlite3* db, const QString& table, const QString& path, qint64& rows)
{
    const QByteArray sql = QStringLiteral("SELECT * FROM \"%1\"")
                               .arg(QString(table).replace(QLatin1Char('"'), QStringLiteral("\"\"")))
                               .toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        return Result::failure(BackupTr::tr("无法读取表“%1”，导出没有完成。请稍后再试。").arg(table),
                               QString::fromUtf8(sqlite3_errmsg(db)));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        sqlite3_finalize(statement);
        return writeFailure(path);
    }
    QByteArray line = Bom;
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c)
        line += (c ? "," : "") + CsvExport::field(QByteArray(sqlite3_column_name(statement, c)));
    line += "\r\n";
    int status;
    bool written = true;
    while (written && (status = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (c)
                line += ',';
            line += cell(statement, c);
        }
        line += "\r\n";
        ++rows;
        if (line.size() > (1 << 20)) {
            errno = 0;
            written = file.write(line) == line.size();
            line.clear();
        }
    }
    sqlite3_finalize(statement);
    if (written && status != SQLITE_DONE)
        return Result::failure(BackupTr::tr("无法读取表“%1”，导出没有完成。请稍后再试。").arg(table),
                               QString::fromUtf8(sqlite3_errstr(status)));
    if (written) {
        errno = 0;
        written = file.write(line) == line.size() && file.flush();
    }
    if (!written)
        return writeFailure(path);
    return {};
}

ResultOf<QStringList> tableNames(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
                           "ESCAPE '\\' ORDER BY name",
                           -1, &statement, nullptr) != SQLITE_OK)
        return Result::failure(BackupTr::tr("无法读取数据库的表，导出没有完成。请稍后再试。"),
                               QString::fromUtf8(sqlite3_errmsg(db)));
    QStringList names;
    while (sqlite3_step(statement) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return names;
}

// A file name for a table: its name, with characters that no file name may hold replaced.
QString csvFileName(QString table)
{
    for (QChar& c : table) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    return table + QStringLiteral(".csv");
}

Result exportTables(const QString& snapshot, const QString& folder, ExportSummary& summary)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(snapshot.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return Result::failure(BackupTr::tr("无法读取数据库的副本。请稍后再试。"), error);
    }
    const ResultOf<QStringList> tables = tableNames(db);
    Result result = tables;
    if (tables) {
        for (const QString& table : *tables) {
            result = exportTable(db, table, QDir(folder).filePath(csvFileName(table)), summary.rows);
            if (!result)
                break;
            ++summary.tables;
        }
    }
    sqlite3_close(db);
    return result;
}

Result copyFile(const QString& from, const QString& to, Progress& progress)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly))
        return FileErrors::failure(BackupTr::tr("无法读取%1").arg(FileErrors::quoted(from)), ENOENT);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return writeFailure(to);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        if (progress.cancelled())
            return Backup::cancelled();
        const qint64 read = in.read(buffer.data(), buffer.size());
        if (read < 0)
            return FileErrors::failure(BackupTr::tr("无法读取%1").arg(FileErrors::quoted(from)), EIO);
        if (read == 0)
            break;
        errno = 0;
        if (out.write(buffer.constData(), read) != read)
            return writeFailure(to);
        progress.advance(read);
    }
    errno = 0;
    if (!out.flush())
        return writeFailure(to);
    return {};
}

} // namespace

namespace CsvExport {

QByteArray field(const QByteArray& utf8)
{
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n') && !utf8.contains('\r'))
        return utf8;
    QByteArray quoted = utf8;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

ResultOf<ExportSummary> exportTo(const FamilyFiles& source, const QString& targetFolder,
                                 const NamedMediaProvider& namedMedia, Progress& progress)
{
    ExportSummary summary;
    summary.folder = QDir::cleanPath(QFileInfo(targetFolder).absoluteFilePath());
    const QFileInfo target(summary.folder);
    if (target.exists() &&
        (!target.isDir() ||
         !QDir(summary.folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)))
        return Result::failure(
            BackupTr::tr("文件夹%1不是空的。为了不覆盖其中的文件，请选择一个空文件夹，或一个还不存在的文件夹名。")
                .arg(FileErrors::quoted(summary.folder)));
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent))
        return FileErrors::failure(BackupTr::tr("无法创建文件夹%1").arg(FileErrors::quoted(parent)), errno);

    QTemporaryDir work;
    QTemporaryDir partial(QDir(parent).filePath(QStringLiteral(".") + target.fileName() + QStringLiteral("-XXXXXX")));
    if (!work.isValid() || !partial.isValid())
        return FileErrors::failure(BackupTr::tr("无法在%1中写入").arg(FileErrors::quoted(parent)), errno);
    const QString snapshot = work.filePath(QStringLiteral("kestrin.db"));
    if (Result r = DatabaseSnapshot::copyFamily(source, snapshot, progress); !r)
        return progress.cancelled() ? Backup::cancelled() : r;
    if (Result r = exportTables(snapshot, partial.path(), summary); !r)
        return r;

    QStringList names;
    {
        ScopedConnection connection(snapshot);
        if (!connection.open())
            return Result::failure(BackupTr::tr("无法读取数据库的副本。请稍后再试。"), connection.error());
        const ResultOf<QStringList> listed = namedMedia(connection.db());
        if (!listed)
            return Result(listed);
        names = *listed;
    }
    names.sort();
    names.removeDuplicates();
    QList<QFileInfo> media;
    qint64 bytes = 0;
    for (const QString& name : names) {
        const QFileInfo info(QDir(source.mediaFolder).filePath(name));
        if (!Manifest::isSafeMediaName(name) || !info.isFile()) {
            summary.missingMedia << name;
            continue;
        }
        media << info;
        bytes += info.size();
    }
    const QString mediaCopy = QDir(partial.path()).filePath(QStringLiteral("media"));
    if (!QDir().mkpath(mediaCopy))
        return writeFailure(mediaCopy);
    progress.start(BackupTr::tr("正在复制媒体文件…"), bytes);
    for (const QFileInfo& info : media) {
        if (Result r = copyFile(info.filePath(), QDir(mediaCopy).filePath(info.fileName()), progress); !r)
            return r;
    }
    summary.mediaFiles = int(media.size());

    if (target.exists())
        QDir().rmdir(summary.folder);
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(partial.path()).toStdString(),
                            QFile::encodeName(summary.folder).toStdString(), code);
    if (code)
        return FileErrors::failure(BackupTr::tr("无法写入文件夹%1").arg(FileErrors::quoted(summary.folder)), code);
    partial.setAutoRemove(false);
    // The working folder was private; the export is the family's to share.
    QFile::setPermissions(summary.folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                              QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    return summary;
}

} // namespace CsvExport

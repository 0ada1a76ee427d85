#pragma once

#include "common/Result.h"

#include <QDateTime>

#include <functional>

struct archive;
struct archive_entry;
class AtomicFile;

// Writes a zip archive into an AtomicFile through libarchive: member names in UTF-8, each
// member either compressed or stored as it is.
class ZipWriter
{
public:
    explicit ZipWriter(AtomicFile& file);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    Result open();
    // Starts a member of size bytes. Pictures and videos are compressed already and are
    // stored; squeezing them again would cost time and gain nothing.
    Result begin(const QString& path, qint64 size, const QDateTime& modified, bool compress);
    Result write(const char* data, qsizetype size);
    // Writes the archive's table of contents; the archive is complete when this succeeds.
    Result close();

private:
    friend struct ZipWriterCallbacks;
    bool deliver(const char* data, qint64 size);
    Result failure() const;

    AtomicFile& m_file;
    archive* m_archive;
    archive_entry* m_entry;
    Result m_writeError;
};

// Reads a zip archive member by member through libarchive. Only the archive's table of contents
// at its end is trusted for names and sizes, so a cut-off archive is refused at once.
class ZipReader
{
public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    Result open(const QString& path);
    // Moves to the next member; false after the last one.
    ResultOf<bool> next();
    QString path() const;
    qint64 size() const;
    bool isFile() const;
    bool isFolder() const;
    // Hands the current member's data to sink block by block; stops at the first failure.
    Result read(const std::function<Result(const char*, qsizetype)>& sink);

private:
    Result failure() const;

    QString m_path;
    archive* m_archive;
    archive_entry* m_entry = nullptr;
};

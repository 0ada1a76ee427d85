#include "backup/ZipArchive.h"

#include "backup/AtomicFile.h"
#include "backup/BackupTr.h"
#include "backup/FileErrors.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>

namespace {

constexpr size_t ReadBlockBytes = 1 << 20;

QString engineText(archive* a)
{
    const char* text = archive_error_string(a);
    return text ? QString::fromLocal8Bit(text) : QString();
}

} // namespace

struct ZipWriterCallbacks
{
    static la_ssize_t write(archive*, void* self, const void* buffer, size_t length)
    {
        return static_cast<ZipWriter*>(self)->deliver(static_cast<const char*>(buffer), qint64(length))
                   ? la_ssize_t(length)
                   : -1;
    }
};

ZipWriter::ZipWriter(AtomicFile& file) : m_file(file), m_archive(archive_write_new()), m_entry(archive_entry_new()) {}

ZipWriter::~ZipWriter()
{
    archive_entry_free(m_entry);
    archive_write_free(m_archive);
}

Result ZipWriter::open()
{
    archive_write_set_format_zip(m_archive);
    // Names are written as UTF-8 and marked so, so Chinese file names open correctly anywhere.
    archive_write_set_options(m_archive, "zip:hdrcharset=UTF-8");
    // Blocks go to the file as libarchive makes them; the file does its own buffering.
    archive_write_set_bytes_per_block(m_archive, 0);
    if (archive_write_open2(m_archive, this, nullptr, &ZipWriterCallbacks::write, nullptr, nullptr) != ARCHIVE_OK)
        return failure();
    return {};
}

Result ZipWriter::begin(const QString& path, qint64 size, const QDateTime& modified, bool compress)
{
    if (compress)
        archive_write_zip_set_compression_deflate(m_archive);
    else
        archive_write_zip_set_compression_store(m_archive);
    archive_entry_clear(m_entry);
    archive_entry_set_pathname_utf8(m_entry, path.toUtf8().constData());
    archive_entry_set_filetype(m_entry, AE_IFREG);
    archive_entry_set_perm(m_entry, 0644);
    archive_entry_set_size(m_entry, size);
    archive_entry_set_mtime(m_entry, modified.toSecsSinceEpoch(), 0);
    if (archive_write_header(m_archive, m_entry) != ARCHIVE_OK)
        return failure();
    return {};
}

Result ZipWriter::write(const char* data, qsizetype size)
{
    while (size > 0) {
        const la_ssize_t written = archive_write_data(m_archive, data, size_t(size));
        if (written <= 0)
            return failure();
        data += written;
        size -= written;
    }
    return {};
}

Result ZipWriter::close()
{
    if (archive_write_close(m_archive) != ARCHIVE_OK)
        return failure();
    return {};
}

bool ZipWriter::deliver(const char* data, qint64 size)
{
    if (Result r = m_file.write(data, size); !r) {
        m_writeError = r;
        return false;
    }
    return true;
}

Result ZipWriter::failure() const
{
    // The file's own failure says more (a full disk, a read-only place) than libarchive's echo.
    if (!m_writeError)
        return m_writeError;
    return Result::failure(
        BackupTr::tr("无法写入备份文件%1，备份没有完成。请换一个位置再试。").arg(FileErrors::quoted(m_file.target())),
        engineText(m_archive));
}

ZipReader::ZipReader() : m_archive(archive_read_new())
{
    archive_read_support_format_zip_seekable(m_archive);
}

ZipReader::~ZipReader()
{
    archive_read_free(m_archive);
}

Result ZipReader::open(const QString& path)
{
    m_path = path;
    if (!QFile::exists(path))
        return Result::failure(
            BackupTr::tr("找不到备份文件%1。请检查文件的位置后再试。").arg(FileErrors::quoted(path)));
    if (archive_read_open_filename(m_archive, QFile::encodeName(path).constData(), ReadBlockBytes) != ARCHIVE_OK)
        return failure();
    return {};
}

ResultOf<bool> ZipReader::next()
{
    const int status = archive_read_next_header(m_archive, &m_entry);
    if (status == ARCHIVE_EOF)
        return false;
    if (status != ARCHIVE_OK)
        return failure();
    return true;
}

QString ZipReader::path() const
{
    const char* utf8 = archive_entry_pathname_utf8(m_entry);
    return utf8 ? QString::fromUtf8(utf8) : QString::fromLocal8Bit(archive_entry_pathname(m_entry));
}

qint64 ZipReader::size() const
{
    return archive_entry_size(m_entry);
}

bool ZipReader::isFile() const
{
    return archive_entry_filetype(m_entry) == AE_IFREG;
}

bool ZipReader::isFolder() const
{
    return archive_entry_filetype(m_entry) == AE_IFDIR;
}

Result ZipReader::read(const std::function<Result(const char*, qsizetype)>& sink)
{
    for (;;) {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(m_archive, &block, &size, &offset);
        if (status == ARCHIVE_EOF)
            return {};
        if (status != ARCHIVE_OK)
            return failure();
        if (Result r = sink(static_cast<const char*>(block), qsizetype(size)); !r)
            return r;
    }
}

Result ZipReader::failure() const
{
    return Result::failure(
        BackupTr::tr("备份文件%1无法读取：它可能不完整、已经损坏，或者不是备份文件。请换一个备份文件再试。")
            .arg(FileErrors::quoted(m_path)),
        engineText(m_archive));
}

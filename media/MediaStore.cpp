#include "media/MediaStore.h"

#include "data/MediaReferences.h"
#include "data/UnsavedMedia.h"
#include "media/AttachmentText.h"
#include "media/MediaFolder.h"
#include "media/MediaTr.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <climits>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/types.h>
#endif

namespace {

QString quoted(const QString& name)
{
    return QStringLiteral("“") + name + QStringLiteral("”");
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The system's words for a failed call on file: errno as the call left it ("No space left on
// device"), where Qt's own text may say only "Unknown error".
QString failureText(const QFile& file, int error)
{
    return error ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
}

Result cancelled(const QString& name)
{
    return Result::failure(MediaTr::tr("已取消复制%1，这个文件没有添加。").arg(quoted(name)));
}

Result readFailure(const QString& name, const QString& detail)
{
    return Result::failure(
        MediaTr::tr("读取文件%1时出错，文件没有添加。请确认文件可以打开（例如U盘或光盘仍然插着）后再试。")
            .arg(quoted(name)),
        detail);
}

Result writeFailure(const QString& name, const QString& detail)
{
    return Result::failure(MediaTr::tr("无法把文件%1复制到媒体文件夹，文件没有添加。磁盘空间可能不够，或者没有写入"
                                       "媒体文件夹的权限。请腾出磁盘空间或检查权限后再试。")
                               .arg(quoted(name)),
                           detail);
}

// Said when the name, or the numbered name it needs beside a file of the same name, is longer
// than the system takes.
Result nameTooLong(const QString& name, bool numbered)
{
    return Result::failure((numbered ? MediaTr::tr("文件%1的名字太长：媒体文件夹里已有同名的文件，加上编号后系统无法"
                                                   "保存这个名字，文件没有添加。请把文件改个短些的名字后再添加。")
                                     : MediaTr::tr("文件%1的名字太长，系统无法保存这个名字，文件没有添加。请把文件改个"
                                                   "短些的名字后再添加。"))
                               .arg(quoted(name)));
}

// The longest file name the system takes, in bytes of its file-name encoding.
qsizetype maxNameBytes()
{
#if defined(NAME_MAX)
    return NAME_MAX;
#else
    return 255;
#endif
}

// "photo.jpg" numbered 2 is "photo(2).jpg"; the number goes before the last extension.
QString numbered(const QString& name, int number)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = QLatin1Char('(') + QString::number(number) + QLatin1Char(')');
    if (dot <= 0)
        return name + suffix;
    return name.left(dot) + suffix + name.mid(dot);
}

// Reads exactly size bytes unless the file ends first; -1 on an error.
qint64 readFully(QFile& file, char* buffer, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.read(buffer + done, size - done);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

enum class Comparison
{
    Same,
    Different,
    Cancelled
};

// Compares the open source with the stored file of the same size. The last chunk goes first:
// files of equal size that differ mostly differ at one end, so most comparisons end at once.
ResultOf<Comparison> sameContent(QFile& source, const QString& storedPath, qint64 size, const QString& name,
                                 const MediaStore::Progress& progress)
{
    QFile stored(storedPath);
    if (!stored.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        // A stored file that cannot be read is not known to be the same: store under another name.
        return Comparison::Different;
    }
    constexpr qint64 chunk = 4 * 1024 * 1024;
    QByteArray a(chunk, Qt::Uninitialized);
    QByteArray b(chunk, Qt::Uninitialized);
    // Compares length bytes from offset; Different also when the stored file ends early.
    const auto compare = [&](qint64 offset, qint64 length) -> ResultOf<Comparison> {
        if (!source.seek(offset))
            return readFailure(name, source.errorString());
        if (!stored.seek(offset))
            return Comparison::Different;
        const qint64 n = readFully(source, a.data(), length);
        if (n != length)
            return readFailure(name, source.errorString());
        if (readFully(stored, b.data(), n) != n || std::memcmp(a.constData(), b.constData(), size_t(n)) != 0)
            return Comparison::Different;
        return Comparison::Same;
    };

    if (size > chunk) {
        const ResultOf<Comparison> tail = compare(size - chunk, chunk);
        if (!tail || *tail != Comparison::Same)
            return tail;
    }
    for (qint64 compared = 0; compared < size;) {
        const qint64 length = std::min(chunk, size - compared);
        const ResultOf<Comparison> part = compare(compared, length);
        if (!part || *part != Comparison::Same)
            return part;
        compared += length;
        if (progress && !progress(compared, size))
            return Comparison::Cancelled;
    }
    return Comparison::Same;
}

// Asks the system to start writing a copied chunk to disk now, so the wait for the whole file
// at the end is short: the disk works while the next chunks are copied.
void startWriting([[maybe_unused]] QFile& target, [[maybe_unused]] qint64 from, [[maybe_unused]] qint64 length)
{
#ifdef Q_OS_LINUX
    ::sync_file_range(target.handle(), from, length, SYNC_FILE_RANGE_WRITE);
#endif
}

// Copies the open source from its start to the open target. The kernel copies by itself where
// it can (no round trip through this process's memory); otherwise chunks are read and written.
Result copyContent(QFile& source, QFile& target, qint64 size, const QString& name, const MediaStore::Progress& progress)
{
    if (!source.seek(0))
        return readFailure(name, source.errorString());
    qint64 copied = 0;
#ifdef Q_OS_LINUX
    bool kernelCopy = true;
    loff_t inOffset = 0;
    while (kernelCopy && copied < size) {
        const ssize_t n = ::copy_file_range(source.handle(), &inOffset, target.handle(), nullptr,
                                            size_t(std::min(MediaStore::ChunkSize, size - copied)), 0);
        if (n < 0) {
            // Not offered between these files: copy the ordinary way, from the first byte.
            if ((errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) && copied == 0) {
                kernelCopy = false;
                break;
            }
            return errno == EIO ? readFailure(name, systemError()) : writeFailure(name, systemError());
        }
        if (n == 0)
            return readFailure(name, MediaTr::tr("文件在复制时变短了。"));
        startWriting(target, copied, n);
        copied += n;
        if (progress && !progress(copied, size))
            return cancelled(name);
    }
    if (kernelCopy)
        return {};
#endif
    QByteArray buffer(MediaStore::ChunkSize, Qt::Uninitialized);
    while (copied < size) {
        const qint64 n = readFully(source, buffer.data(), std::min(MediaStore::ChunkSize, size - copied));
        if (n < 0)
            return readFailure(name, source.errorString());
        if (n == 0)
            return readFailure(name, MediaTr::tr("文件在复制时变短了。"));
        errno = 0;
        if (target.write(buffer.constData(), n) != n)
            return writeFailure(name, failureText(target, errno));
        startWriting(target, copied, n);
        copied += n;
        if (progress && !progress(copied, size))
            return cancelled(name);
    }
    return {};
}

// Makes a new name in folder last through a power cut.
void syncFolder([[maybe_unused]] const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// Writes the source under a hidden temporary name in folder; gives that name's path.
ResultOf<QString> copyToTemporary(QFile& source, qint64 size, const QString& folder, const QString& name,
                                  const MediaStore::Progress& progress)
{
    QFile target;
    int openError = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        target.setFileName(folder + QStringLiteral("/.kestrin-") +
                           QString::number(QRandomGenerator::global()->generate64(), 16) + QStringLiteral(".part"));
        errno = 0;
        if (target.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        openError = errno;
        if (!QFileInfo::exists(target.fileName()))
            break; // not a clash of names: the folder cannot be written
    }
    if (!target.isOpen())
        return writeFailure(name, failureText(target, openError));

    Result copied = copyContent(source, target, size, name, progress);
#ifdef Q_OS_UNIX
    // On disk before it gets its real name, so a power cut cannot leave an empty file there.
    if (copied && ::fdatasync(target.handle()) != 0)
        copied = writeFailure(name, systemError());
#endif
    errno = 0;
    target.close();
    if (copied && target.error() != QFileDevice::NoError)
        copied = writeFailure(name, failureText(target, errno));
    if (!copied) {
        target.remove();
        return copied;
    }
    return target.fileName();
}

} // namespace

MediaStore::MediaStore(QString folder) : m_folder(folder.isEmpty() ? MediaFolder::path() : QDir::cleanPath(folder)) {}

QString MediaStore::filePath(const QString& storedName) const
{
    return m_folder + QLatin1Char('/') + storedName;
}

Result MediaStore::ensureFolder() const
{
    if (QDir(m_folder).exists() || QDir().mkpath(m_folder))
        return {};
    return Result::failure(MediaTr::tr("无法建立媒体文件夹%1。请检查磁盘空间和这个文件夹的写入权限。")
                               .arg(quoted(QDir::toNativeSeparators(m_folder))));
}

ResultOf<MediaStore::Stored> MediaStore::store(const QString& sourcePath, const Progress& progress) const
{
    const QFileInfo sourceInfo(sourcePath);
    const QString name = sourceInfo.fileName();
    if (!sourceInfo.exists() || !sourceInfo.isFile())
        return Result::failure(MediaTr::tr("找不到要复制的文件%1，文件没有添加。请确认它还在原来的文件夹里。")
                                   .arg(quoted(QDir::toNativeSeparators(sourcePath))));
    const QString wanted = AttachmentText::storableName(name);
    if (!AttachmentText::endsReadably(wanted))
        return Result::failure(MediaTr::tr("文件%1的名字没有扩展名（例如 .jpg），不能作为附件保存。请给文件加上扩展名"
                                           "后再添加。")
                                   .arg(quoted(name)));
    if (!QDir(m_folder).exists() && !QDir().mkpath(m_folder))
        return Result::failure(MediaTr::tr("无法建立媒体文件夹%1，文件%2没有添加。请检查磁盘空间和写入权限。")
                                   .arg(quoted(QDir::toNativeSeparators(m_folder)), quoted(name)));

    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return readFailure(name, source.errorString());
    const qint64 size = source.size();
    const QString sourceCanonical = sourceInfo.canonicalFilePath();

    QString temporary; // copied once, then tried under each free name
    for (int number = 0; number < 10000; ++number) {
        const QString candidate = number == 0 ? wanted : numbered(wanted, number);
        if (QFile::encodeName(candidate).size() > maxNameBytes()) {
            if (!temporary.isEmpty())
                QFile::remove(temporary);
            return nameTooLong(name, number > 0);
        }
        const QString target = filePath(candidate);
        const QFileInfo targetInfo(target);
        if (targetInfo.exists()) {
            // A file nothing names is not taken over: the copy gets a name of its own.
            if (!mayReuse(candidate))
                continue;
            if (targetInfo.canonicalFilePath() == sourceCanonical)
                return Stored{candidate, true}; // chosen from the media folder itself
            if (!targetInfo.isFile() || targetInfo.size() != size)
                continue;
            const ResultOf<Comparison> comparison = sameContent(source, target, size, name, progress);
            if (comparison.ok() && *comparison == Comparison::Different)
                continue;
            if (!temporary.isEmpty())
                QFile::remove(temporary);
            if (!comparison)
                return Result(comparison);
            if (*comparison == Comparison::Cancelled)
                return cancelled(name);
            return Stored{candidate, true};
        }
        if (temporary.isEmpty()) {
            ResultOf<QString> copy = copyToTemporary(source, size, m_folder, name, progress);
            if (!copy)
                return Result(copy);
            temporary = *copy;
        }
        // rename never replaces an existing file; if another program took the name meanwhile,
        // the next round compares with what it stored.
        if (QFile::rename(temporary, target)) {
            syncFolder(m_folder);
            return Stored{candidate, false};
        }
        if (!QFileInfo::exists(target)) {
            QFile::remove(temporary);
            return writeFailure(name, MediaTr::tr("无法给复制好的文件改名。"));
        }
        --number;
    }
    if (!temporary.isEmpty())
        QFile::remove(temporary);
    return writeFailure(name, MediaTr::tr("媒体文件夹里同名的文件太多。"));
}

ResultOf<MediaStore::Removal> MediaStore::removeIfUnused(const QString& storedName) const
{
    // A name from a row never reaches outside the media folder. A backslash is an ordinary
    // character in a file name here, so a name an older version stored with one can be deleted.
    if (storedName.isEmpty() || storedName == QStringLiteral(".") || storedName == QStringLiteral("..") ||
        storedName.contains(QLatin1Char('/')))
        return Removal::Missing;
    const ResultOf<QStringList> texts = MediaReferences::textsContaining(storedName);
    if (!texts)
        return Result(texts);
    for (const QString& text : *texts) {
        if (AttachmentText::read(text).contains(storedName))
            return Removal::StillNamed;
    }
    const ResultOf<bool> listed = UnsavedMedia::isListed(storedName);
    if (!listed)
        return Result(listed);
    if (*listed)
        return Removal::StillNamed;
    QFile file(filePath(storedName));
    if (!file.exists())
        return Removal::Missing;
    if (!file.remove())
        return Result::failure(
            MediaTr::tr("无法删除媒体文件%1。请确认没有其他程序正在使用它，然后再试。").arg(quoted(storedName)),
            file.errorString());
    return Removal::Removed;
}

void MediaStore::setReusable(QStringList names)
{
    m_limitReuse = true;
    m_reusable = QSet<QString>(names.begin(), names.end());
}

bool MediaStore::mayReuse(const QString& storedName) const
{
    return !m_limitReuse || m_reusable.contains(storedName);
}

ResultOf<QStringList> MediaStore::namesTaken()
{
    ResultOf<QStringList> names = namesInUse();
    if (!names)
        return names;
    const ResultOf<QStringList> unsaved = UnsavedMedia::names();
    if (!unsaved)
        return Result(unsaved);
    return *names + *unsaved;
}

ResultOf<QStringList> MediaStore::namesInUse(const QSqlDatabase& db)
{
    const ResultOf<QStringList> texts = MediaReferences::allTexts(db);
    if (!texts)
        return Result(texts);
    QSet<QString> names;
    for (const QString& text : *texts) {
        const QStringList read = AttachmentText::read(text);
        for (const QString& name : read)
            names.insert(name);
    }
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

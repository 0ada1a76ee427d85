#include "media/ThumbnailCache.h"

#include "media/MediaTr.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace {

// Where failures of this program are kept, as the convention asks: one folder per program
// and version.
const QString FailFolder = QStringLiteral("fail/kestrin-1.0");

QString folderOf(ThumbnailCache::Size size)
{
    return size == ThumbnailCache::Size::Large ? QStringLiteral("large") : QStringLiteral("normal");
}

QString entryName(const QString& file)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(ThumbnailCache::fileUri(file), QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

// Whole seconds since 1970, as the entries keep it; empty when the file cannot be read.
QString mtimeOf(const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return {};
    return QString::number(info.lastModified().toSecsSinceEpoch());
}

} // namespace

ThumbnailCache::ThumbnailCache(QString root) : m_root(std::move(root)) {}

QString ThumbnailCache::defaultRoot()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    // A relative value is to be ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/thumbnails");
}

QByteArray ThumbnailCache::fileUri(const QString& path)
{
    static const QByteArray plain = QByteArrayLiteral("!$&'()*+,-./:=@_~");
    const QByteArray bytes = QFileInfo(path).absoluteFilePath().toUtf8();
    QByteArray uri = QByteArrayLiteral("file://");
    uri.reserve(uri.size() + bytes.size() * 3);
    for (const char c : bytes) {
        const auto u = uchar(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || plain.contains(c)) {
            uri += c;
        } else {
            uri += '%';
            uri += "0123456789ABCDEF"[u >> 4];
            uri += "0123456789ABCDEF"[u & 15];
        }
    }
    return uri;
}

QString ThumbnailCache::thumbnailPath(const QString& file, Size size) const
{
    return m_root + QLatin1Char('/') + folderOf(size) + QLatin1Char('/') + entryName(file);
}

QString ThumbnailCache::failPath(const QString& file) const
{
    return m_root + QLatin1Char('/') + FailFolder + QLatin1Char('/') + entryName(file);
}

bool ThumbnailCache::matches(const QString& uri, const QString& mtime, const QString& entryPath, QImage* image)
{
    // The keys are read from the decoded image: QImageReader::text() splits keys at their colons.
    QImageReader reader(entryPath, "png");
    const QImage entry = reader.read();
    if (entry.isNull() || entry.text(UriKey) != uri || entry.text(MTimeKey) != mtime)
        return false;
    if (image)
        *image = entry;
    return true;
}

ThumbnailCache::Lookup ThumbnailCache::find(const QString& file, Size size) const
{
    const QString mtime = mtimeOf(file);
    if (mtime.isEmpty())
        return {State::Failed, {}};
    const QString uri = QString::fromLatin1(fileUri(file));
    Lookup found;
    if (matches(uri, mtime, thumbnailPath(file, size), &found.image)) {
        found.state = State::Found;
        return found;
    }
    if (matches(uri, mtime, failPath(file), nullptr))
        return {State::Failed, {}};
    return {};
}

Result ThumbnailCache::store(const QString& file, Size size, const QImage& image) const
{
    const int side = pixels(size);
    QImage fitted = image;
    if (image.width() > side || image.height() > side)
        fitted = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return write(thumbnailPath(file, size), file, fitted);
}

Result ThumbnailCache::markFailed(const QString& file) const
{
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    return write(failPath(file), file, blank);
}

Result ThumbnailCache::write(const QString& path, const QString& file, QImage image) const
{
    const QString folder = QFileInfo(path).absolutePath();
    // The cache is private to the user: folders 0700, files 0600.
    if (!QDir().mkpath(folder))
        return Result::failure(MediaTr::tr("无法建立缩略图文件夹“%1”。").arg(QDir::toNativeSeparators(folder)));
    QFile::setPermissions(m_root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    image.setText(UriKey, QString::fromLatin1(fileUri(file)));
    image.setText(MTimeKey, mtimeOf(file));
    image.setText(QStringLiteral("Software"), QStringLiteral("Kestrin"));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return Result::failure(MediaTr::tr("无法保存缩略图。"), out.errorString());
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QImageWriter writer(&out, "png");
    if (!writer.write(image)) {
        out.cancelWriting();
        return Result::failure(MediaTr::tr("无法保存缩略图。"), writer.errorString());
    }
    if (!out.commit())
        return Result::failure(MediaTr::tr("无法保存缩略图。"), out.errorString());
    return {};
}

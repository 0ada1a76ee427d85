#pragma once

#include "common/Result.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The thumbnail cache every desktop program of the user shares: $XDG_CACHE_HOME/thumbnails
// (~/.cache/thumbnails without it) with normal/ (128 pixels) and large/ (256 pixels). A
// thumbnail is a PNG named by the MD5 of the file's URI, carrying the URI and the file's
// modification time (Thumb::URI, Thumb::MTime); it counts only while the time matches, so a
// changed file is thumbnailed again. A file that could not be decoded gets an entry under
// fail/kestrin-1.0/ with the same name and keys, so it is not tried again until it changes.
class ThumbnailCache
{
public:
    enum class Size
    {
        Normal,
        Large
    };
    // The longest side of a thumbnail of that size.
    static int pixels(Size size) { return size == Size::Large ? 256 : 128; }
    // The smallest size whose thumbnails are at least that many pixels; Large beyond it.
    static Size sizeFor(int pixels) { return pixels > 128 ? Size::Large : Size::Normal; }

    // The cache under the user's cache folder, or under root (ending in /thumbnails) when given.
    explicit ThumbnailCache(QString root = defaultRoot());
    static QString defaultRoot();
    const QString& root() const { return m_root; }

    // The file's URI as thumbnails name it: file:// and the absolute path, with every byte of
    // its UTF-8 percent-encoded except letters, digits and !$&'()*+,-./:=@_~.
    static QByteArray fileUri(const QString& path);
    QString thumbnailPath(const QString& file, Size size) const;
    QString failPath(const QString& file) const;

    enum class State
    {
        // No thumbnail, or one of an older version of the file.
        Missing,
        Found,
        // The file as it is now could not be decoded before.
        Failed
    };
    struct Lookup
    {
        State state = State::Missing;
        QImage image;
    };
    Lookup find(const QString& file, Size size) const;

    // Keeps image as the file's thumbnail; written under a temporary name and renamed into place.
    Result store(const QString& file, Size size, const QImage& image) const;
    // Records that the file as it is now cannot be decoded.
    Result markFailed(const QString& file) const;

    // The keys a cache entry carries.
    static inline const QString UriKey = QStringLiteral("Thumb::URI");
    static inline const QString MTimeKey = QStringLiteral("Thumb::MTime");

private:
    Result write(const QString& path, const QString& file, QImage image) const;
    // Whether the entry at path is for file as it is now.
    static bool matches(const QString& uri, const QString& mtime, const QString& entryPath, QImage* image);

    QString m_root;
};

#include "media/Thumbnailer.h"

#include "media/VideoFrame.h"

#include <QImageReader>

bool Thumbnailer::hasThumbnails(MediaKind kind)
{
    return kind == MediaKind::Picture || kind == MediaKind::Video;
}

QImage Thumbnailer::decodePicture(const QString& file, int pixels)
{
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    // JPEG decodes straight at a fraction of its size: a 12-megapixel photo never decodes whole.
    if (full.isValid() && (full.width() > pixels || full.height() > pixels))
        reader.setScaledSize(full.scaled(pixels, pixels, Qt::KeepAspectRatio));
    return reader.read();
}

QImage Thumbnailer::thumbnail(const ThumbnailCache& cache, const QString& file, ThumbnailCache::Size size)
{
    const MediaKind kind = MediaKinds::fromName(file);
    if (!hasThumbnails(kind))
        return {};
    ThumbnailCache::Lookup found = cache.find(file, size);
    if (found.state == ThumbnailCache::State::Found)
        return found.image;
    if (found.state == ThumbnailCache::State::Failed)
        return {};

    const int pixels = ThumbnailCache::pixels(size);
    QImage image =
        kind == MediaKind::Picture ? decodePicture(file, pixels) : VideoFrame::grab(file, 1000, VideoTimeoutMs);
    if (image.isNull()) {
        // A cache that cannot be written only costs the next showing the same work.
        (void)cache.markFailed(file);
        return {};
    }
    if (image.width() > pixels || image.height() > pixels)
        image = image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    (void)cache.store(file, size, image);
    return image;
}

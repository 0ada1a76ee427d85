#pragma once

#include "media/MediaKind.h"
#include "media/ThumbnailCache.h"

#include <QImage>

// Makes the thumbnail of one media file through the shared cache: a picture scaled and turned
// upright as its camera recorded it, a video's frame about a second in. A thumbnail in the
// cache for the file as it is now is taken as it is; a file that cannot be decoded is recorded
// as failed once and not tried again until it changes. Sounds and other files have none.
// Runs on any thread.
namespace Thumbnailer {

// Whether files of this kind get thumbnails.
bool hasThumbnails(MediaKind kind);

// The thumbnail, or a null image when the file has none.
QImage thumbnail(const ThumbnailCache& cache, const QString& file, ThumbnailCache::Size size);

// Decodes a picture at the size of a thumbnail, upright.
QImage decodePicture(const QString& file, int pixels);

// How long one video may take to give a frame.
constexpr int VideoTimeoutMs = 5000;

} // namespace Thumbnailer

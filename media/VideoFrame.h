#pragma once

#include <QImage>
#include <QString>

// One frame of a video, decoded by GStreamer without showing anything: the frame about
// atMs into the video (the middle of a shorter one). Gives a null image when the file is no
// video GStreamer can decode, or when decoding takes longer than timeoutMs. Safe to call
// from any thread.
namespace VideoFrame {

QImage grab(const QString& path, int atMs = 1000, int timeoutMs = 5000);

} // namespace VideoFrame

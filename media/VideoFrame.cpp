#include "media/VideoFrame.h"

#include "common/RuntimeModule.h"
#include "media/VideoFrameModule.h"

QImage VideoFrame::grab(const QString& path, int atMs, int timeoutMs)
{
    QString reason;
    auto* decoder = RuntimeModule::load<VideoFrameModule>(QStringLiteral("kestrin_videoframe"), &reason);
    if (!decoder) {
        // Without the decoder a video has no thumbnail, as one that cannot be decoded.
        qWarning("video thumbnail module: %s", qPrintable(reason));
        return {};
    }
    return decoder->grab(path, atMs, timeoutMs);
}

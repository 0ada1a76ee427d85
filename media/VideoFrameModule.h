#pragma once

#include <QtPlugin>

class QImage;
class QString;

// The video decoder of thumbnails, kept in the run-time module "kestrin_videoframe" so that the
// programs start without the media framework's libraries.
class VideoFrameModule
{
public:
    virtual ~VideoFrameModule() = default;
    // As VideoFrame::grab.
    virtual QImage grab(const QString& path, int atMs, int timeoutMs) = 0;
};

#define KESTRIN_VIDEOFRAME_IID "org.kestrin.VideoFrameModule/1"
Q_DECLARE_INTERFACE(VideoFrameModule, KESTRIN_VIDEOFRAME_IID)

// The run-time module "kestrin_videoframe": one frame of a video, decoded by GStreamer.
#include "media/VideoFrameModule.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QImage>
#include <QUrl>

#include <gst/gst.h>

#include <dlfcn.h>

#include <memory>
#include <mutex>

namespace {

bool initialised()
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        // GStreamer into the global symbol scope, as when it was linked into the program: out
        // of it, the player's pipelines stall on an X display, and this one is kept alike.
        dlopen("libgstreamer-1.0.so.0", RTLD_LAZY | RTLD_GLOBAL);
        ok = gst_init_check(nullptr, nullptr, nullptr);
    });
    return ok;
}

struct Unref
{
    void operator()(GstElement* e) const
    {
        gst_element_set_state(e, GST_STATE_NULL);
        gst_object_unref(e);
    }
    void operator()(GstSample* s) const { gst_sample_unref(s); }
    void operator()(GstCaps* c) const { gst_caps_unref(c); }
};

// Waits for a pending change of state; false when it failed or did not end in time.
bool settled(GstElement* pipeline, qint64 timeoutMs)
{
    const GstStateChangeReturn done = gst_element_get_state(pipeline, nullptr, nullptr, timeoutMs * GST_MSECOND);
    return done == GST_STATE_CHANGE_SUCCESS || done == GST_STATE_CHANGE_NO_PREROLL;
}

QImage grabFrame(const QString& path, int atMs, int timeoutMs)
{
    if (!initialised() || !QFileInfo(path).isFile())
        return {};
    // One time limit for the whole file: opening, seeking and converting.
    QDeadlineTimer deadline(timeoutMs);
    std::unique_ptr<GstElement, Unref> player(gst_element_factory_make("playbin", nullptr));
    GstElement* videoSink = gst_element_factory_make("fakesink", nullptr);
    GstElement* audioSink = gst_element_factory_make("fakesink", nullptr);
    if (!player || !videoSink || !audioSink) {
        if (videoSink)
            gst_object_unref(videoSink);
        if (audioSink)
            gst_object_unref(audioSink);
        return {};
    }
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    // Video only (playbin's "video" flag): no sound is opened, no subtitles are looked for.
    g_object_set(player.get(), "uri", uri.constData(), "video-sink", videoSink, "audio-sink", audioSink, "flags", 1,
                 nullptr);

    if (gst_element_set_state(player.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
        !settled(player.get(), deadline.remainingTime()))
        return {};
    // About a second in, past a black or faded first frame; the middle of a shorter video.
    gint64 duration = -1;
    gint64 at = gint64(atMs) * GST_MSECOND;
    if (gst_element_query_duration(player.get(), GST_FORMAT_TIME, &duration) && duration > 0 && at >= duration)
        at = duration / 2;
    if (at > 0 && gst_element_seek_simple(player.get(), GST_FORMAT_TIME,
                                          GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT), at)) {
        if (!settled(player.get(), deadline.remainingTime()))
            return {};
    }

    const std::unique_ptr<GstCaps, Unref> caps(gst_caps_new_simple(
        "video/x-raw", "format", G_TYPE_STRING, "BGRx", "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr));
    GstSample* raw = nullptr;
    g_signal_emit_by_name(player.get(), "convert-sample", caps.get(), &raw);
    const std::unique_ptr<GstSample, Unref> sample(raw);
    if (!sample)
        return {};
    const GstStructure* shape = gst_caps_get_structure(gst_sample_get_caps(sample.get()), 0);
    GstBuffer* buffer = gst_sample_get_buffer(sample.get());
    int width = 0;
    int height = 0;
    if (!shape || !buffer || !gst_structure_get_int(shape, "width", &width) ||
        !gst_structure_get_int(shape, "height", &height) || width <= 0 || height <= 0)
        return {};
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return {};
    QImage frame;
    // BGRx rows are padded to four bytes, which four bytes a pixel always are.
    const qsizetype stride = qsizetype(width) * 4;
    if (map.size >= gsize(stride * height))
        frame = QImage(map.data, width, height, stride, QImage::Format_RGB32).copy();
    gst_buffer_unmap(buffer, &map);
    return frame;
}

} // namespace

class GstVideoFrameModule : public QObject, public VideoFrameModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KESTRIN_VIDEOFRAME_IID)
    Q_INTERFACES(VideoFrameModule)

public:
    QImage grab(const QString& path, int atMs, int timeoutMs) override { return grabFrame(path, atMs, timeoutMs); }
};

#include "GstVideoFrame.moc"

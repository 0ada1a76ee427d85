// The run-time module "kestrin_playback": the player's engine on Qt Multimedia.
#include "media/ui/PlaybackEngine.h"

#include <QAudioOutput>
#include <QEvent>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoWidget>

#include <dlfcn.h>

namespace {

Playback::State stateOf(QMediaPlayer::PlaybackState state)
{
    switch (state) {
    case QMediaPlayer::PlayingState:
        return Playback::State::Playing;
    case QMediaPlayer::PausedState:
        return Playback::State::Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return Playback::State::Stopped;
}

Playback::Status statusOf(QMediaPlayer::MediaStatus status)
{
    switch (status) {
    case QMediaPlayer::NoMedia:
        return Playback::Status::NoMedia;
    case QMediaPlayer::LoadingMedia:
        return Playback::Status::Loading;
    case QMediaPlayer::LoadedMedia:
        return Playback::Status::Loaded;
    case QMediaPlayer::StalledMedia:
        return Playback::Status::Stalled;
    case QMediaPlayer::BufferingMedia:
        return Playback::Status::Buffering;
    case QMediaPlayer::BufferedMedia:
        return Playback::Status::Buffered;
    case QMediaPlayer::EndOfMedia:
        return Playback::Status::EndOfMedia;
    case QMediaPlayer::InvalidMedia:
        break;
    }
    return Playback::Status::Invalid;
}

Playback::Error errorOf(QMediaPlayer::Error error)
{
    switch (error) {
    case QMediaPlayer::NoError:
        return Playback::Error::None;
    case QMediaPlayer::FormatError:
        return Playback::Error::Format;
    case QMediaPlayer::NetworkError:
        return Playback::Error::Network;
    case QMediaPlayer::AccessDeniedError:
        return Playback::Error::Access;
    case QMediaPlayer::ResourceError:
        break;
    }
    return Playback::Error::Resource;
}

// Hands the video display's events to the player's widget.
class DisplayEvents : public QObject
{
public:
    DisplayEvents(Playback::Events& events, QObject* parent) : QObject(parent), m_events(events) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return m_events.displayEvent(event) || QObject::eventFilter(watched, event);
    }

private:
    Playback::Events& m_events;
};

class QtEngine final : public Playback::Engine
{
public:
    QtEngine(QWidget* owner, Playback::Events& events)
        : m_owner(owner), m_events(events), m_video(new QVideoWidget), m_filter(new DisplayEvents(events, m_video)),
          m_audio(new QAudioOutput(owner))
    {
        m_video->setObjectName(QStringLiteral("videoDisplay"));
        m_video->setFocusPolicy(Qt::StrongFocus);
        m_video->installEventFilter(m_filter);
        QObject::connect(m_video, &QVideoWidget::fullScreenChanged, m_filter, [this](bool on) {
            if (on)
                m_video->setFocus();
        });
    }

    ~QtEngine() override
    {
        // The player goes first, so no frame reaches a display being destroyed.
        if (m_player) {
            QObject::disconnect(m_player, nullptr, nullptr, nullptr);
            delete m_player;
        }
    }

    QWidget* videoDisplay() override { return m_video; }
    void setFullScreen(bool on) override { m_video->setFullScreen(on); }
    bool isFullScreen() const override { return m_video->isFullScreen(); }

    void renew() override
    {
        if (!m_player)
            return;
        QMediaPlayer* old = m_player;
        QObject::disconnect(old, nullptr, nullptr, nullptr);
        old->stop();
        old->setVideoOutput(nullptr);
        old->setAudioOutput(nullptr);
        old->deleteLater();
        m_player = nullptr;
        player();
    }

    void setSource(const QUrl& url) override { player()->setSource(url); }
    bool hasSource() const override { return m_player && !m_player->source().isEmpty(); }
    void play() override { player()->play(); }
    void pause() override
    {
        if (m_player)
            m_player->pause();
    }
    void stop() override
    {
        if (m_player)
            m_player->stop();
    }
    void setPlaybackRate(qreal rate) override
    {
        if (m_player)
            m_player->setPlaybackRate(rate);
    }
    qreal playbackRate() const override { return m_player ? m_player->playbackRate() : 1.0; }
    void setPosition(qint64 position) override
    {
        if (m_player)
            m_player->setPosition(position);
    }
    qint64 position() const override { return m_player ? m_player->position() : 0; }
    qint64 duration() const override { return m_player ? m_player->duration() : 0; }
    bool hasVideo() const override { return m_player && m_player->hasVideo(); }
    Playback::State state() const override
    {
        return m_player ? stateOf(m_player->playbackState()) : Playback::State::Stopped;
    }
    Playback::Status status() const override
    {
        return m_player ? statusOf(m_player->mediaStatus()) : Playback::Status::NoMedia;
    }
    void setVolume(float volume) override { m_audio->setVolume(volume); }

    bool leaveRunning() override
    {
        if (!m_player)
            return false;
        QObject::disconnect(m_player, nullptr, nullptr, nullptr);
        delete m_filter;
        m_player->setParent(nullptr);
        m_audio->setParent(nullptr);
        m_video->hide();
        m_video->setParent(nullptr);
        m_player = nullptr;
        return true;
    }

private:
    QMediaPlayer* player()
    {
        if (!m_player) {
            m_player = new QMediaPlayer(m_owner);
            m_player->setAudioOutput(m_audio);
            m_player->setVideoOutput(m_video);
            QObject::connect(m_player, &QMediaPlayer::errorOccurred, m_owner,
                             [this](QMediaPlayer::Error error) { m_events.errorOccurred(errorOf(error)); });
            QObject::connect(m_player, &QMediaPlayer::playbackStateChanged, m_owner,
                             [this](QMediaPlayer::PlaybackState state) { m_events.stateChanged(stateOf(state)); });
            QObject::connect(m_player, &QMediaPlayer::positionChanged, m_owner,
                             [this](qint64 position) { m_events.positionChanged(position); });
            QObject::connect(m_player, &QMediaPlayer::durationChanged, m_owner,
                             [this](qint64 duration) { m_events.durationChanged(duration); });
            QObject::connect(m_player, &QMediaPlayer::hasVideoChanged, m_owner,
                             [this](bool video) { m_events.hasVideoChanged(video); });
        }
        return m_player;
    }

    QWidget* m_owner;
    Playback::Events& m_events;
    QVideoWidget* m_video;
    DisplayEvents* m_filter;
    QAudioOutput* m_audio;
    QMediaPlayer* m_player = nullptr;
};

} // namespace

class QtPlaybackModule : public QObject, public Playback::Module
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KESTRIN_PLAYBACK_IID)
    Q_INTERFACES(Playback::Module)

public:
    Playback::Engine* createEngine(QWidget* owner, Playback::Events& events) override
    {
        // The media framework opens its GStreamer back end as a plugin, with GStreamer out of
        // the global symbol scope; on an X display playback then stalls at its first frame.
        // Opening GStreamer into the global scope first, as linking it into the program did,
        // keeps playback going.
        static void* const gstreamer = dlopen("libgstreamer-1.0.so.0", RTLD_LAZY | RTLD_GLOBAL);
        Q_UNUSED(gstreamer);
        return new QtEngine(owner, events);
    }
};

#include "QtPlayback.moc"

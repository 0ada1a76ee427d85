#pragma once

#include <QtPlugin>

class QEvent;
class QObject;
class QString;
class QUrl;
class QWidget;

// What the player's widget asks of the media framework, which lives in the run-time module
// "kestrin_playback" so that a window with a player starts without loading it. The interface
// holds no Qt Multimedia types: the player's states, statuses and errors are its own.
namespace Playback {

enum class State
{
    Stopped,
    Playing,
    Paused
};
enum class Status
{
    NoMedia,
    Loading,
    Loaded,
    Stalled,
    Buffering,
    Buffered,
    EndOfMedia,
    Invalid
};
enum class Error
{
    None,
    Resource,
    Format,
    Network,
    Access
};

// What the engine reports to the player's widget.
class Events
{
public:
    virtual void errorOccurred(Error error) = 0;
    virtual void stateChanged(State state) = 0;
    virtual void positionChanged(qint64 position) = 0;
    virtual void durationChanged(qint64 duration) = 0;
    virtual void hasVideoChanged(bool video) = 0;
    // An event on the video display (a double-click, a key); true when it was handled.
    virtual bool displayEvent(QEvent* event) = 0;

protected:
    ~Events() = default;
};

// One player with its audio output and video display. The media player itself is made when the
// first file is set; the video display with the engine.
class Engine
{
public:
    virtual ~Engine() = default;

    // The video display; the player's widget places it.
    virtual QWidget* videoDisplay() = 0;
    virtual void setFullScreen(bool on) = 0;
    virtual bool isFullScreen() const = 0;

    // Lets go of the current media player (without waiting for its pipeline) and takes a fresh
    // one for the next file: a pipeline that failed may still deliver errors after the next file
    // was set.
    virtual void renew() = 0;
    virtual void setSource(const QUrl& url) = 0;
    virtual bool hasSource() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void setPlaybackRate(qreal rate) = 0;
    virtual qreal playbackRate() const = 0;
    virtual void setPosition(qint64 position) = 0;
    virtual qint64 position() const = 0;
    virtual qint64 duration() const = 0;
    virtual bool hasVideo() const = 0;
    virtual State state() const = 0;
    virtual Status status() const = 0;
    virtual void setVolume(float volume) = 0;

    // When the program ends: takes the media player, its outputs and the display out of the
    // window without tearing them down (that would wait for the pipeline to pause), to end with
    // the process. Nothing is reported any more. True when a media player was left running.
    virtual bool leaveRunning() = 0;
};

// The module's root object.
class Module
{
public:
    virtual ~Module() = default;
    // An engine whose objects are children of owner (destroyed with it) and report to events.
    virtual Engine* createEngine(QWidget* owner, Events& events) = 0;
};

} // namespace Playback

#define KESTRIN_PLAYBACK_IID "org.kestrin.Playback.Module/1"
Q_DECLARE_INTERFACE(Playback::Module, KESTRIN_PLAYBACK_IID)

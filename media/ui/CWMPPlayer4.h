#pragma once

#include "media/ui/PlaybackEngine.h"

#include <QWidget>

#include <memory>

class QLabel;
class QSlider;
class QStackedWidget;
class QToolButton;

// The media player of growth and Reelbox: plays a sound or video file in the window, with its
// own transport bar (play/pause, stop, position, volume). Setting a file starts it. A file it
// cannot play gets a short line in the display area; the player never shows a message box of
// its own. Full screen is left with Escape or a double-click. The media framework (its player,
// audio output and video display) lives in a run-time module that is loaded, and made, only when
// something is played or shown full screen: a window with a player starts without it. Without the
// module, the display area says so.
class CWMPPlayer4 : public QWidget, private Playback::Events
{
    Q_OBJECT

public:
    explicit CWMPPlayer4(QWidget* parent = nullptr);
    ~CWMPPlayer4() override;

    // Opens the file at path and starts playing it.
    void setURL(const QString& path);
    // The file last set; empty after close().
    QString URL() const { return m_url; }
    // Stops and lets go of the file. (Hides QWidget::close: a player's close ends its media.)
    void close();
    // Starts the file, or resumes it at normal speed after a pause or fast forward.
    void play();
    void pause();
    // Plays on at several times the normal speed until play() or pause().
    void fastForward();
    // Shows the picture over the whole screen, or back in the window.
    void setFullScreen(bool on);
    bool isFullScreen() const;

    Playback::State playbackState() const;
    Playback::Status mediaStatus() const;
    qreal playbackRate() const;
    // The line shown in the display area: the file's name, or why it cannot be played.
    QString statusLine() const;
    int volume() const;

    static constexpr int InitialVolume = 50;
    static constexpr qreal FastForwardRate = 5.0;

signals:
    // A double-click on the display area while the player is in the window.
    void doubleClicked();
    // The file could not be opened or played; the display area says so.
    void failed(const QString& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The media framework's engine, loaded and made on first use; nullptr (with the display area
    // saying why) when its module cannot be loaded.
    Playback::Engine* engine();
    void showLine(const QString& text);
    void showPicture(bool video);
    void togglePlay();
    void stop();

    // What the engine reports.
    void errorOccurred(Playback::Error error) override;
    void stateChanged(Playback::State state) override;
    void positionChanged(qint64 position) override;
    void durationChanged(qint64 duration) override;
    void hasVideoChanged(bool video) override;
    bool displayEvent(QEvent* event) override;

    std::unique_ptr<Playback::Engine> m_engine;
    QStackedWidget* m_display;
    QLabel* m_line;
    QToolButton* m_playButton;
    QToolButton* m_stopButton;
    QSlider* m_position;
    QLabel* m_time;
    QSlider* m_volume;
    QString m_url;
    bool m_failed = false;
};

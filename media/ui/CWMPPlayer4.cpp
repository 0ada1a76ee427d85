#include "media/ui/CWMPPlayer4.h"

#include "media/MediaTr.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace {

QString clock(qint64 ms)
{
    const qint64 s = ms / 1000;
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QToolButton* transportButton(QStyle::StandardPixmap icon, const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(text);
    button->setAccessibleName(text);
    button->setAutoRaise(true);
    return button;
}

} // namespace

CWMPPlayer4::CWMPPlayer4(QWidget* parent)
    : QWidget(parent), m_player(nullptr), m_audio(nullptr), m_display(new QStackedWidget(this)), m_video(nullptr),
      m_line(new QLabel), m_playButton(transportButton(QStyle::SP_MediaPlay, MediaTr::tr("播放"),
                                                       QStringLiteral("transportPlayButton"), this)),
      m_stopButton(
          transportButton(QStyle::SP_MediaStop, MediaTr::tr("停止"), QStringLiteral("transportStopButton"), this)),
      m_position(new QSlider(Qt::Horizontal, this)), m_time(new QLabel(this)),
      m_volume(new QSlider(Qt::Horizontal, this))
{
    setAccessibleName(MediaTr::tr("媒体播放器"));
    setMinimumSize(240, 170);

    // The display area shows the video, or a line (the file's name, or why it does not play)
    // when there is no picture.
    m_line->setObjectName(QStringLiteral("statusLine"));
    m_line->setAlignment(Qt::AlignCenter);
    m_line->setWordWrap(true);
    m_line->setAutoFillBackground(true);
    m_line->setStyleSheet(QStringLiteral("QLabel { background: black; color: #e8e8e8; padding: 6px; }"));
    m_display->addWidget(m_line);
    m_display->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_line->installEventFilter(this);

    m_position->setObjectName(QStringLiteral("positionSlider"));
    m_position->setAccessibleName(MediaTr::tr("播放进度"));
    m_position->setRange(0, 0);
    m_position->setMinimumWidth(50);
    m_time->setObjectName(QStringLiteral("timeLabel"));
    m_time->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_time->setText(clock(0) + QLatin1Char('/') + clock(0));
    m_volume->setObjectName(QStringLiteral("volumeSlider"));
    m_volume->setAccessibleName(MediaTr::tr("音量"));
    m_volume->setToolTip(MediaTr::tr("音量"));
    m_volume->setRange(0, 100);
    m_volume->setValue(InitialVolume);
    m_volume->setMaximumWidth(60);
    m_volume->setMinimumWidth(36);
    auto* volumeIcon = new QLabel(this);
    volumeIcon->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(16, 16));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(2);
    bar->addWidget(m_playButton);
    bar->addWidget(m_stopButton);
    bar->addWidget(m_position, 1);
    bar->addWidget(m_time);
    bar->addSpacing(4);
    bar->addWidget(volumeIcon);
    bar->addWidget(m_volume);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_display, 1);
    layout->addLayout(bar);

    connect(m_playButton, &QToolButton::clicked, this, &CWMPPlayer4::togglePlay);
    connect(m_stopButton, &QToolButton::clicked, this, &CWMPPlayer4::stop);
    connect(m_position, &QSlider::sliderMoved, this, [this](int position) {
        if (m_player)
            m_player->setPosition(position);
    });
    connect(m_volume, &QSlider::valueChanged, this, [this](int value) {
        if (m_audio)
            m_audio->setVolume(value / 100.0f);
    });
    showPicture(false);
}

QVideoWidget* CWMPPlayer4::videoDisplay()
{
    if (!m_video) {
        m_video = new QVideoWidget;
        m_video->setObjectName(QStringLiteral("videoDisplay"));
        m_video->setFocusPolicy(Qt::StrongFocus);
        m_video->installEventFilter(this);
        m_display->addWidget(m_video);
        connect(m_video, &QVideoWidget::fullScreenChanged, this, [this](bool on) {
            if (on)
                m_video->setFocus();
        });
    }
    return m_video;
}

QMediaPlayer* CWMPPlayer4::mediaPlayer()
{
    if (!m_player) {
        m_audio = new QAudioOutput(this);
        m_audio->setVolume(float(m_volume->value()) / 100.0f);
        m_player = new QMediaPlayer(this);
        attachPlayer();
    }
    return m_player;
}

void CWMPPlayer4::attachPlayer()
{
    videoDisplay();
    m_player->setAudioOutput(m_audio);
    m_player->setVideoOutput(m_video);
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) { onError(error); });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, &CWMPPlayer4::onStateChanged);
    connect(m_player, &QMediaPlayer::positionChanged, this, &CWMPPlayer4::onPositionChanged);
    connect(m_player, &QMediaPlayer::durationChanged, this, &CWMPPlayer4::onDurationChanged);
    connect(m_player, &QMediaPlayer::hasVideoChanged, this, [this](bool video) { showPicture(video); });
}

void CWMPPlayer4::replacePlayer()
{
    if (!m_player)
        return;
    // A pipeline that failed may still deliver its errors after the next file was set; a fresh
    // player per file keeps them from being taken for the new file's.
    QMediaPlayer* old = m_player;
    disconnect(old, nullptr, this, nullptr);
    old->stop();
    old->setVideoOutput(nullptr);
    old->setAudioOutput(nullptr);
    old->deleteLater();
    m_player = new QMediaPlayer(this);
    attachPlayer();
    onStateChanged(QMediaPlayer::StoppedState);
    onDurationChanged(0);
}

CWMPPlayer4::~CWMPPlayer4()
{
    if (isFullScreen())
        m_video->setFullScreen(false);
    if (!m_player)
        return;
    // The player goes first, so no frame reaches a display being destroyed. It is not stopped
    // first: the media framework pauses a playing pipeline before it lets go of its outputs, and
    // waits for that (up to a second) whether it is stopped or destroyed; the wait is paid once.
    disconnect(m_player, nullptr, this, nullptr);
    delete m_player;
    m_player = nullptr;
}

void CWMPPlayer4::setURL(const QString& path)
{
    replacePlayer();
    m_failed = false;
    m_url = path;
    const QFileInfo file(path);
    if (!file.isFile()) {
        m_failed = true;
        const QString line = MediaTr::tr("找不到文件“%1”。").arg(file.fileName());
        showLine(line);
        emit failed(line);
        return;
    }
    showLine(file.fileName());
    mediaPlayer()->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    m_player->play();
}

void CWMPPlayer4::close()
{
    if (m_player) {
        m_player->stop();
        m_player->setSource(QUrl());
        m_player->setPlaybackRate(1.0);
    }
    m_url.clear();
    m_failed = false;
    if (isFullScreen())
        m_video->setFullScreen(false);
    showLine(QString());
    showPicture(false);
}

void CWMPPlayer4::play()
{
    if (!m_player || m_player->source().isEmpty() || m_failed)
        return;
    if (m_player->playbackRate() != 1.0)
        m_player->setPlaybackRate(1.0);
    m_player->play();
}

void CWMPPlayer4::pause()
{
    if (m_player && m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->pause();
}

void CWMPPlayer4::fastForward()
{
    if (!m_player || m_player->source().isEmpty() || m_failed)
        return;
    m_player->setPlaybackRate(FastForwardRate);
    m_player->play();
}

void CWMPPlayer4::setFullScreen(bool on)
{
    if (on == isFullScreen())
        return;
    // The picture goes full screen; without one (a sound) the screen stays dark, as the
    // display area does in the window.
    if (on)
        m_display->setCurrentWidget(videoDisplay());
    m_video->setFullScreen(on);
    if (!on)
        showPicture(m_player && m_player->hasVideo());
}

bool CWMPPlayer4::isFullScreen() const
{
    return m_video && m_video->isFullScreen();
}

QMediaPlayer::PlaybackState CWMPPlayer4::playbackState() const
{
    return m_player ? m_player->playbackState() : QMediaPlayer::StoppedState;
}

QMediaPlayer::MediaStatus CWMPPlayer4::mediaStatus() const
{
    return m_player ? m_player->mediaStatus() : QMediaPlayer::NoMedia;
}

qreal CWMPPlayer4::playbackRate() const
{
    return m_player ? m_player->playbackRate() : 1.0;
}

QString CWMPPlayer4::statusLine() const
{
    return m_line->text();
}

int CWMPPlayer4::volume() const
{
    return m_volume->value();
}

bool CWMPPlayer4::eventFilter(QObject* watched, QEvent* event)
{
    if ((m_video && watched == m_video) || watched == m_line) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            if (isFullScreen())
                setFullScreen(false);
            else
                emit doubleClicked();
            return true;
        }
        if (event->type() == QEvent::KeyPress && isFullScreen() &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            setFullScreen(false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CWMPPlayer4::showLine(const QString& text)
{
    m_line->setText(text);
}

void CWMPPlayer4::showPicture(bool video)
{
    if (isFullScreen())
        return;
    m_display->setCurrentWidget(video && !m_failed && m_video ? static_cast<QWidget*>(m_video) : m_line);
}

void CWMPPlayer4::onError(QMediaPlayer::Error error)
{
    if (error == QMediaPlayer::NoError || m_failed)
        return;
    m_failed = true;
    const QString name = QFileInfo(m_url).fileName();
    const QString line = error == QMediaPlayer::FormatError
                             ? MediaTr::tr("无法播放“%1”：不支持这种文件格式。").arg(name)
                             : MediaTr::tr("无法播放“%1”：文件已损坏或格式不受支持。").arg(name);
    m_player->stop();
    if (isFullScreen())
        setFullScreen(false);
    showLine(line);
    showPicture(false);
    emit failed(line);
}

void CWMPPlayer4::onStateChanged(QMediaPlayer::PlaybackState state)
{
    const bool playing = state == QMediaPlayer::PlayingState;
    m_playButton->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    const QString text = playing ? MediaTr::tr("暂停") : MediaTr::tr("播放");
    m_playButton->setToolTip(text);
    m_playButton->setAccessibleName(text);
}

void CWMPPlayer4::onPositionChanged(qint64 position)
{
    if (!m_position->isSliderDown())
        m_position->setValue(int(position));
    m_time->setText(clock(position) + QLatin1Char('/') + clock(m_player->duration()));
}

void CWMPPlayer4::onDurationChanged(qint64 duration)
{
    m_position->setRange(0, int(duration));
    m_time->setText(clock(m_player->position()) + QLatin1Char('/') + clock(duration));
}

void CWMPPlayer4::togglePlay()
{
    if (playbackState() == QMediaPlayer::PlayingState && playbackRate() == 1.0)
        pause();
    else
        play();
}

void CWMPPlayer4::stop()
{
    if (!m_player)
        return;
    m_player->stop();
    m_player->setPlaybackRate(1.0);
}

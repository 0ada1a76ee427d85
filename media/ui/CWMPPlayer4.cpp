#include "media/ui/CWMPPlayer4.h"

#include "media/MediaTr.h"

#include "common/RuntimeModule.h"
#include "common/ui/ProgramExit.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

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
    : QWidget(parent), m_display(new QStackedWidget(this)), m_line(new QLabel),
      m_playButton(
          transportButton(QStyle::SP_MediaPlay, MediaTr::tr("播放"), QStringLiteral("transportPlayButton"), this)),
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
        if (m_engine)
            m_engine->setPosition(position);
    });
    connect(m_volume, &QSlider::valueChanged, this, [this](int value) {
        if (m_engine)
            m_engine->setVolume(value / 100.0f);
    });
    showPicture(false);
}

Playback::Engine* CWMPPlayer4::engine()
{
    if (!m_engine) {
        QString reason;
        auto* module = RuntimeModule::load<Playback::Module>(QStringLiteral("kestrin_playback"), &reason);
        if (!module) {
            qWarning("media player module: %s", qPrintable(reason));
            return nullptr;
        }
        m_engine.reset(module->createEngine(this, *this));
        m_engine->setVolume(float(m_volume->value()) / 100.0f);
        m_display->addWidget(m_engine->videoDisplay());
    }
    return m_engine.get();
}

CWMPPlayer4::~CWMPPlayer4()
{
    if (!m_engine)
        return;
    if (isFullScreen())
        m_engine->setFullScreen(false);
    // The media framework pauses a playing pipeline before it lets go of its outputs, and waits
    // for that (up to a second) whether it is stopped or destroyed. When the program ends, the
    // pipeline is left to end with the process instead; otherwise the engine's player goes
    // before the display, without a stop first, so the wait is paid once.
    if (ProgramExit::isEnding() && m_engine->leaveRunning())
        ProgramExit::leftRunning();
    m_engine.reset();
}

void CWMPPlayer4::setURL(const QString& path)
{
    if (m_engine) {
        m_engine->renew();
        stateChanged(Playback::State::Stopped);
        durationChanged(0);
    }
    m_failed = false;
    m_url = path;
    const QFileInfo file(path);
    QString line;
    if (!file.isFile())
        line = MediaTr::tr("找不到文件“%1”。").arg(file.fileName());
    else if (!engine())
        line = MediaTr::tr("无法播放“%1”：找不到播放组件。请重新安装本软件。").arg(file.fileName());
    if (!line.isEmpty()) {
        m_failed = true;
        showLine(line);
        emit failed(line);
        return;
    }
    showLine(file.fileName());
    m_engine->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    m_engine->play();
}

void CWMPPlayer4::close()
{
    if (m_engine) {
        m_engine->stop();
        m_engine->setSource(QUrl());
        m_engine->setPlaybackRate(1.0);
    }
    m_url.clear();
    m_failed = false;
    if (isFullScreen())
        m_engine->setFullScreen(false);
    showLine(QString());
    showPicture(false);
}

void CWMPPlayer4::play()
{
    if (!m_engine || !m_engine->hasSource() || m_failed)
        return;
    if (m_engine->playbackRate() != 1.0)
        m_engine->setPlaybackRate(1.0);
    m_engine->play();
}

void CWMPPlayer4::pause()
{
    if (m_engine && m_engine->state() == Playback::State::Playing)
        m_engine->pause();
}

void CWMPPlayer4::fastForward()
{
    if (!m_engine || !m_engine->hasSource() || m_failed)
        return;
    m_engine->setPlaybackRate(FastForwardRate);
    m_engine->play();
}

void CWMPPlayer4::setFullScreen(bool on)
{
    if (on == isFullScreen())
        return;
    // The picture goes full screen; without one (a sound) the screen stays dark, as the
    // display area does in the window.
    if (on) {
        if (!engine())
            return;
        m_display->setCurrentWidget(m_engine->videoDisplay());
    }
    m_engine->setFullScreen(on);
    if (!on)
        showPicture(m_engine->hasVideo());
}

bool CWMPPlayer4::isFullScreen() const
{
    return m_engine && m_engine->isFullScreen();
}

Playback::State CWMPPlayer4::playbackState() const
{
    return m_engine ? m_engine->state() : Playback::State::Stopped;
}

Playback::Status CWMPPlayer4::mediaStatus() const
{
    return m_engine ? m_engine->status() : Playback::Status::NoMedia;
}

qreal CWMPPlayer4::playbackRate() const
{
    return m_engine ? m_engine->playbackRate() : 1.0;
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
    if (watched == m_line && displayEvent(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool CWMPPlayer4::displayEvent(QEvent* event)
{
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
    return false;
}

void CWMPPlayer4::showLine(const QString& text)
{
    m_line->setText(text);
}

void CWMPPlayer4::showPicture(bool video)
{
    if (isFullScreen())
        return;
    m_display->setCurrentWidget(video && !m_failed && m_engine ? m_engine->videoDisplay() : m_line);
}

void CWMPPlayer4::errorOccurred(Playback::Error error)
{
    if (error == Playback::Error::None || m_failed)
        return;
    m_failed = true;
    const QString name = QFileInfo(m_url).fileName();
    const QString line = error == Playback::Error::Format
                             ? MediaTr::tr("无法播放“%1”：不支持这种文件格式。").arg(name)
                             : MediaTr::tr("无法播放“%1”：文件已损坏或格式不受支持。").arg(name);
    m_engine->stop();
    if (isFullScreen())
        setFullScreen(false);
    showLine(line);
    showPicture(false);
    emit failed(line);
}

void CWMPPlayer4::stateChanged(Playback::State state)
{
    const bool playing = state == Playback::State::Playing;
    m_playButton->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    const QString text = playing ? MediaTr::tr("暂停") : MediaTr::tr("播放");
    m_playButton->setToolTip(text);
    m_playButton->setAccessibleName(text);
}

void CWMPPlayer4::positionChanged(qint64 position)
{
    if (!m_position->isSliderDown())
        m_position->setValue(int(position));
    m_time->setText(clock(position) + QLatin1Char('/') + clock(m_engine->duration()));
}

void CWMPPlayer4::durationChanged(qint64 duration)
{
    m_position->setRange(0, int(duration));
    m_time->setText(clock(m_engine ? m_engine->position() : 0) + QLatin1Char('/') + clock(duration));
}

void CWMPPlayer4::hasVideoChanged(bool video)
{
    showPicture(video);
}

void CWMPPlayer4::togglePlay()
{
    if (playbackState() == Playback::State::Playing && playbackRate() == 1.0)
        pause();
    else
        play();
}

void CWMPPlayer4::stop()
{
    if (!m_engine)
        return;
    m_engine->stop();
    m_engine->setPlaybackRate(1.0);
}

// Linked into a program's own main() for the start-up benchmark, this reports on its standard
// output when the main window has been painted for the first time, with the peak memory so far:
//   arrived PEAK-KB
// KESTRIN_PROBE chooses what follows:
//   paint (default)  the program ends at once;
//   close            the main window is closed, as by its close box, after the first paint, or
//                    once a media player in it plays (with KESTRIN_PROBE_WAIT_PLAYING=1); the
//                    line "closing" marks the moment, and the program then ends its own way.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

qint64 peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

void say(const QByteArray& line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Whether a media player below window plays and has got under way.
bool playing(const QWidget* window)
{
    const QList<QObject*> objects = window->findChildren<QObject*>();
    for (const QObject* object : objects) {
        if (qstrcmp(object->metaObject()->className(), "QMediaPlayer") != 0)
            continue;
        // QMediaPlayer::PlayingState is 1; read through properties, so the minimal program
        // needs no media library.
        if (object->property("playbackState").toInt() == 1 && object->property("position").toLongLong() > 0)
            return true;
    }
    return false;
}

class Probe : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_window && event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            // A question before the main window (a message box of the dialog service) is not it.
            const bool question = QByteArray(widget->metaObject()->className()).startsWith("QMessage");
            if (widget->isWindow() && qobject_cast<QDialog*>(widget) && !question) {
                m_window = widget;
                // After the whole window has been drawn and shown.
                QTimer::singleShot(0, this, &Probe::painted);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void painted()
    {
        say("arrived " + QByteArray::number(peakKilobytes()));
        if (qgetenv("KESTRIN_PROBE") != "close") {
            ::_exit(0);
        }
        if (qgetenv("KESTRIN_PROBE_WAIT_PLAYING") != "1") {
            closeWindow();
            return;
        }
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this, poll] {
            if (m_window && playing(m_window)) {
                poll->stop();
                closeWindow();
            }
        });
        poll->start(5);
    }

    void closeWindow()
    {
        say("closing");
        if (m_window)
            m_window->close();
    }

    QPointer<QWidget> m_window;
};

void installProbe()
{
    qApp->installEventFilter(new Probe(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)

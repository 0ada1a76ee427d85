// Time from process start to the Reelbox main window shown, against a minimal Qt program that
// shows one dialog with a line of Chinese text, and from process start to the first frame of
// the welcome animation. Every measurement runs as a child process, which says when it got there;
// the time it takes to end afterwards (stopping the player's pipeline) is not counted.
#include "bench/BenchSupport.h"
#include "common/ui/SkinEngine.h"
#include "data/Database.h"
#include "media/MediaFolder.h"
#include "media/ui/CWMPPlayer4.h"
#include "reelbox/ui/CReelboxDlg.h"
#include "reelbox/ui/ReelboxProgram.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>

namespace {

// Tells the parent that the moment it measures has come.
void arrived()
{
    QTextStream(stdout) << "arrived" << Qt::endl;
}

// Says it arrived and quits as soon as the window is painted for the first time.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QApplication& app) : m_app(app) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, &m_app, [this] {
                arrived();
                m_app.quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QApplication& m_app;
    bool m_seen = false;
};

int showAndQuit(QApplication& app, QWidget& window)
{
    FirstPaint painted(app);
    window.installEventFilter(&painted);
    window.show();
    return app.exec();
}

// The same steps as Reelbox's main, in an installation root of the benchmark's own. With
// untilFirstFrame the child waits for the animation's first frame before it quits.
int runReelbox(QApplication& app, const QString& root, bool untilFirstFrame)
{
    QDir::setCurrent(root + QStringLiteral("/Reelbox"));
    MediaFolder::setInstallationRoot(root);
    ProgramStartup::prepareLook(app);
    if (ProgramStartup::prepare(reelboxProgram()) != ProgramStartup::Outcome::Run)
        return 1;
    CReelboxDlg window;
    int result = 0;
    if (!untilFirstFrame) {
        result = showAndQuit(app, window);
    } else {
        auto* video = window.player()->findChild<QVideoWidget*>(QStringLiteral("videoDisplay"));
        QObject::connect(video->videoSink(), &QVideoSink::videoFrameChanged, &app, [&app](const QVideoFrame& frame) {
            if (frame.isValid()) {
                arrived();
                app.quit();
            }
        });
        QTimer::singleShot(20000, &app, [&app] { app.exit(1); });
        window.show();
        result = app.exec();
    }
    SkinEngine::shutdown();
    return result;
}

int runMinimal(QApplication& app)
{
    QDialog dialog;
    auto* label = new QLabel(QStringLiteral("禾岚森儿童成长媒体文件管理系统V1.0"), &dialog);
    label->move(20, 20);
    dialog.resize(860, 610);
    return showAndQuit(app, dialog);
}

// The best time from starting a child to its word that it got there.
double timeChild(const QStringList& arguments, int runs = 15)
{
    bool failed = false;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), arguments);
        // A child that never gets there (a question nobody answers) is ended, not waited for.
        while (!child.canReadLine() && child.state() != QProcess::NotRunning && timer.elapsed() < 60000)
            child.waitForReadyRead(1000);
        if (child.state() != QProcess::NotRunning && !child.canReadLine())
            child.kill();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        failed = failed || !child.readLine().startsWith("arrived");
        child.waitForFinished(30000);
    }
    if (failed)
        QTextStream(stderr) << "a child run failed: " << arguments.join(QLatin1Char(' ')) << '\n';
    return *std::min_element(times.begin(), times.end());
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 3 && (qstrcmp(argv[1], "--child-reelbox") == 0 || qstrcmp(argv[1], "--child-frame") == 0)) {
        QApplication app(argc, argv);
        return runReelbox(app, QString::fromLocal8Bit(argv[2]), qstrcmp(argv[1], "--child-frame") == 0);
    }
    if (argc >= 2 && qstrcmp(argv[1], "--child-minimal") == 0) {
        QApplication app(argc, argv);
        return runMinimal(app);
    }

    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    for (const char* folder : {"Reelbox", "skin", "database/media"})
        QDir().mkpath(root.filePath(QString::fromLatin1(folder)));
    // The staged skins and welcome animation, so start-up loads what an installation has.
    const QString stage = QCoreApplication::applicationDirPath() + QStringLiteral("/../stage/");
    const QDir skins(stage + QStringLiteral("skin"));
    for (const QString& file : skins.entryList(QDir::Files))
        QFile::copy(skins.filePath(file), root.filePath(QStringLiteral("skin/") + file));
    if (!QFile::copy(stage + QStringLiteral("database/media/catoon.avi"),
                     root.filePath(QStringLiteral("database/media/catoon.avi")))) {
        QTextStream(stderr) << "no staged welcome animation; build the target reelbox_welcome\n";
        return 1;
    }
    // An installed family database: with the welcome animation already in the database folder,
    // a missing database would be asked about rather than created.
    if (const Result created = Database::create(root.filePath(QStringLiteral("database/kestrin.db"))); !created) {
        QTextStream(stderr) << created.error() << '\n';
        return 1;
    }
    qputenv("ODBCINI", QFile::encodeName(root.filePath(QStringLiteral("odbc.ini"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const QStringList reelbox{QStringLiteral("--child-reelbox"), root.path()};
    timeChild(reelbox, 1); // the first start registers the data source; time later starts
    const double reelboxMs = timeChild(reelbox);
    const double minimalMs = timeChild({QStringLiteral("--child-minimal")});
    report(QStringLiteral("Reelbox start to main window shown"), reelboxMs, minimalMs, 2.0);
    const double frameMs = timeChild({QStringLiteral("--child-frame"), root.path()}, 7);
    QTextStream(stdout) << "Reelbox start to the welcome animation's first frame: " << QString::number(frameMs, 'f', 2)
                        << " ms (" << QString::number(frameMs - reelboxMs, 'f', 2) << " ms after the window)\n";
    return 0;
}

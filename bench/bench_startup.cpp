// Start-up of health, growth and Reelbox: from starting the process to the first paint of the
// main window, and the peak memory by then, against a plain Qt Widgets program that shows a
// dialog with one line of Chinese text; and closing Reelbox while its welcome animation plays,
// from the close to the end of the process, against closing the plain program.
//
// The programs are their own main() with a probe (bench/probe) that reports the first paint;
// they run from an installation root of the benchmark's own, with the staged skins, the welcome
// animation and a database created by the first start. Every round starts each of them once, in
// an order that turns from round to round.
//
//   bench_startup [ROUNDS]      default 9
#include "bench/BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <map>

namespace {

struct Program
{
    // The stable name of its figures, and its folder and executable in the installation root.
    QString name;
    QString folder;
    QString probe;
};

const QList<Program> Programs{
    {QStringLiteral("minimal"), QStringLiteral("minimal"), QStringLiteral("probe_minimal")},
    {QStringLiteral("health"), QStringLiteral("health"), QStringLiteral("probe_health")},
    {QStringLiteral("growth"), QStringLiteral("growth"), QStringLiteral("probe_growth")},
    {QStringLiteral("reelbox"), QStringLiteral("Reelbox"), QStringLiteral("probe_reelbox")},
};

struct Run
{
    bool ok = false;
    // From the start to the first paint, and to the line "closing" (close runs only).
    double paintMs = 0;
    double closingMs = 0;
    // From the line "closing" to the end of the process (close runs only).
    double exitMs = 0;
    double peakKb = 0;
};

// Starts a program and reads its probe's lines; a program that never gets there (a question
// nobody answers) is ended, not waited for.
enum class Close
{
    Never,
    AfterPaint,
    WhilePlaying
};

Run start(const QString& executable, const QProcessEnvironment& environment, Close close = Close::Never)
{
    const bool closing = close != Close::Never;
    Run run;
    QProcess child;
    QProcessEnvironment env = environment;
    if (closing) {
        env.insert(QStringLiteral("KESTRIN_PROBE"), QStringLiteral("close"));
        if (close == Close::WhilePlaying)
            env.insert(QStringLiteral("KESTRIN_PROBE_WAIT_PLAYING"), QStringLiteral("1"));
    }
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(executable, {});
    const auto readLine = [&]() -> QByteArray {
        while (!child.canReadLine() && child.state() != QProcess::NotRunning && timer.elapsed() < 60000)
            child.waitForReadyRead(1000);
        return child.canReadLine() ? child.readLine().trimmed() : QByteArray();
    };
    const QByteArray arrived = readLine();
    run.paintMs = double(timer.nsecsElapsed()) / 1e6;
    run.ok = arrived.startsWith("arrived ");
    run.peakKb = arrived.mid(8).toDouble();
    if (run.ok && closing) {
        const QByteArray closingLine = readLine();
        run.closingMs = double(timer.nsecsElapsed()) / 1e6;
        QElapsedTimer exit;
        exit.start();
        child.waitForFinished(30000);
        run.exitMs = double(exit.nsecsElapsed()) / 1e6;
        run.ok = closingLine == "closing" && child.state() == QProcess::NotRunning;
    }
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(5000);
    }
    return run;
}

// An installation root: the staged skins, help and run-time modules, a program folder per program.
bool prepareRoot(const QTemporaryDir& root)
{
    const QString here = QCoreApplication::applicationDirPath();
    const QString stage = here + QStringLiteral("/../stage/");
    for (const char* folder : {"skin", "database", "help", "modules"})
        QDir().mkpath(root.filePath(QString::fromLatin1(folder)));
    for (const char* folder : {"skin", "help", "modules"}) {
        const QDir from(stage + QString::fromLatin1(folder));
        for (const QString& file : from.entryList(QDir::Files))
            QFile::copy(from.filePath(file), root.filePath(QString::fromLatin1(folder) + QLatin1Char('/') + file));
    }
    for (const Program& program : Programs) {
        QDir().mkpath(root.filePath(program.folder));
        const QString target = root.filePath(program.folder + QLatin1Char('/') + program.folder);
        if (!QFile::copy(here + QLatin1Char('/') + program.probe, target)) {
            QTextStream(stderr) << "cannot copy " << program.probe << '\n';
            return false;
        }
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner);
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 9;
    QTemporaryDir root;
    if (!prepareRoot(root))
        return 1;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ODBCINI"), root.filePath(QStringLiteral("odbc.ini")));
    if (env.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const auto executable = [&](const Program& p) { return root.filePath(p.folder + QLatin1Char('/') + p.folder); };

    // The first start registers the data source and creates the database (in an empty database
    // folder, so without a question); the welcome animation comes after. Time later starts.
    for (const Program& program : Programs) {
        if (!start(executable(program), env).ok) {
            QTextStream(stderr) << program.name << " did not reach its first paint\n";
            return 1;
        }
        if (program.name == QStringLiteral("health") &&
            QDir().mkpath(root.filePath(QStringLiteral("database/media"))) &&
            !QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/../stage/database/media/catoon.avi"),
                         root.filePath(QStringLiteral("database/media/catoon.avi")))) {
            QTextStream(stderr) << "no staged welcome animation; build the target reelbox_welcome\n";
            return 1;
        }
    }

    std::map<QString, Samples> paint;
    std::map<QString, Samples> peak;
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype i = 0; i < Programs.size(); ++i) {
            const Program& program = Programs.at((i + round) % Programs.size());
            const Run run = start(executable(program), env);
            if (!run.ok)
                QTextStream(stderr) << program.name << " failed in round " << round << '\n';
            paint[program.name].values.push_back(run.paintMs);
            peak[program.name].values.push_back(run.peakKb);
        }
    }
    for (const Program& program : Programs.mid(1)) {
        Figure time{program.name + QStringLiteral("_startup"),
                    program.folder + QStringLiteral(" start to the first paint of its main window"), 1.5};
        time.side = paint[program.name];
        time.baseline = paint[QStringLiteral("minimal")];
        report(time);
    }
    for (const Program& program : Programs.mid(1)) {
        Figure memory{program.name + QStringLiteral("_memory"),
                      program.folder + QStringLiteral(" peak memory at the first paint"), 1.6};
        memory.unit = QStringLiteral("kB");
        memory.side = peak[program.name];
        memory.baseline = peak[QStringLiteral("minimal")];
        report(memory);
    }

    // Closing while the welcome animation plays, against closing the plain program's dialog.
    const Program& reelbox = Programs.at(3);
    Figure close{QStringLiteral("reelbox_close"),
                 QStringLiteral("Reelbox from closing its window while the animation plays to its end"), 100};
    close.goalOverBaseline = true;
    Samples playing;
    for (int round = 0; round < std::max(3, rounds / 2 + 1); ++round) {
        Run side;
        Run base;
        if (round % 2 == 0) {
            side = start(executable(reelbox), env, Close::WhilePlaying);
            base = start(executable(Programs.at(0)), env, Close::AfterPaint);
        } else {
            base = start(executable(Programs.at(0)), env, Close::AfterPaint);
            side = start(executable(reelbox), env, Close::WhilePlaying);
        }
        if (!side.ok || !base.ok)
            QTextStream(stderr) << "a close run failed in round " << round << '\n';
        close.add(side.exitMs, base.exitMs);
        playing.values.push_back(side.closingMs);
    }
    report(close);
    QTextStream(stdout) << "Reelbox start to its welcome animation playing: " << BenchDetail::number(playing.median())
                        << " ms " << BenchDetail::spread(playing) << '\n';
    return 0;
}

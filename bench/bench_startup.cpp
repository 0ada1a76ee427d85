// Time from process start to the health main window shown, against a minimal Qt program that
// shows one dialog with a line of Chinese text (any Chinese program pays for loading and drawing
// a CJK font). Both run as child processes of this benchmark.
#include "bench/BenchSupport.h"
#include "common/ui/SkinEngine.h"
#include "health/ui/CHealthDlg.h"
#include "health/ui/HealthProgram.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// Quits as soon as the window has been painted once.
int showAndQuit(QApplication& app, QWidget& window)
{
    window.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}

int runHealth(QApplication& app, const QString& programFolder)
{
    // The same steps as health's main, in an installation root of the benchmark's own.
    QDir::setCurrent(programFolder);
    ProgramStartup::prepareLook(app);
    if (ProgramStartup::prepare(healthProgram()) != ProgramStartup::Outcome::Run)
        return 1;
    CHealthDlg window;
    const int result = showAndQuit(app, window);
    SkinEngine::shutdown();
    return result;
}

int runMinimal(QApplication& app)
{
    QDialog dialog;
    auto* label = new QLabel(QStringLiteral("禾岚森儿童成长健康管理"), &dialog);
    label->move(20, 20);
    dialog.resize(1000, 740);
    return showAndQuit(app, dialog);
}

double timeChild(const QStringList& arguments)
{
    return bestOf(15, [&] {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), arguments);
        child.waitForFinished(30000);
    });
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 2 && qstrcmp(argv[1], "--child-health") == 0) {
        QApplication app(argc, argv);
        return runHealth(app, QString::fromLocal8Bit(argv[2]));
    }
    if (argc >= 2 && qstrcmp(argv[1], "--child-minimal") == 0) {
        QApplication app(argc, argv);
        return runMinimal(app);
    }

    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    QDir().mkpath(root.filePath(QStringLiteral("health")));
    QDir().mkpath(root.filePath(QStringLiteral("skin")));
    // The staged skins, so that the skin start loads a real style sheet.
    const QDir skins(QCoreApplication::applicationDirPath() + QStringLiteral("/../stage/skin"));
    for (const QString& file : skins.entryList(QDir::Files))
        QFile::copy(skins.filePath(file), root.filePath(QStringLiteral("skin/") + file));
    qputenv("ODBCINI", QFile::encodeName(root.filePath(QStringLiteral("odbc.ini"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const QStringList health{QStringLiteral("--child-health"), root.filePath(QStringLiteral("health"))};
    timeChild(health); // the first start creates the database; time later starts
    const double healthMs = timeChild(health);
    const double minimalMs = timeChild({QStringLiteral("--child-minimal")});
    report(QStringLiteral("health start to main window shown"), healthMs, minimalMs, 2.0);
    return 0;
}

#include "common/ui/ProgramStartup.h"
#include "common/CommonTr.h"

#include "common/DataSource.h"
#include "common/ProcessEnumerator.h"
#include "common/ServerConfig.h"
#include "common/ShippedFiles.h"
#include "common/SingleInstance.h"
#include "common/ui/DialogService.h"
#include "common/ui/MainWindowBase.h"
#include "common/ui/ProgramExit.h"
#include "common/ui/SkinChoice.h"
#include "common/ui/SkinEngine.h"
#include "common/ui/StartupRecovery.h"
#include "data/Database.h"
#include "data/tables/Skins.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

void ProgramStartup::enterProgramFolder()
{
    QDir::setCurrent(QCoreApplication::applicationDirPath());
}

void ProgramStartup::prepareLook(QApplication& app)
{
    QFont font = QApplication::font();
    font.setPointSize(10);
    QApplication::setFont(font);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase_zh_CN", "qt_help_zh_CN"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(catalogue), folder))
            app.installTranslator(translator);
        else
            delete translator;
    }
}

namespace {

// Whether a folder holds any file, in it or below it, other than those the installation put
// there itself (as long as they are unchanged); a missing folder holds none.
bool holdsFiles(const QString& folder)
{
    const ShippedFiles shipped = ShippedFiles::in(folder);
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        if (!shipped.isShipped(files.next()))
            return true;
    }
    return false;
}

// A missing database is created without a word only on a first start: nothing in the database
// folder and no earlier registration of the data source. Otherwise the file may be on a disk that
// is not plugged in or may have been moved, and an empty file in its place would take the
// family's new entries, so the user decides.
bool mayCreateDatabase(const QString& path, const QString& registeredBefore)
{
    if (QFileInfo::exists(path))
        return true;
    if (registeredBefore.isEmpty() && !holdsFiles(QFileInfo(path).absolutePath()))
        return true;
    return DialogService::current().confirm(
        nullptr, CommonTr::tr("%1不存在，要新建一个空的数据库吗？").arg(QDir::toNativeSeparators(path)));
}

// The family's records on the server the installation names; a server that cannot be
// reached ends the start with the reason, never with an empty local file in its place.
ProgramStartup::Outcome openServer(const ServerConfig& server, const QString& databasePath)
{
    DialogService& dialogs = DialogService::current();
    if (Result r = DataSource::registerServerDataSource(DataSource::Name, server); !r) {
        dialogs.message(nullptr, CommonTr::tr("数据源配置错误") + QLatin1Char('\n') + r.error(),
                        DialogService::Icon::Critical);
        return ProgramStartup::Outcome::DataSourceFailed;
    }
    if (Result r = Database::openServer(server); !r) {
        dialogs.message(nullptr, r.error(), DialogService::Icon::Critical);
        return ProgramStartup::Outcome::DatabaseFailed;
    }
    // The records lock is held on the server too, so a restore on another computer waits for
    // this program, and this one for it.
    if (!StartupRecovery::holdRecords(databasePath)) {
        Database::close();
        return ProgramStartup::Outcome::RestoreUnfinished;
    }
    return ProgramStartup::Outcome::Run;
}

ProgramStartup::Outcome openFile(const QString& databasePath)
{
    DialogService& dialogs = DialogService::current();
    const QString registeredBefore = DataSource::databasePath(DataSource::Name);
    if (Result r = DataSource::registerDataSource(DataSource::Name, databasePath); !r) {
        dialogs.message(nullptr, CommonTr::tr("数据源配置错误") + QLatin1Char('\n') + r.error(),
                        DialogService::Icon::Critical);
        return ProgramStartup::Outcome::DataSourceFailed;
    }
    if (!mayCreateDatabase(databasePath, registeredBefore))
        return ProgramStartup::Outcome::DatabaseNotCreated;
    if (!StartupRecovery::holdRecords(databasePath))
        return ProgramStartup::Outcome::RestoreUnfinished;
    // The file registered a moment ago is opened as it is, not read back from the data source,
    // which another installation starting at the same moment may have rewritten since.
    if (Result r = Database::open(databasePath); !r) {
        dialogs.message(nullptr, r.error(), DialogService::Icon::Critical);
        return ProgramStartup::Outcome::DatabaseFailed;
    }
    return ProgramStartup::Outcome::Run;
}

} // namespace

ProgramStartup::Outcome ProgramStartup::prepare(const ProgramIdentity& program, const QString& procRoot)
{
    QCoreApplication::setApplicationName(program.title);
    DialogService& dialogs = DialogService::current();
    {
        CProcessEnumerator processes(procRoot);
        if (SingleInstance::isAlreadyRunning(program.instanceKey, processes)) {
            dialogs.message(nullptr, CommonTr::tr("此程序已经打开"));
            return Outcome::AlreadyRunning;
        }
    }
    const QString databasePath = DataSource::defaultDatabasePath();
    // A restore cut off half-way is finished or undone before anything looks for the database.
    if (!StartupRecovery::recover(databasePath))
        return Outcome::RestoreUnfinished;
    const ServerConfig server = ServerConfig::read(ServerConfig::fileIn(QFileInfo(databasePath).absolutePath()));
    const Outcome opened = server.usesServer() ? openServer(server, databasePath) : openFile(databasePath);
    if (opened != Outcome::Run)
        return opened;
    const std::unique_ptr<SkinRecordset> skins = program.skinTable();
    SkinChoice::start(*skins, program.skinKey, program.chooseDialogScheme);
    return Outcome::Run;
}

int ProgramStartup::run(QApplication& app, const ProgramIdentity& program, const QString& iconPath,
                        const std::function<std::unique_ptr<QDialog>()>& mainWindow)
{
    enterProgramFolder();
    prepareLook(app);
    app.setWindowIcon(MainWindowBase::programIcon(iconPath));
    switch (prepare(program)) {
    case Outcome::Run:
        break;
    // The user was told, or chose not to go on: nothing went wrong.
    case Outcome::AlreadyRunning:
    case Outcome::DatabaseNotCreated:
        return 0;
    default:
        return 1;
    }
    {
        const std::unique_ptr<QDialog> window = mainWindow();
        window->exec();
        ProgramExit::begin();
    }
    ProgramExit::finish();
    SkinEngine::shutdown();
    return 0;
}

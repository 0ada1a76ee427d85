#include "common/ui/ProgramStartup.h"
#include "common/CommonTr.h"

#include "common/DataSource.h"
#include "common/ProcessEnumerator.h"
#include "common/SingleInstance.h"
#include "common/ui/DialogService.h"
#include "common/ui/SkinChoice.h"
#include "data/Database.h"
#include "data/tables/Skins.h"

#include <QApplication>
#include <QDir>
#include <QFont>
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
    if (!DataSource::registerDataSource(DataSource::Name, DataSource::defaultDatabasePath())) {
        dialogs.message(nullptr, CommonTr::tr("数据源配置错误"), DialogService::Icon::Critical);
        return Outcome::DataSourceFailed;
    }
    if (Result r = Database::openFromDataSource(DataSource::Name); !r) {
        dialogs.message(nullptr, r.error(), DialogService::Icon::Critical);
        return Outcome::DatabaseFailed;
    }
    const std::unique_ptr<SkinRecordset> skins = program.skinTable();
    SkinChoice::start(*skins, program.skinKey, program.chooseDialogScheme);
    return Outcome::Run;
}

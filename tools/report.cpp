// kestrin-report: a child's health report as a PDF file, from the command line. The same report
// as health's "导出PDF报告…".
#include "common/DataSource.h"
#include "common/ServerConfig.h"
#include "data/Database.h"
#include "report/HealthReport.h"
#include "report/PdfReport.h"
#include "report/ReportTr.h"
#include "tools/Console.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

enum Exit
{
    Done = 0,
    Failed = 1,
    Usage = 2
};

using Console::err;
using Console::out;

int usage(const QString& problem)
{
    err() << problem << '\n'
          << ReportTr::tr("用法：kestrin-report [--root 文件夹 | --database 文件] [--from 日期] [--to 日期] 孩子姓名 "
                          "报告.pdf")
          << '\n';
    return Usage;
}

// The server that the settings beside a database file name instead of it, if any.
ServerConfig serverBeside(const QString& databasePath)
{
    return ServerConfig::read(ServerConfig::fileIn(QFileInfo(databasePath).absolutePath()));
}

// The database: given, under the given root, the one the data source names, or beside the tool.
ResultOf<QString> databasePath(const QCommandLineParser& parser)
{
    if (parser.isSet(QStringLiteral("database")))
        return parser.value(QStringLiteral("database"));
    if (parser.isSet(QStringLiteral("root")))
        return QDir(parser.value(QStringLiteral("root"))).filePath(QStringLiteral("database/kestrin.db"));
    // A data source that names a server gives a database name, not a file: the installation's
    // settings then say which server.
    const QString registered = DataSource::databasePath(DataSource::Name);
    if (!registered.isEmpty() && QFileInfo(registered).isAbsolute())
        return registered;
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/../database/kestrin.db");
    if (QFileInfo::exists(beside) || serverBeside(beside).usesServer())
        return beside;
    return Result::failure(
        ReportTr::tr("找不到孩子的记录：数据源“kestrin”没有登记数据库文件。请用 --root 指定安装文件夹。"));
}

// A date typed as 2026-03-01 or 20260301; invalid for anything else.
QDate parseDate(const QString& text)
{
    QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
    return date;
}

} // namespace

int main(int argc, char* argv[])
{
    // Fonts and painting need a GUI application, but never a screen: the tool runs from scripts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin-report"));

    QCommandLineParser parser;
    parser.setApplicationDescription(ReportTr::tr("把孩子的健康报告保存为 PDF 文件。"));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("root"), ReportTr::tr("安装文件夹（其中有 database/kestrin.db）。"), ReportTr::tr("文件夹")});
    parser.addOption({QStringLiteral("database"), ReportTr::tr("数据库文件。"), ReportTr::tr("文件")});
    parser.addOption(
        {QStringLiteral("from"), ReportTr::tr("只包括这一天及以后的记录（如 2026-01-01）。"), ReportTr::tr("日期")});
    parser.addOption({QStringLiteral("to"), ReportTr::tr("只包括这一天及以前的记录。"), ReportTr::tr("日期")});
    parser.addPositionalArgument(QStringLiteral("child"), ReportTr::tr("孩子的姓名。"));
    parser.addPositionalArgument(QStringLiteral("out"), ReportTr::tr("要保存的 PDF 文件。"));
    if (!parser.parse(app.arguments()))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out() << parser.helpText();
        return Done;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return usage(ReportTr::tr("请给出孩子的姓名和要保存的 PDF 文件。"));
    if (parser.isSet(QStringLiteral("root")) && parser.isSet(QStringLiteral("database")))
        return usage(ReportTr::tr("--root 和 --database 只能用一个。"));

    ReportRequest request;
    request.child = args.at(0);
    for (const auto& [option, date] :
         {std::pair{QStringLiteral("from"), &request.from}, std::pair{QStringLiteral("to"), &request.to}}) {
        if (!parser.isSet(option))
            continue;
        *date = parseDate(parser.value(option));
        if (!date->isValid())
            return usage(ReportTr::tr("“%1”不是日期。请写成 2026-03-01 这样的形式。").arg(parser.value(option)));
    }
    const QString target = args.at(1);

    const ResultOf<QString> database = databasePath(parser);
    if (!database) {
        err() << database.error() << '\n';
        return Failed;
    }
    const ServerConfig server = serverBeside(*database);
    if (!server.usesServer() && !QFileInfo::exists(*database)) {
        err() << ReportTr::tr("找不到数据库文件“%1”。请检查 --root 或 --database 给出的位置。")
                     .arg(QDir::toNativeSeparators(*database))
              << '\n';
        return Failed;
    }
    if (Result r = server.usesServer() ? Database::openServer(server) : Database::open(*database); !r) {
        err() << r.error() << '\n';
        return Failed;
    }
    const ResultOf<HealthReport> report = HealthReports::build(request);
    if (!report) {
        err() << report.error() << '\n';
        Database::close();
        return Failed;
    }
    const Result saved = PdfReport::save(*report, target);
    Database::close();
    if (!saved) {
        err() << saved.error() << '\n';
        return Failed;
    }
    out() << ReportTr::tr("报告已保存：%1").arg(QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath())) << '\n';
    return Done;
}

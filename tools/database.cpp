// kestrin-database: where the family's records live, from scripts. The same choice as the
// programs' "数据库位置…": the local file, or a PostgreSQL server with a shared media folder;
// and the copy of the local records to the server.
#include "data/Database.h"
#include "common/ServerConfig.h"
#include "data/DataTr.h"
#include "data/DatabaseLocation.h"
#include "data/ServerCopy.h"
#include "tools/Console.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace {

using Console::err;
using Console::out;

int fail(const Result& r)
{
    err() << r.error() << Qt::endl;
    return 1;
}

QString databaseFolder(const QCommandLineParser& parser)
{
    const QString root = parser.isSet(QStringLiteral("root"))
                             ? parser.value(QStringLiteral("root"))
                             : QCoreApplication::applicationDirPath() + QStringLiteral("/..");
    return QDir::cleanPath(root + QStringLiteral("/database"));
}

QString readPassword()
{
    QTextStream in(stdin);
    return in.readLine();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin-database"));
    QCommandLineParser parser;
    parser.setApplicationDescription(DataTr::tr("家庭记录放在哪里。\n"
                                                "  show    显示现在的设置\n"
                                                "  local   使用本机的数据库文件（默认）\n"
                                                "  server  使用 PostgreSQL 服务器（先测试连接，能连上才保存）\n"
                                                "  test    测试已保存的服务器设置\n"
                                                "  copy    把本机记录和媒体文件复制到服务器和共享文件夹"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("show | local | server | test | copy"));
    parser.addOptions({
        {QStringLiteral("root"), DataTr::tr("安装文件夹（默认是本程序所在文件夹的上一级）"), QStringLiteral("folder")},
        {QStringLiteral("host"), DataTr::tr("服务器地址"), QStringLiteral("host")},
        {QStringLiteral("port"), DataTr::tr("端口（默认 5432）"), QStringLiteral("port")},
        {QStringLiteral("database"), DataTr::tr("数据库名（默认 kestrin）"), QStringLiteral("name")},
        {QStringLiteral("user"), DataTr::tr("用户名"), QStringLiteral("user")},
        {QStringLiteral("media"), DataTr::tr("共享的媒体文件夹"), QStringLiteral("folder")},
        {QStringLiteral("password-stdin"), DataTr::tr("从标准输入读一行密码，存进 ~/.pgpass")},
    });
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        parser.showHelp(2);
    const QString command = args.first();
    const QString folder = databaseFolder(parser);
    const QString ini = ServerConfig::fileIn(folder);
    ServerConfig config = ServerConfig::read(ini);

    if (command == QLatin1String("show")) {
        if (config.usesServer())
            out() << DataTr::tr("PostgreSQL 服务器：%1:%2，数据库 %3，用户 %4")
                         .arg(config.host)
                         .arg(config.port)
                         .arg(config.database, config.user)
                  << Qt::endl;
        else
            out() << DataTr::tr("本机文件：%1").arg(QDir(folder).filePath(QStringLiteral("kestrin.db"))) << Qt::endl;
        if (!config.mediaFolder.isEmpty())
            out() << DataTr::tr("媒体文件夹：%1").arg(config.mediaFolder) << Qt::endl;
        return 0;
    }
    if (parser.isSet(QStringLiteral("media")))
        config.mediaFolder = parser.value(QStringLiteral("media"));
    if (command == QLatin1String("local")) {
        config.host.clear();
        if (Result r = DatabaseLocation::choose(folder, config); !r)
            return fail(r);
        out() << DataTr::tr("已改为使用本机的数据库文件。") << Qt::endl;
        return 0;
    }
    if (command == QLatin1String("server")) {
        if (!parser.isSet(QStringLiteral("host")) || !parser.isSet(QStringLiteral("user"))) {
            err() << DataTr::tr("请用 --host 和 --user 指定服务器和用户。") << Qt::endl;
            return 2;
        }
        config.host = parser.value(QStringLiteral("host"));
        config.user = parser.value(QStringLiteral("user"));
        config.port = parser.value(QStringLiteral("port")).toInt();
        if (config.port <= 0)
            config.port = ServerConfig::DefaultPort;
        config.database = parser.value(QStringLiteral("database"));
        if (config.database.isEmpty())
            config.database = QStringLiteral("kestrin");
        const QString password = parser.isSet(QStringLiteral("password-stdin")) ? readPassword() : QString();
        if (Result r = DatabaseLocation::choose(folder, config, password); !r)
            return fail(r);
        out() << DataTr::tr("连接成功，设置已保存。各程序下次启动时使用这台服务器。") << Qt::endl;
        return 0;
    }
    if (command == QLatin1String("test")) {
        if (!config.usesServer()) {
            err() << DataTr::tr("现在使用的是本机的数据库文件，没有要测试的服务器。") << Qt::endl;
            return 1;
        }
        if (Result r = Database::testServer(config); !r)
            return fail(r);
        out() << DataTr::tr("连接成功。") << Qt::endl;
        return 0;
    }
    if (command == QLatin1String("copy")) {
        if (!config.usesServer()) {
            err() << DataTr::tr("请先用 server 命令选好服务器。") << Qt::endl;
            return 1;
        }
        const auto progress = [](const QString& step, int percent) {
            out() << QStringLiteral("[%1%] ").arg(percent, 3) << step << Qt::endl;
        };
        if (Result r = ServerCopy::copyRecords(QDir(folder).filePath(QStringLiteral("kestrin.db")), config, progress);
            !r)
            return fail(r);
        Database::close();
        if (!config.mediaFolder.isEmpty()) {
            if (Result r =
                    ServerCopy::copyMedia(QDir(folder).filePath(QStringLiteral("media")), config.mediaFolder, progress);
                !r)
                return fail(r);
        }
        out() << DataTr::tr("本机记录已复制到服务器。") << Qt::endl;
        return 0;
    }
    parser.showHelp(2);
}

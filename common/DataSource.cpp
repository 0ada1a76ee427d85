#include "common/DataSource.h"
#include "common/CommonTr.h"

#include <QDir>

#include <odbcinst.h>

namespace {

QString installerError()
{
    QStringList texts;
    for (WORD i = 1; i <= 8; ++i) {
        DWORD code = 0;
        char message[SQL_MAX_MESSAGE_LENGTH] = {};
        WORD length = 0;
        if (SQLInstallerError(i, &code, message, sizeof message, &length) != SQL_SUCCESS)
            break;
        texts << QString::fromLocal8Bit(message);
    }
    return texts.join(QLatin1Char(' '));
}

bool writeEntry(const QByteArray& section, const char* key, const QString& value)
{
    return SQLWritePrivateProfileString(section.constData(), key, value.toUtf8().constData(), "odbc.ini");
}

bool driverInstalled(const QString& driver)
{
    char buffer[8192] = {};
    WORD length = 0;
    if (!SQLGetInstalledDrivers(buffer, sizeof buffer, &length))
        return false;
    // The list is a run of NUL-terminated names, closed by an empty one.
    for (const char* name = buffer; *name; name += qstrlen(name) + 1) {
        if (QString::fromUtf8(name) == driver)
            return true;
    }
    return false;
}

} // namespace

namespace DataSource {

QString defaultDatabasePath()
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(QStringLiteral("../database/kestrin.db")));
}

QString userConfigFile()
{
    const QString named = qEnvironmentVariable("ODBCINI");
    return named.isEmpty() ? QDir::home().filePath(QStringLiteral(".odbc.ini")) : named;
}

// Writes the user data source name for driver with its entries, in order. Neither driver has a
// set-up routine, so the entries are written one by one; writing the data source anew drops
// the entries written before.
Result writeDataSource(const QString& name, const QString& driver,
                       const QList<std::pair<const char*, QString>>& entries)
{
    const QByteArray section = name.toUtf8();
    bool written = SQLSetConfigMode(ODBC_USER_DSN) &&
                   SQLWriteDSNToIni(section.constData(), driver.toUtf8().constData()) &&
                   writeEntry(section, "Description", name + QStringLiteral("的数据源"));
    for (const auto& [key, value] : entries)
        written = written && writeEntry(section, key, value);
    SQLSetConfigMode(ODBC_BOTH_DSN);
    if (!written)
        return Result::failure(
            CommonTr::tr("无法写入数据源的设置文件 %1。请确认这个文件和它所在的文件夹可以写入，然后重新启动程序。")
                .arg(QDir::toNativeSeparators(userConfigFile())),
            installerError());
    return {};
}

Result registerDataSource(const QString& name, const QString& databasePath)
{
    if (!driverInstalled(Driver))
        return Result::failure(CommonTr::tr("这台电脑上没有安装 SQLite 的 ODBC 驱动程序（%1）。请安装软件包 "
                                            "libsqliteodbc（或再运行一次安装脚本），然后重新启动程序。")
                                   .arg(Driver));
    return writeDataSource(name, Driver, {{"Database", QDir::cleanPath(QDir(databasePath).absolutePath())}});
}

Result registerServerDataSource(const QString& name, const ServerConfig& server)
{
    if (!driverInstalled(ServerDriver))
        return Result::failure(CommonTr::tr("这台电脑上没有安装 PostgreSQL 的 ODBC 驱动程序（%1）。请安装软件包 "
                                            "odbc-postgresql（或再运行一次安装脚本），然后重新启动程序。")
                                   .arg(ServerDriver));
    return writeDataSource(name, ServerDriver,
                           {{"Servername", server.host},
                            {"Port", QString::number(server.port)},
                            {"Database", server.database},
                            {"Username", server.user}});
}

QString databasePath(const QString& name)
{
    char buffer[4096] = {};
    SQLSetConfigMode(ODBC_USER_DSN);
    const int length =
        SQLGetPrivateProfileString(name.toUtf8().constData(), "Database", "", buffer, int(sizeof buffer), "odbc.ini");
    SQLSetConfigMode(ODBC_BOTH_DSN);
    return length > 0 ? QString::fromUtf8(buffer, length) : QString();
}

} // namespace DataSource

#include "common/ServerConfig.h"
#include "common/CommonTr.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

namespace {

// A field of a .pgpass line: ':' and '\' are escaped with '\'.
QString pgpassField(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char(':'), QStringLiteral("\\:"));
    return text;
}

Result writeWhole(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.setPermissions(permissions) ||
        !file.commit())
        return Result::failure(CommonTr::tr("无法写入文件 %1。请确认这个文件和它所在的文件夹可以写入。")
                                   .arg(QDir::toNativeSeparators(path)),
                               file.errorString());
    return {};
}

} // namespace

QString ServerConfig::fileIn(const QString& databaseFolder)
{
    return QDir(databaseFolder).filePath(QStringLiteral("kestrin-server.ini"));
}

ServerConfig ServerConfig::read(const QString& iniPath)
{
    ServerConfig config;
    if (!QFileInfo::exists(iniPath))
        return config;
    // Read line by line rather than through QSettings, whose cache in the process would miss a
    // rewrite of the same size within the same second.
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly))
        return config;
    QHash<QString, QString> values;
    QString section;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(section + QLatin1Char('/') + line.left(equals).trimmed().toLower(),
                          line.mid(equals + 1).trimmed());
    }
    config.host = values.value(QStringLiteral("server/host"));
    bool ok = false;
    const int port = values.value(QStringLiteral("server/port")).toInt(&ok);
    config.port = ok && port > 0 && port < 65536 ? port : DefaultPort;
    config.database = values.value(QStringLiteral("server/database"), QStringLiteral("kestrin"));
    config.user = values.value(QStringLiteral("server/user"));
    config.mediaFolder = values.value(QStringLiteral("media/folder"));
    return config;
}

Result ServerConfig::write(const QString& iniPath) const
{
    // Written by hand, so the file keeps the plain form an administrator would write.
    QString text;
    if (usesServer()) {
        text += QStringLiteral("[Server]\nhost=%1\nport=%2\ndatabase=%3\nuser=%4\n")
                    .arg(host.trimmed())
                    .arg(port)
                    .arg(database.trimmed(), user.trimmed());
    }
    if (!mediaFolder.trimmed().isEmpty())
        text += QStringLiteral("[Media]\nfolder=%1\n").arg(QDir::fromNativeSeparators(mediaFolder.trimmed()));
    if (!QDir().mkpath(QFileInfo(iniPath).absolutePath()))
        return Result::failure(
            CommonTr::tr("无法创建文件夹 %1。").arg(QDir::toNativeSeparators(QFileInfo(iniPath).absolutePath())));
    if (text.isEmpty()) {
        if (QFileInfo::exists(iniPath) && !QFile::remove(iniPath))
            return Result::failure(
                CommonTr::tr("无法删除文件 %1。请确认这个文件可以修改。").arg(QDir::toNativeSeparators(iniPath)));
        return {};
    }
    return writeWhole(iniPath, text.toUtf8(),
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                          QFileDevice::ReadOther);
}

namespace PgPass {

QString path()
{
    const QString named = qEnvironmentVariable("PGPASSFILE");
    return named.isEmpty() ? QDir::home().filePath(QStringLiteral(".pgpass")) : named;
}

Result store(const ServerConfig& server, const QString& password)
{
    const QString prefix = QStringList{pgpassField(server.host), QString::number(server.port),
                                       pgpassField(server.database), pgpassField(server.user)}
                               .join(QLatin1Char(':')) +
                           QLatin1Char(':');
    QStringList lines;
    QFile old(path());
    if (old.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromUtf8(old.readAll()).split(QLatin1Char('\n'))) {
            if (!line.isEmpty() && !line.startsWith(prefix))
                lines << line;
        }
    }
    lines << prefix + pgpassField(password);
    // libpq ignores a password file that others can read.
    return writeWhole(path(), (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(),
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace PgPass

#include "backup/RestoreJournal.h"

#include "backup/BackupTr.h"
#include "backup/DiskSync.h"
#include "backup/FileErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <unistd.h>

namespace {

const QString FormatName = QStringLiteral("kestrin-restore-journal");
constexpr int FormatVersion = 1;

Result unreadable(const QString& path, const QString& detail)
{
    return Result::failure(
        BackupTr::tr("上次恢复备份的记录%1已经损坏，无法自动处理。原来的记录仍在数据库文件夹里（在原处，"
                     "或在名为“恢复前的记录-…”的文件夹中），请不要删除任何文件，并联系技术支持。")
            .arg(FileErrors::quoted(path)),
        detail);
}

} // namespace

QByteArray RestoreJournal::toJson() const
{
    QJsonArray stepList;
    for (const Step& step : steps)
        stepList.append(QJsonObject{
            {QStringLiteral("from"), step.from}, {QStringLiteral("to"), step.to}, {QStringLiteral("into"), step.into}});
    QJsonArray mediaList;
    for (const File& file : media)
        mediaList.append(QJsonObject{{QStringLiteral("name"), file.name}, {QStringLiteral("size"), double(file.size)}});
    QJsonObject root{
        {QStringLiteral("format"), FormatName},
        {QStringLiteral("version"), FormatVersion},
        {QStringLiteral("stage"), stage},
        {QStringLiteral("aside"), aside},
        {QStringLiteral("steps"), stepList},
        {QStringLiteral("database"), QJsonObject{{QStringLiteral("size"), double(databaseSize)},
                                                 {QStringLiteral("sha256"), QString::fromLatin1(databaseSha256)}}},
        {QStringLiteral("media"), mediaList},
    };
    if (!serverRestore.isEmpty())
        root.insert(QStringLiteral("server"), QJsonObject{{QStringLiteral("restore"), serverRestore}});
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString RestoreJournal::pathFor(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteFilePath() + QStringLiteral(".restore-journal");
}

bool RestoreJournal::existsFor(const QString& databasePath)
{
    return QFileInfo::exists(pathFor(databasePath));
}

Result RestoreJournal::write(const QString& databasePath) const
{
    const QString path = pathFor(databasePath);
    const QString temporary = path + QStringLiteral(".new");
    QFile file(temporary);
    const QByteArray json = toJson();
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(json) != json.size() || !file.flush() ||
        ::fsync(file.handle()) != 0) {
        const int error = errno ? errno : EIO;
        file.close();
        QFile::remove(temporary);
        return FileErrors::failure(BackupTr::tr("无法写入文件%1，没有做任何更改").arg(FileErrors::quoted(path)), error);
    }
    file.close();
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        QFile::remove(temporary);
        return FileErrors::failure(BackupTr::tr("无法写入文件%1，没有做任何更改").arg(FileErrors::quoted(path)), error);
    }
    DiskSync::folder(QFileInfo(path).absolutePath());
    return {};
}

ResultOf<RestoreJournal> RestoreJournal::read(const QString& databasePath)
{
    const QString path = pathFor(databasePath);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(path, file.errorString());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("format")).toString() != FormatName ||
        root.value(QStringLiteral("version")).toInt() != FormatVersion)
        return unreadable(path, error.errorString());
    RestoreJournal journal;
    journal.stage = root.value(QStringLiteral("stage")).toString();
    journal.aside = root.value(QStringLiteral("aside")).toString();
    for (const QJsonValue& value : root.value(QStringLiteral("steps")).toArray()) {
        const QJsonObject step = value.toObject();
        journal.steps.append({step.value(QStringLiteral("from")).toString(),
                              step.value(QStringLiteral("to")).toString(),
                              step.value(QStringLiteral("into")).toBool()});
        if (journal.steps.last().from.isEmpty() || journal.steps.last().to.isEmpty())
            return unreadable(path, QStringLiteral("bad step"));
    }
    const QJsonObject database = root.value(QStringLiteral("database")).toObject();
    journal.databaseSize = qint64(database.value(QStringLiteral("size")).toDouble(-1));
    journal.databaseSha256 = database.value(QStringLiteral("sha256")).toString().toLatin1();
    for (const QJsonValue& value : root.value(QStringLiteral("media")).toArray()) {
        const QJsonObject media = value.toObject();
        journal.media.append(
            {media.value(QStringLiteral("name")).toString(), qint64(media.value(QStringLiteral("size")).toDouble(-1))});
    }
    journal.serverRestore = root.value(QStringLiteral("server")).toObject().value(QStringLiteral("restore")).toString();
    if (journal.stage.isEmpty() || journal.aside.isEmpty() || journal.steps.isEmpty())
        return unreadable(path, QStringLiteral("missing stage, aside folder or steps"));
    return journal;
}

void RestoreJournal::remove(const QString& databasePath)
{
    const QString path = pathFor(databasePath);
    QFile::remove(path);
    DiskSync::folder(QFileInfo(path).absolutePath());
}

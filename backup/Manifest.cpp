#include "backup/Manifest.h"

#include "backup/BackupTr.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString FormatName = QStringLiteral("kestrin-backup");

Result notOurs(const QString& detail)
{
    return Manifest::foreign(detail);
}

} // namespace

Result Manifest::foreign(const QString& detail)
{
    return Result::failure(
        BackupTr::tr("这个文件不是本软件制作的备份，或者其中的内容清单已经损坏。请选择用“备份”功能制作的文件。"),
        detail);
}

QByteArray Manifest::toJson() const
{
    QJsonArray list;
    for (const Member& m : members)
        list.append(QJsonObject{{QStringLiteral("path"), m.path},
                                {QStringLiteral("size"), double(m.size)},
                                {QStringLiteral("sha256"), QString::fromLatin1(m.sha256)}});
    const QJsonObject root{
        {QStringLiteral("format"), FormatName},
        {QStringLiteral("formatVersion"), FormatVersion},
        {QStringLiteral("programVersion"), programVersion},
        {QStringLiteral("schemaVersion"), schemaVersion},
        {QStringLiteral("minCompatibleVersion"), minCompatibleVersion},
        {QStringLiteral("created"), created.toUTC().toString(Qt::ISODate)},
        {QStringLiteral("members"), list},
        {QStringLiteral("missingMedia"), QJsonArray::fromStringList(missingMedia)},
        {QStringLiteral("unnamedMedia"), QJsonArray::fromStringList(unnamedMedia)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ResultOf<Manifest> Manifest::fromJson(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject())
        return notOurs(error.errorString());
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != FormatName)
        return notOurs(QStringLiteral("unknown format"));
    if (root.value(QStringLiteral("formatVersion")).toInt() > FormatVersion)
        return Result::failure(BackupTr::tr("这个备份由较新版本的程序制作，本程序无法读取。请先升级程序再恢复。"));

    Manifest manifest;
    manifest.programVersion = root.value(QStringLiteral("programVersion")).toString();
    manifest.schemaVersion = root.value(QStringLiteral("schemaVersion")).toInt();
    manifest.minCompatibleVersion = root.value(QStringLiteral("minCompatibleVersion")).toInt(manifest.schemaVersion);
    manifest.created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(), Qt::ISODate);
    if (manifest.schemaVersion <= 0 || !manifest.created.isValid())
        return notOurs(QStringLiteral("missing versions or time"));
    for (const QJsonValue& value : root.value(QStringLiteral("members")).toArray()) {
        const QJsonObject object = value.toObject();
        Member member{object.value(QStringLiteral("path")).toString(),
                      qint64(object.value(QStringLiteral("size")).toDouble(-1)),
                      object.value(QStringLiteral("sha256")).toString().toLatin1()};
        if (member.path.isEmpty() || member.size < 0 || member.sha256.size() != 64)
            return notOurs(QStringLiteral("bad member entry"));
        manifest.members.append(std::move(member));
    }
    for (const QJsonValue& value : root.value(QStringLiteral("missingMedia")).toArray())
        manifest.missingMedia.append(value.toString());
    for (const QJsonValue& value : root.value(QStringLiteral("unnamedMedia")).toArray())
        manifest.unnamedMedia.append(value.toString());
    if (!manifest.member(DatabaseMember))
        return notOurs(QStringLiteral("no database member"));
    return manifest;
}

const Manifest::Member* Manifest::member(const QString& path) const
{
    for (const Member& m : members) {
        if (m.path == path)
            return &m;
    }
    return nullptr;
}

QString Manifest::mediaName(const QString& memberPath)
{
    if (!memberPath.startsWith(MediaPrefix))
        return {};
    const QString name = memberPath.mid(MediaPrefix.size());
    return isSafeMediaName(name) ? name : QString();
}

bool Manifest::isSafeMediaName(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

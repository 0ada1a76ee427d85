#include "media/MediaKind.h"

#include "media/MediaTr.h"

namespace MediaKinds {

QStringList extensions(MediaKind kind)
{
    switch (kind) {
    case MediaKind::Video:
        return {QStringLiteral("mov"), QStringLiteral("vob"), QStringLiteral("rm"), QStringLiteral("rmvb"),
                QStringLiteral("dat"), QStringLiteral("mpg"), QStringLiteral("avi")};
    case MediaKind::Picture:
        return {QStringLiteral("jpg"), QStringLiteral("bmp"), QStringLiteral("gif"), QStringLiteral("jpeg")};
    case MediaKind::Sound:
        return {QStringLiteral("wav"), QStringLiteral("wma"), QStringLiteral("mp3"), QStringLiteral("mid"),
                QStringLiteral("voc"), QStringLiteral("snd"), QStringLiteral("aif")};
    case MediaKind::Other:
        break;
    }
    return {};
}

MediaKind fromName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return MediaKind::Other;
    const QString extension = fileName.mid(dot + 1).toLower();
    for (MediaKind kind : Choosable) {
        if (extensions(kind).contains(extension))
            return kind;
    }
    return MediaKind::Other;
}

QString typeText(MediaKind kind)
{
    switch (kind) {
    case MediaKind::Video:
        return MediaTr::tr("视频文件");
    case MediaKind::Picture:
        return MediaTr::tr("图像文件");
    case MediaKind::Sound:
        return MediaTr::tr("音频文件");
    case MediaKind::Other:
        break;
    }
    return MediaTr::tr("媒体文件");
}

QStringList typeTexts()
{
    QStringList texts;
    for (MediaKind kind : Choosable)
        texts << typeText(kind);
    return texts;
}

MediaKind atTypeIndex(int index)
{
    if (index < 0 || index >= int(std::size(Choosable)))
        return MediaKind::Other;
    return Choosable[index];
}

QString dialogFilter(MediaKind kind)
{
    QStringList patterns;
    const QStringList list = extensions(kind);
    for (const QString& extension : list)
        patterns << QStringLiteral("*.") + extension;
    for (const QString& extension : list)
        patterns << QStringLiteral("*.") + extension.toUpper();
    return MediaTr::tr("媒体文件") + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

} // namespace MediaKinds

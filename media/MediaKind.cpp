#include "media/MediaKind.h"

#include "media/MediaTr.h"

#include <vector>

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
    // Built once: a search asks for the kind of every listed file.
    static const std::vector<std::pair<QString, MediaKind>> known = [] {
        std::vector<std::pair<QString, MediaKind>> table;
        for (MediaKind kind : Choosable) {
            for (const QString& extension : extensions(kind))
                table.emplace_back(extension, kind);
        }
        return table;
    }();
    constexpr qsizetype longest = 4;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype length = dot < 0 ? 0 : fileName.size() - dot - 1;
    if (length == 0 || length > longest)
        return MediaKind::Other;
    char16_t lower[longest];
    for (qsizetype i = 0; i < length; ++i)
        lower[i] = fileName.at(dot + 1 + i).toLower().unicode();
    const QStringView extension(lower, length);
    for (const auto& [candidate, kind] : known) {
        if (candidate == extension)
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

#include "reelbox/ChosenFiles.h"
#include "reelbox/ReelboxTr.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>

namespace {

int encodedSize(const QString& text)
{
    return int(QFile::encodeName(text).size());
}

Result tooLong(const QString& path)
{
    return Result::failure(
        ReelboxTr::tr("文件%1的路径或名字太长，系统无法复制它，这次选择的文件都没有加入。请把文件改个短些的名字，"
                      "或移到路径较短的文件夹（例如桌面）后再选择。")
            .arg(QStringLiteral("“") + QDir::toNativeSeparators(path) + QStringLiteral("”")));
}

} // namespace

int ChosenFiles::maxPathBytes()
{
#if defined(PATH_MAX)
    return PATH_MAX - 1; // PATH_MAX counts the closing zero
#else
    return 259;
#endif
}

int ChosenFiles::maxNameBytes()
{
#if defined(NAME_MAX)
    return NAME_MAX;
#else
    return 255;
#endif
}

Result ChosenFiles::append(const QStringList& paths, const QString& mediaFolder)
{
    if (m_paths.size() + paths.size() > MaxFiles) {
        return Result::failure(ReelboxTr::tr("一次最多可以添加%1个文件。已选择%2个，这次又选择了%3个，这次选择的文件"
                                             "都没有加入。请先按“添加”把已选择的文件添加进来，再选择其他文件。")
                                   .arg(MaxFiles)
                                   .arg(m_paths.size())
                                   .arg(paths.size()));
    }
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        // The copy gets the same name in the media folder, perhaps with a number added: "(12)".
        constexpr int numberRoom = 8;
        if (encodedSize(path) > maxPathBytes() || encodedSize(name) + numberRoom > maxNameBytes() ||
            encodedSize(mediaFolder + QLatin1Char('/') + name) + numberRoom > maxPathBytes())
            return tooLong(path);
    }
    // A file chosen again is filed once.
    for (const QString& path : paths) {
        if (!m_paths.contains(path))
            m_paths << path;
    }
    return {};
}

QStringList ChosenFiles::names() const
{
    QStringList list;
    for (const QString& path : m_paths)
        list << QFileInfo(path).fileName();
    return list;
}

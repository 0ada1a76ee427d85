#include "media/ui/ThumbnailSource.h"

#include "media/Thumbnailer.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>

namespace {

// Thumbnails kept in memory: several screens of a list.
constexpr int KeptIcons = 600;

} // namespace

ThumbnailSource::ThumbnailSource(QObject* parent) : QObject(parent), m_icons(KeptIcons)
{
    connect(&m_loader, &ThumbnailLoader::ready, this, &ThumbnailSource::take);
}

ThumbnailSource& ThumbnailSource::shared()
{
    // Owned by the application, so its workers end before the application does.
    static QPointer<ThumbnailSource> source;
    if (!source)
        source = new ThumbnailSource(QCoreApplication::instance());
    return *source;
}

QIcon ThumbnailSource::typeIcon(MediaKind kind) const
{
    QIcon& icon = m_typeIcons[int(kind)];
    if (icon.isNull()) {
        QStyle::StandardPixmap picture = QStyle::SP_FileIcon;
        switch (kind) {
        case MediaKind::Video:
            picture = QStyle::SP_MediaPlay;
            break;
        case MediaKind::Picture:
            picture = QStyle::SP_FileDialogContentsView;
            break;
        case MediaKind::Sound:
            picture = QStyle::SP_MediaVolume;
            break;
        case MediaKind::Other:
            break;
        }
        icon = QApplication::style()->standardIcon(picture);
    }
    return icon;
}

QString ThumbnailSource::key(const QString& file, ThumbnailCache::Size size)
{
    return (size == ThumbnailCache::Size::Large ? QLatin1Char('L') : QLatin1Char('N')) + file;
}

QIcon ThumbnailSource::icon(const QString& file, int pixels)
{
    const MediaKind kind = MediaKinds::fromName(file);
    if (!Thumbnailer::hasThumbnails(kind))
        return typeIcon(kind);
    const ThumbnailCache::Size size = ThumbnailCache::sizeFor(pixels);
    const QString k = key(file, size);
    if (const QIcon* known = m_icons.object(k))
        return *known;
    if (!m_none.contains(k))
        m_loader.request(file, size);
    return typeIcon(kind);
}

void ThumbnailSource::restart()
{
    m_loader.dropQueue();
    m_icons.clear();
    m_none.clear();
}

void ThumbnailSource::take(const QString& file, ThumbnailCache::Size size, const QImage& image)
{
    const QString k = key(file, size);
    if (image.isNull())
        m_none.insert(k);
    else
        m_icons.insert(k, new QIcon(QPixmap::fromImage(image)));
    emit changed(file);
}

#pragma once

#include "media/MediaKind.h"
#include "media/ThumbnailLoader.h"

#include <QCache>
#include <QIcon>
#include <QObject>
#include <QSet>

// The thumbnails the lists of a program show, one source for all of them. icon() answers at
// once: with the thumbnail when it is in memory, else with the icon of the file's type while
// the thumbnail is made off the user-interface thread; changed() then tells the lists to
// repaint. Lists ask only for the rows they paint, so only rows on screen are thumbnailed.
class ThumbnailSource : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailSource(QObject* parent = nullptr);

    // The source of the program, made on first use.
    static ThumbnailSource& shared();

    // The picture to show for file at about pixels on its longest side.
    QIcon icon(const QString& file, int pixels);
    // The icon of a type: a picture, a film, a loudspeaker, a page.
    QIcon typeIcon(MediaKind kind) const;

    // Forgets waiting requests and the thumbnails in memory, as a new list does: a file changed
    // since is thumbnailed anew.
    void restart();

    ThumbnailLoader& loader() { return m_loader; }

signals:
    void changed(const QString& file);

private:
    void take(const QString& file, ThumbnailCache::Size size, const QImage& image);
    static QString key(const QString& file, ThumbnailCache::Size size);

    ThumbnailLoader m_loader;
    // By MediaKind; each taken from the style when first asked for, as a list shows no rows
    // while the window is first drawn.
    mutable QIcon m_typeIcons[4];
    QCache<QString, QIcon> m_icons;
    // Files without a thumbnail (undecodable, missing), until the next restart.
    QSet<QString> m_none;
};

#include "media/PictureGeometry.h"

namespace PictureGeometry {

QRect fitInFrame(QSize frame, QSize picture)
{
    const int w = frame.width();
    const int h = frame.height();
    if (w <= 0 || h <= 0 || picture.width() <= 0 || picture.height() <= 0)
        return {};
    const float frameRatio = float(h) / float(w);
    const float pictureRatio = float(picture.height()) / float(picture.width());
    if (pictureRatio > frameRatio) {
        // Relatively taller: full height, bands left and right.
        const int drawnWidth = int(float(h) / pictureRatio);
        return QRect((w - drawnWidth) / 2, 0, drawnWidth, h);
    }
    const int drawnHeight = int(float(w) * pictureRatio);
    return QRect(0, (h - drawnHeight) / 2, w, drawnHeight);
}

QPoint centreOf(QSize client)
{
    return QPoint(client.width() / 2, client.height() / 2);
}

QRect naturalSize(QPoint centre, QSize picture)
{
    return QRect(centre.x() - picture.width() / 2, centre.y() - picture.height() / 2, picture.width(),
                 picture.height());
}

QRect zoomIn(QPoint centre, const QRect& placed)
{
    const int w = placed.width();
    const int h = placed.height();
    if (w >= maxZoomedSide || h >= maxZoomedSide)
        return placed;
    return QRect(centre.x() - w, centre.y() - h, 2 * w, 2 * h);
}

QRect zoomOut(QPoint centre, const QRect& placed)
{
    const int w = placed.width();
    const int h = placed.height();
    return QRect(centre.x() + (-3 * w) / 8, centre.y() + (-3 * h) / 8, (3 * w) / 4, (3 * h) / 4);
}

} // namespace PictureGeometry

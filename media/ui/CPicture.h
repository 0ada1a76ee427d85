#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// One picture read from a file: BMP, JPEG, GIF, PNG or any other format Qt reads, recognised by
// the file's content rather than its name. A file that cannot be opened or decoded leaves the
// object empty; callers learn of a failure only from that, and show nothing.
//
// The picture keeps its natural size apart from the decoded image, so it can be decoded at the
// size it is shown at (a large photograph in a small frame) and still be placed by its own size.
class CPicture
{
public:
    // Reads the whole picture at its natural size, for zooming. A picture too large for one
    // image in memory is decoded smaller and drawn enlarged to its natural size.
    void load(const QString& path);
    // Reads the picture decoded at the size it takes when fitted into a frame of the given
    // size (in device pixels), which is much quicker for a large photograph.
    void loadFitted(const QString& path, QSize frame);
    void release();

    bool isEmpty() const { return m_image.isNull(); }
    // The natural size in pixels, upright; (0, 0) when empty.
    QSize size() const { return m_size; }
    // The decoded pixels; may be smaller or larger than size().
    const QImage& image() const { return m_image; }

    // Draws the whole picture stretched to target. Only the part inside visible is drawn, so a
    // picture zoomed far beyond the window costs no more than one window of pixels.
    void render(QPainter& painter, const QRect& target, const QRect& visible) const;

private:
    void read(const QString& path, QSize (*decodeSize)(QSize natural, QSize frame), QSize frame);

    QSize m_size;
    QImage m_image;
    // The decoded image scaled to the last target size, so repaints of an unchanged view (while
    // dragging) only copy pixels.
    mutable QImage m_scaled;
};

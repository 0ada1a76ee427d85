#include "media/ui/CPicture.h"

#include "media/PictureGeometry.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Above this many pixels a scaled copy for a zoomed view would cost too much memory; such
// views draw their visible part straight from the decoded image.
constexpr qint64 maxScaledPixels = 16 * 1024 * 1024;

QSize fullDecodeSize(QSize natural, QSize)
{
    // The reader refuses images above its allocation limit; such a picture is decoded smaller
    // rather than not at all, with room for the decoder's own larger intermediate image.
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    const qint64 bytes = qint64(natural.width()) * natural.height() * 4;
    if (limit <= 0 || bytes <= limit)
        return natural;
    const double factor = std::sqrt(double(limit / 2) / double(bytes));
    return QSize(std::max(1, int(natural.width() * factor)), std::max(1, int(natural.height() * factor)));
}

QSize fittedDecodeSize(QSize natural, QSize frame)
{
    return PictureGeometry::fitInFrame(frame, natural).size();
}

} // namespace

void CPicture::load(const QString& path)
{
    read(path, fullDecodeSize, QSize());
}

void CPicture::loadFitted(const QString& path, QSize frame)
{
    read(path, fittedDecodeSize, frame);
}

void CPicture::release()
{
    m_size = QSize(0, 0);
    m_image = QImage();
    m_scaled = QImage();
}

void CPicture::read(const QString& path, QSize (*decodeSize)(QSize natural, QSize frame), QSize frame)
{
    release();
    // Opened here rather than by name: the reader would otherwise try other files with a
    // picture extension added when the named one is missing.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    // Photographs taken with the camera turned carry their orientation; show them upright.
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return;
    const QSize stored = reader.size();
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize natural = turned ? stored.transposed() : stored;
    if (natural.isValid()) {
        const QSize decode = decodeSize(natural, frame);
        if (decode.isEmpty())
            return;
        if (decode != natural)
            reader.setScaledSize(turned ? decode.transposed() : decode);
    }
    QImage image = reader.read();
    if (image.isNull())
        return;
    // One of the two formats the painter draws without converting on every paint.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    m_size = natural.isValid() ? natural : image.size();
    m_image = std::move(image);
}

void CPicture::render(QPainter& painter, const QRect& target, const QRect& visible) const
{
    if (isEmpty() || target.isEmpty())
        return;
    const QRect shown = target & visible;
    if (shown.isEmpty())
        return;
    const QRect part = shown.translated(-target.topLeft());
    if (target.size() == m_image.size()) {
        painter.drawImage(shown.topLeft(), m_image, part);
        return;
    }
    if (qint64(target.width()) * target.height() <= maxScaledPixels) {
        if (m_scaled.size() != target.size())
            m_scaled = m_image.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(shown.topLeft(), m_scaled, part);
        return;
    }
    const double sx = double(m_image.width()) / target.width();
    const double sy = double(m_image.height()) / target.height();
    const QRectF source(part.x() * sx, part.y() * sy, part.width() * sx, part.height() * sy);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(shown), m_image, source);
    painter.restore();
}

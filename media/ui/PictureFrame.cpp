#include "media/ui/PictureFrame.h"

#include "media/MediaTr.h"
#include "media/PictureGeometry.h"

#include <QPaintEvent>
#include <QPainter>

PictureFrame::PictureFrame(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pictureFrame"));
    setAccessibleName(MediaTr::tr("图片"));
    // The frame paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureFrame::showFile(const QString& path)
{
    m_file = path;
    m_decodedFor = QSize();
    decode();
    update();
}

void PictureFrame::clear()
{
    m_file.clear();
    m_picture.release();
    m_decodedFor = QSize();
    update();
}

QRect PictureFrame::pictureRect() const
{
    if (m_picture.isEmpty())
        return {};
    return PictureGeometry::fitInFrame(size(), m_picture.size());
}

void PictureFrame::decode()
{
    if (m_file.isEmpty() || size().isEmpty()) {
        m_picture.release();
        return;
    }
    // Decoded at device pixels so the picture stays sharp on a high-density screen.
    const qreal ratio = devicePixelRatioF();
    const QSize device(qRound(width() * ratio), qRound(height() * ratio));
    m_picture.loadFitted(m_file, device);
    m_decodedFor = size();
}

void PictureFrame::paintEvent(QPaintEvent* event)
{
    // A hidden frame gets no resize events; it catches up before it paints.
    refit();
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    if (m_picture.image().size() == target.size() * devicePixelRatioF()) {
        // Decoded for this frame: one device pixel per image pixel, no scaling.
        QImage image = m_picture.image();
        image.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(target.topLeft(), image);
        return;
    }
    m_picture.render(painter, target, event->rect());
}

void PictureFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    refit();
}

void PictureFrame::refit()
{
    if (m_file.isEmpty() || size() == m_decodedFor)
        return;
    const QSize natural = m_picture.size();
    if (!m_picture.isEmpty() && !m_decodedFor.isEmpty() &&
        PictureGeometry::fitInFrame(size(), natural).size() ==
            PictureGeometry::fitInFrame(m_decodedFor, natural).size()) {
        m_decodedFor = size();
        return;
    }
    decode();
}

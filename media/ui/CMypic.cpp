#include "media/ui/CMypic.h"

#include "media/MediaTr.h"
#include "media/PictureGeometry.h"
#include "media/ui/CPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

#include <algorithm>

CMypic::CMypic(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pictureView"));
    setAccessibleName(MediaTr::tr("图片"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

void CMypic::setPicture(const CPicture* picture)
{
    m_picture = picture;
    update();
}

void CMypic::setPlacement(const QRect& placement)
{
    m_placement = placement;
    update();
}

void CMypic::setEmptyText(const QString& text)
{
    m_emptyText = text;
    update();
}

QRect CMypic::pictureRect() const
{
    if (!m_picture || m_picture->isEmpty())
        return {};
    return m_placement;
}

QPoint CMypic::clientPoint(const QMouseEvent* event) const
{
    const QRect client = contentsRect();
    const QPoint p = event->position().toPoint() - client.topLeft();
    return QPoint(std::clamp(p.x(), 0, std::max(0, client.width() - 1)),
                  std::clamp(p.y(), 0, std::max(0, client.height() - 1)));
}

void CMypic::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect client = contentsRect();
    const QRect dirty = client & event->rect();
    painter.fillRect(dirty, palette().color(QPalette::Base));
    painter.setClipRect(dirty);
    if (m_picture && !m_picture->isEmpty()) {
        m_picture->render(painter, m_placement.translated(client.topLeft()), dirty);
    } else if (!m_emptyText.isEmpty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(client, Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
    }
}

void CMypic::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint() - contentsRect().topLeft();
        if (pictureRect().contains(p)) {
            m_dragPoint = p;
            m_dragging = true;
            setCursor(dragCursor());
        }
    }
    QFrame::mousePressEvent(event);
}

void CMypic::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging) {
        const QPoint p = clientPoint(event);
        m_placement.translate(p - m_dragPoint);
        m_dragPoint = p;
        update();
    }
    QFrame::mouseMoveEvent(event);
}

void CMypic::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        unsetCursor();
    }
    QFrame::mouseReleaseEvent(event);
}

void CMypic::resizeEvent(QResizeEvent* event)
{
    // The picture keeps its place relative to the view's centre, so a picture centred before
    // the window reached its full-screen size is still centred after.
    const QSize frameSpace = size() - clientSize();
    const QPoint shift =
        PictureGeometry::centreOf(clientSize()) - PictureGeometry::centreOf(event->oldSize() - frameSpace);
    if (event->oldSize().isValid())
        m_placement.translate(shift);
    QFrame::resizeEvent(event);
}

QCursor CMypic::dragCursor()
{
    static const QCursor cursor = [] {
        constexpr int side = 32;
        constexpr double mid = side / 2.0;
        // Arrowheads: tip distance from the edge, base distance from the edge, half the base.
        constexpr double tip = 2;
        constexpr double back = 8;
        constexpr double half = 3.5;
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        // A cross with an arrowhead at each end, black on a white outline so it shows on any
        // picture.
        QPainterPath shafts;
        shafts.moveTo(mid, back);
        shafts.lineTo(mid, side - back);
        shafts.moveTo(back, mid);
        shafts.lineTo(side - back, mid);
        QPainterPath heads;
        auto head = [&heads](QPointF tipPoint, QPointF left, QPointF right) {
            heads.addPolygon(QPolygonF(QList<QPointF>{tipPoint, left, right, tipPoint}));
        };
        head({mid, tip}, {mid - half, back}, {mid + half, back});
        head({mid, side - tip}, {mid - half, side - back}, {mid + half, side - back});
        head({tip, mid}, {back, mid - half}, {back, mid + half});
        head({side - tip, mid}, {side - back, mid - half}, {side - back, mid + half});
        painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::white);
        painter.drawPath(shafts);
        painter.drawPath(heads);
        painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::black);
        painter.drawPath(shafts);
        painter.drawPath(heads);
        painter.end();
        return QCursor(pixmap, side / 2, side / 2);
    }();
    return cursor;
}

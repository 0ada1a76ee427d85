#include "reelbox/ui/DialogUnitLayout.h"

#include <QWidget>
#include <QWidgetItem>

DialogUnitLayout::DialogUnitLayout(QSizeF grid, qreal unit, QWidget* parent)
    : QLayout(parent), m_grid(grid), m_unit(unit)
{
    setContentsMargins(0, 0, 0, 0);
}

DialogUnitLayout::~DialogUnitLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void DialogUnitLayout::place(QWidget* widget, QRectF rect, Height height)
{
    addChildWidget(widget);
    m_items.append({new QWidgetItem(widget), rect, height});
    invalidate();
}

void DialogUnitLayout::setUnit(qreal unit)
{
    m_unit = unit;
    invalidate();
}

void DialogUnitLayout::addItem(QLayoutItem* item)
{
    // Items without a place sit at the top left, as large as they like to be.
    m_items.append({item, QRectF(), Height::Natural});
}

QLayoutItem* DialogUnitLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index).item : nullptr;
}

QLayoutItem* DialogUnitLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index).item;
}

QSize DialogUnitLayout::sizeHint() const
{
    return (m_grid * m_unit).toSize();
}

QSize DialogUnitLayout::minimumSize() const
{
    // Below this the controls' own heights no longer fit between their neighbours.
    return (m_grid * m_unit * 0.8).toSize();
}

QRect DialogUnitLayout::mapped(QRectF rect, QSize window) const
{
    const qreal sx = window.width() / m_grid.width();
    const qreal sy = window.height() / m_grid.height();
    return QRectF(rect.x() * sx, rect.y() * sy, rect.width() * sx, rect.height() * sy).toRect();
}

void DialogUnitLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    for (const Placed& placed : std::as_const(m_items)) {
        QRect target = mapped(placed.rect, rect.size()).translated(rect.topLeft());
        const QSize hint = placed.item->sizeHint();
        if (placed.rect.width() <= 0)
            target.setWidth(hint.width());
        if (placed.height == Height::Natural || placed.rect.height() <= 0) {
            const int centre = target.center().y();
            target.setHeight(hint.height());
            target.moveTop(centre - hint.height() / 2);
        }
        placed.item->setGeometry(target);
    }
}

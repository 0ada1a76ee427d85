#pragma once

#include <QLayout>
#include <QList>
#include <QRectF>

// Places a window's controls at fixed rectangles of a design grid (dialog units) and scales the
// grid to the window: the window keeps its arrangement at any size. Controls with a natural
// height (labels, single-line edits, combo boxes) keep it and are centred on their rectangle, so
// their text is never cut.
class DialogUnitLayout : public QLayout
{
    Q_OBJECT

public:
    enum class Height
    {
        // The rectangle's height, scaled.
        Scaled,
        // The control's own height, centred on the rectangle.
        Natural
    };

    // grid is the design size in dialog units; unit the pixels of one unit at the design size.
    DialogUnitLayout(QSizeF grid, qreal unit, QWidget* parent = nullptr);
    ~DialogUnitLayout() override;

    // Puts widget at rect (dialog units). A width of 0 takes the widget's own width.
    void place(QWidget* widget, QRectF rect, Height height = Height::Scaled);

    qreal unit() const { return m_unit; }
    void setUnit(qreal unit);
    // Where a rectangle of the grid lies in a window of the given size.
    QRect mapped(QRectF rect, QSize window) const;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override { return int(m_items.size()); }
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Placed
    {
        QLayoutItem* item;
        QRectF rect;
        Height height;
    };

    QSizeF m_grid;
    qreal m_unit;
    QList<Placed> m_items;
};

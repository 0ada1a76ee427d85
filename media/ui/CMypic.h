#pragma once

#include <QFrame>

class CPicture;

// The drawing view of the picture viewer: draws its picture at x, y with the size w, h in its
// client area, and lets the user drag the picture about with the left mouse button. When there
// is no picture (a sound or video name, or a file that cannot be read) it shows the name given
// with setEmptyText instead.
class CMypic : public QFrame
{
    Q_OBJECT

public:
    explicit CMypic(QWidget* parent = nullptr);

    // The picture to draw; not owned, nullptr for none.
    void setPicture(const CPicture* picture);
    const CPicture* picture() const { return m_picture; }

    // Where the picture is drawn (x, y, w, h), in client coordinates.
    QRect placement() const { return m_placement; }
    void setPlacement(const QRect& placement);
    // The client area inside the border: the view's own coordinates start at its top-left.
    QSize clientSize() const { return contentsRect().size(); }

    void setEmptyText(const QString& text);
    bool isDragging() const { return m_dragging; }

    // The cursor shown while a picture is dragged: four arrows, drawn here.
    static QCursor dragCursor();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect pictureRect() const;
    // An event's position in client coordinates, kept inside the client area as if the cursor
    // were confined to the view while dragging.
    QPoint clientPoint(const QMouseEvent* event) const;

    const CPicture* m_picture = nullptr;
    QRect m_placement{0, 0, 100, 100};
    QString m_emptyText;
    QPoint m_dragPoint;
    bool m_dragging = false;
};

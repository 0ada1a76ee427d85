#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a picture is drawn, in whole pixels. The picture frame and the viewer only paint what
// these compute, so the arithmetic can be checked without a window.
namespace PictureGeometry {

// The rectangle a picture of the given size takes when fitted into a frame: the whole frame
// width with white bands above and below when the picture is relatively wider than the frame,
// the whole height with bands left and right otherwise; enlarged as well as reduced. The ratios
// are single-precision, the drawn side is truncated and the bands are halved toward zero.
// Empty when the frame or the picture is empty (nothing is drawn).
QRect fitInFrame(QSize frame, QSize picture);

// The centre of a view's client area of the given size, as the view's own coordinates.
QPoint centreOf(QSize client);

// The picture at its natural size with its centre at the view's centre.
QRect naturalSize(QPoint centre, QSize picture);

// Twice the size, centred on the view's centre. A picture as wide or high as maxZoomedSide
// stays as it is, so repeated zooming can never overflow the coordinates.
QRect zoomIn(QPoint centre, const QRect& placed);

// Three quarters of the size (truncated), centred on the view's centre.
QRect zoomOut(QPoint centre, const QRect& placed);

// The largest side zooming in produces.
constexpr int maxZoomedSide = 1 << 20;

} // namespace PictureGeometry

#pragma once

#include <QPointF>
#include <QSizeF>
#include <QVector>

// Where a plot's note covers the fewest data points: the corners of the drawing area in the
// order they are tried, top right first (the place a reader looks for it).
namespace NoteCorner {

enum Corner
{
    TopRight,
    TopLeft,
    BottomRight,
    BottomLeft
};

// The corner of an area of the given size (pixels, y downwards) whose box holds the fewest
// of points (pixels in the same frame); on a tie the earlier corner of the enum.
Corner emptiest(const QVector<QPointF> &points, const QSizeF &area, const QSizeF &box);

} // namespace NoteCorner

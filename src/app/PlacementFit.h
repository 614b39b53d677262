#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

// The arithmetic of window placement, free of windows: where a stored placement goes on
// the screens (or in the area) there are now.
//
// Geometries are those of the window's inside; frame holds the margins the window
// manager adds around it (title bar, borders), so the whole window is inside + frame.
class PlacementFit
{
public:
    // Stored coordinates beyond this are nonsense, whatever the screens: they are cut
    // here so that no arithmetic on them overflows.
    static constexpr int Limit = 1000000;

    // A stored number as a coordinate: rounded half to even and cut at +-Limit.
    static int coordinate(double value);

    // The geometry for wanted on the available areas (the first is the primary one):
    // - the size is cut to what fits in the area the window goes to;
    // - a window less than half of which lies on any one area goes onto the primary one,
    //   wholly inside it;
    // - a window mostly on an area keeps its place, but its top edge (the title bar) is
    //   kept inside that area so that it can be reached.
    // Without areas wanted is returned as it is.
    static QRect fit(const QRect &wanted, const QMargins &frame, const QList<QRect> &areas);

    // Where a window of size opened for the first time goes in area, beside the windows
    // already there (taken): the first of the area's corner and the places right of and
    // below each taken window where it fits whole and overlaps none, top rows first; when
    // there is no such place, one step down and right of the last taken window.
    static QPoint freePlace(const QSize &size, const QList<QRect> &taken, const QRect &area);
};

#include "PlacementFit.h"

#include "model/Rounding.h"

#include <QtGlobal>

#include <algorithm>

namespace {

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

int clampInto(int start, int length, int areaStart, int areaLength)
{
    return qBound(areaStart, start, areaStart + qMax(0, areaLength - length));
}

} // namespace

int PlacementFit::coordinate(double value)
{
    return qBound(-Limit, roundToInt(value), Limit);
}

QRect PlacementFit::fit(const QRect &wanted, const QMargins &frame, const QList<QRect> &areas)
{
    if (areas.isEmpty())
        return wanted;

    const QRect whole = wanted.marginsAdded(frame);
    int best = 0;
    qint64 bestOverlap = -1;
    for (int i = 0; i < areas.size(); ++i) {
        const qint64 o = overlap(whole, areas.at(i));
        if (o > bestOverlap) {
            best = i;
            bestOverlap = o;
        }
    }
    const qint64 wholeArea = qint64(qMax(1, whole.width())) * qMax(1, whole.height());
    const bool mostlyOn = 2 * bestOverlap >= wholeArea;
    const QRect area = areas.at(mostlyOn ? best : 0);

    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QSize size(qBound(1, wanted.width(), qMax(1, area.width() - frameWidth)),
                     qBound(1, wanted.height(), qMax(1, area.height() - frameHeight)));
    const QSize wholeSize = size + QSize(frameWidth, frameHeight);

    int left = whole.left();
    int top = whole.top();
    if (mostlyOn) {
        top = qMax(top, area.top());
    } else {
        left = clampInto(left, wholeSize.width(), area.left(), area.width());
        top = clampInto(top, wholeSize.height(), area.top(), area.height());
    }
    return QRect(QPoint(left + frame.left(), top + frame.top()), size);
}

QPoint PlacementFit::freePlace(const QSize &size, const QList<QRect> &taken, const QRect &area)
{
    QList<QPoint> candidates{area.topLeft()};
    for (const QRect &r : taken)
        candidates << QPoint(r.right() + 1, r.top()) << QPoint(r.left(), r.bottom() + 1);
    std::stable_sort(candidates.begin(), candidates.end(), [](const QPoint &a, const QPoint &b) {
        return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    });
    for (const QPoint &p : std::as_const(candidates)) {
        const QRect place(p, size);
        if (area.contains(place) && std::none_of(taken.begin(), taken.end(),
                                                 [&place](const QRect &r) { return r.intersects(place); }))
            return p;
    }
    constexpr int Step = 24;
    const QPoint corner = taken.isEmpty() ? area.topLeft() : taken.last().topLeft() + QPoint(Step, Step);
    return {clampInto(corner.x(), size.width(), area.left(), area.width()),
            clampInto(corner.y(), size.height(), area.top(), area.height())};
}

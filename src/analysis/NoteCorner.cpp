#include "NoteCorner.h"

#include <QRectF>

namespace NoteCorner {

Corner emptiest(const QVector<QPointF> &points, const QSizeF &area, const QSizeF &box)
{
    const double right = area.width() - box.width();
    const double bottom = area.height() - box.height();
    const QRectF boxes[] = {QRectF(QPointF(right, 0), box), QRectF(QPointF(0, 0), box),
                            QRectF(QPointF(right, bottom), box), QRectF(QPointF(0, bottom), box)};
    Corner best = TopRight;
    qsizetype fewest = -1;
    for (int corner = TopRight; corner <= BottomLeft; ++corner) {
        qsizetype covered = 0;
        for (const QPointF &p : points)
            covered += boxes[corner].contains(p) ? 1 : 0;
        if (fewest < 0 || covered < fewest) {
            fewest = covered;
            best = static_cast<Corner>(corner);
        }
    }
    return best;
}

} // namespace NoteCorner

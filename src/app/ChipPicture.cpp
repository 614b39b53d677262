#include "ChipPicture.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

QPixmap ChipPicture::pixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = size / 16.0;
    // Pins: four on each side.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 170, 170));
    for (int i = 0; i < 4; ++i) {
        const double offset = unit * (4 + 2.5 * i);
        p.drawRect(QRectF(unit, offset, unit * 2, unit));
        p.drawRect(QRectF(unit * 13, offset, unit * 2, unit));
        p.drawRect(QRectF(offset, unit, unit, unit * 2));
        p.drawRect(QRectF(offset, unit * 13, unit, unit * 2));
    }
    // Body with the orientation mark.
    p.setBrush(QColor(40, 44, 52));
    p.drawRoundedRect(QRectF(unit * 3, unit * 3, unit * 10, unit * 10), unit * 0.6, unit * 0.6);
    p.setBrush(QColor(90, 96, 110));
    p.drawEllipse(QPointF(unit * 4.8, unit * 4.8), unit * 0.7, unit * 0.7);
    // A sine wave across the body: the converter's input.
    QPainterPath wave;
    for (int x = 0; x <= 80; ++x) {
        const double t = x / 80.0;
        const QPointF point(unit * (4 + 8 * t), unit * (9 + 2.2 * std::sin(t * 6.283185307)));
        if (x == 0)
            wave.moveTo(point);
        else
            wave.lineTo(point);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(90, 200, 255), unit * 0.5));
    p.drawPath(wave);
    return pixmap;
}

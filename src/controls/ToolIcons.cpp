#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace {

constexpr int Size = 24;

void drawFolder(QPainter &p)
{
    p.setBrush(QColor(240, 200, 90));
    p.setPen(QPen(QColor(150, 110, 30), 1));
    QPainterPath path;
    path.moveTo(3, 7);
    path.lineTo(9, 7);
    path.lineTo(11, 9);
    path.lineTo(21, 9);
    path.lineTo(21, 19);
    path.lineTo(3, 19);
    path.closeSubpath();
    p.drawPath(path);
}

void drawDisk(QPainter &p)
{
    p.setBrush(QColor(70, 110, 190));
    p.setPen(QPen(QColor(30, 50, 110), 1));
    p.drawRoundedRect(QRectF(4, 4, 16, 16), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 5, 10, 6));
    p.setBrush(QColor(30, 50, 110));
    p.drawRect(QRectF(8, 14, 8, 5));
}

void drawBadge(QPainter &p, const QString &letter, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(12, 12, 11, 11));
    QFont f = p.font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(12, 12, 11, 11), Qt::AlignCenter, letter);
}

void drawBoard(QPainter &p)
{
    p.setPen(QPen(QColor(20, 80, 30), 1));
    p.setBrush(QColor(40, 140, 60));
    p.drawRect(QRectF(2, 5, 18, 13));
    p.setBrush(QColor(30, 30, 30));
    p.drawRect(QRectF(6, 8, 7, 7));
}

void drawArrow(QPainter &p, bool down)
{
    p.setPen(QPen(QColor(30, 60, 160), 2.2));
    const double y0 = down ? 4 : 19, y1 = down ? 19 : 4;
    p.drawLine(QPointF(12, y0), QPointF(12, y1));
    p.drawLine(QPointF(7, y1 + (down ? -5 : 5)), QPointF(12, y1));
    p.drawLine(QPointF(17, y1 + (down ? -5 : 5)), QPointF(12, y1));
}

void drawPlotFrame(QPainter &p)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 2.5, 19, 19));
}

} // namespace

QIcon ToolIcons::icon(const QString &key)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    if (key == QLatin1String("OpenSettings") || key == QLatin1String("Open")) {
        drawFolder(p);
        if (key == QLatin1String("OpenSettings"))
            drawBadge(p, QStringLiteral("S"), QColor(120, 60, 160));
    } else if (key == QLatin1String("SaveSettings") || key == QLatin1String("Save")) {
        drawDisk(p);
        if (key == QLatin1String("SaveSettings"))
            drawBadge(p, QStringLiteral("S"), QColor(120, 60, 160));
    } else if (key == QLatin1String("Reset")) {
        drawBoard(p);
        drawBadge(p, QStringLiteral("R"), QColor(200, 40, 40));
    } else if (key == QLatin1String("ReadAll") || key == QLatin1String("WriteAll")) {
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(QColor(230, 230, 230));
        for (int i = 0; i < 4; ++i)
            p.drawRect(QRectF(2.5, 3.5 + 4.5 * i, 10, 3.5));
        p.translate(5, 0);
        drawArrow(p, key == QLatin1String("ReadAll"));
    } else if (key == QLatin1String("Read")) {
        drawBoard(p);
        p.translate(4, 2);
        drawArrow(p, true);
    } else if (key == QLatin1String("Clear")) {
        p.setPen(QPen(QColor(200, 40, 40), 3));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
    } else if (key == QLatin1String("Graph")) {
        drawPlotFrame(p);
        QPainterPath wave;
        for (int x = 0; x <= 34; ++x) {
            const QPointF point(4 + x * 0.47, 12 + 5 * std::sin(x * 0.37));
            x == 0 ? wave.moveTo(point) : wave.lineTo(point);
        }
        p.setPen(QPen(QColor(30, 90, 200), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
    } else if (key == QLatin1String("Hist")) {
        drawPlotFrame(p);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        const int heights[] = {3, 8, 14, 9, 4};
        for (int i = 0; i < 5; ++i)
            p.drawRect(QRectF(4.5 + i * 3.2, 20 - heights[i], 2.4, heights[i]));
    } else if (key == QLatin1String("FFT")) {
        drawPlotFrame(p);
        p.setPen(QPen(QColor(30, 90, 200), 1.4));
        const int heights[] = {2, 3, 15, 3, 2, 6, 2, 2};
        for (int i = 0; i < 8; ++i)
            p.drawLine(QPointF(4.5 + i * 2.1, 20), QPointF(4.5 + i * 2.1, 20 - heights[i]));
    }
    return QIcon(pixmap);
}

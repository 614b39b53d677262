#include "PlotExport.h"

#include "data/WholeFile.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPicture>
#include <qcustomplot.h>

namespace {

QSize exportSize(const QCustomPlot &plot, int width, int height)
{
    return width == 0 || height == 0 ? plot.size() : QSize(width, height);
}

DataFileError saveBytes(const QString &path, const QByteArray &bytes)
{
    if (bytes.isEmpty()) // nothing was drawn
        return DataFileError::platform(DataFileError::DeviceIOError);
    return WriteWholeFile(path, bytes);
}

} // namespace

namespace PlotExport {

DataFileError savePng(QCustomPlot &plot, const QString &path, int width, int height)
{
    const QSize size = exportSize(plot, width, height);
    const QImage image = PlotExport::image(plot, size.width(), size.height());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        bytes.clear();
    return saveBytes(path, bytes);
}

DataFileError savePdf(QCustomPlot &plot, const QString &path, int width, int height)
{
    const QSize size = exportSize(plot, width, height);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        writer.setPageLayout(QPageLayout(QPageSize(size, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        QCPPainter painter;
        if (!painter.begin(&writer))
            return DataFileError::platform(DataFileError::DeviceIOError);
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        painter.setWindow(QRect(QPoint(0, 0), size));
        plot.toPainter(&painter, size.width(), size.height());
        painter.end();
    }
    return saveBytes(path, bytes);
}

QImage image(QCustomPlot &plot, int width, int height)
{
    QImage image = plot.toPixmap(width, height).toImage();
    const int dotsPerMeter = static_cast<int>(96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

QPicture picture(QCustomPlot &plot, int width, int height)
{
    QPicture picture;
    QCPPainter painter;
    if (!painter.begin(&picture))
        return picture;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    plot.toPainter(&painter, width, height);
    painter.end();
    return picture;
}

} // namespace PlotExport

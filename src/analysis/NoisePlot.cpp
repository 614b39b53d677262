#include "NoisePlot.h"

#include "AxisTickers.h"
#include "PlotExport.h"
#include "data/NoiseTable.h"

#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>

namespace {
const QList<QColor> TraceColors = {Qt::blue,    Qt::red,      QColor(0, 140, 0),
                                   Qt::magenta, Qt::darkCyan, Qt::black};
}

NoisePlot::NoisePlot(QWidget *parent)
    : QWidget(parent)
    , m_plot(new QCustomPlot(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);
    for (QCPAxis *axis : {m_plot->xAxis, m_plot->yAxis}) {
        axis->setScaleType(QCPAxis::stLogarithmic);
        axis->setTicker(QSharedPointer<LogAxisTicker>::create());
        axis->grid()->setSubGridVisible(true);
    }
    m_plot->xAxis->setLabel(QStringLiteral("Output data rate (Hz)"));
    m_plot->yAxis->setLabel(QStringLiteral("RMS noise (µV)"));
    // The legend sits beside the plot, where it can hide no point.
    m_plot->axisRect()->insetLayout()->take(m_plot->legend);
    m_plot->plotLayout()->addElement(0, 1, m_plot->legend);
    m_plot->plotLayout()->setColumnStretchFactor(1, 0.001);
    m_plot->legend->setMargins(QMargins(6, 6, 6, 6));
    m_plot->legend->setMaximumSize(220, QWIDGETSIZE_MAX);
    setMinimumSize(300, 200);
    setRows({});
}

void NoisePlot::setRows(const QList<NoiseRow> &rows)
{
    m_plot->clearGraphs();
    QList<int> ranges;
    bool chopOn = false;
    bool chopOff = false;
    for (const NoiseRow &r : rows) {
        if (!ranges.contains(r.rangeCode))
            ranges << r.rangeCode;
        (r.chop ? chopOn : chopOff) = true;
    }
    // One trace per range; with chop on and off both measured, one per range and chop
    // setting (chop off dashed), so that the two settings' rates do not zigzag into one line.
    const bool bothChops = chopOn && chopOff;
    for (int i = 0; i < ranges.size(); ++i) {
        for (const bool chop : {true, false}) {
            QList<NoiseRow> trace;
            for (const NoiseRow &r : rows)
                if (r.rangeCode == ranges.at(i) && (!bothChops || r.chop == chop) && r.rmsNoiseUv > 0 &&
                    r.dataRateHz > 0)
                    trace << r;
            if (trace.isEmpty())
                continue;
            std::sort(trace.begin(), trace.end(),
                      [](const NoiseRow &a, const NoiseRow &b) { return a.dataRateHz < b.dataRateHz; });
            QCPGraph *graph = m_plot->addGraph();
            QString name = NoiseTable::rangeText(trace.first().rangeVolts, trace.first().bipolar);
            if (bothChops)
                name += chop ? QStringLiteral(", chop on") : QStringLiteral(", chop off");
            graph->setName(name);
            QPen pen(TraceColors.at(i % TraceColors.size()), 1.5);
            if (bothChops && !chop)
                pen.setStyle(Qt::DashLine);
            graph->setPen(pen);
            graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 5));
            for (const NoiseRow &r : std::as_const(trace))
                graph->addData(r.dataRateHz, r.rmsNoiseUv);
            if (!bothChops)
                break;
        }
    }
    m_plot->legend->setVisible(m_plot->graphCount() > 0);
    if (m_plot->graphCount() == 0) {
        // Empty: the span of the converter's output data rates and of typical noise.
        m_plot->xAxis->setRange(100, 20000);
        m_plot->yAxis->setRange(0.1, 100);
    } else {
        m_plot->rescaleAxes();
        for (QCPAxis *axis : {m_plot->xAxis, m_plot->yAxis})
            axis->setRange(axis->range().lower / 1.5, axis->range().upper * 1.5);
    }
    m_plot->replot();
}

QStringList NoisePlot::tickLabels(Qt::Orientation axis) const
{
    const QVector<QString> labels =
        (axis == Qt::Horizontal ? m_plot->xAxis : m_plot->yAxis)->tickVectorLabels();
    return QStringList(labels.begin(), labels.end());
}

void NoisePlot::setVisibleRange(double xLower, double xUpper, double yLower, double yUpper)
{
    m_plot->xAxis->setRange(xLower, xUpper);
    m_plot->yAxis->setRange(yLower, yUpper);
    m_plot->replot();
}

int NoisePlot::traceCount() const
{
    return m_plot->graphCount();
}

QString NoisePlot::exportTitle(int channel, int samples, const QDateTime &when)
{
    return QStringLiteral("Noise table — Channel %1, %2 samples a row, %3")
        .arg(channel)
        .arg(samples)
        .arg(when.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

void NoisePlot::showTitle(bool shown)
{
    if (m_exportTitle.isEmpty())
        return;
    if (shown) {
        m_plot->plotLayout()->insertRow(0);
        m_plot->plotLayout()->addElement(
            0, 0, new QCPTextElement(m_plot, m_exportTitle, QFont(font().family(), 10, QFont::Bold)));
    } else {
        m_plot->plotLayout()->removeAt(0);
        m_plot->plotLayout()->simplify();
    }
}

DataFileError NoisePlot::savePng(const QString &path, int width, int height)
{
    showTitle(true);
    const DataFileError error = PlotExport::savePng(*m_plot, path, width, height);
    showTitle(false);
    return error;
}

DataFileError NoisePlot::savePdf(const QString &path, int width, int height)
{
    showTitle(true);
    const DataFileError error = PlotExport::savePdf(*m_plot, path, width, height);
    showTitle(false);
    return error;
}

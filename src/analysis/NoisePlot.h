#pragma once

#include "data/DataFileError.h"
#include "data/NoiseRow.h"

#include <QList>
#include <QWidget>

class QCustomPlot;

// RMS noise against output data rate on log-log axes, one trace per input range (rows of
// a noise sweep, in any order), with decade ticks and the legend beside the plot, and
// export to PNG and PDF.
class NoisePlot : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ExportWidth = 800;
    static constexpr int ExportHeight = 560;

    explicit NoisePlot(QWidget *parent = nullptr);

    void setRows(const QList<NoiseRow> &rows);
    int traceCount() const;
    // The tick labels of the x or y axis as last drawn.
    QStringList tickLabels(Qt::Orientation axis) const;
    void setVisibleRange(double xLower, double xUpper, double yLower, double yUpper);
    // Written whole or not at all (PlotExport).
    DataFileError savePng(const QString &path, int width = ExportWidth, int height = ExportHeight);
    DataFileError savePdf(const QString &path, int width = ExportWidth, int height = ExportHeight);

private:
    QCustomPlot *m_plot;
};

#pragma once

#include "data/DataFileError.h"
#include "data/NoiseRow.h"

#include <QDateTime>
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
    // The title drawn above an exported plot; exportTitle() is the one the window and the
    // command line give: "Noise table — Channel 0, 1000 samples a row, 2026-12-07 23:04".
    void setExportTitle(const QString &title) { m_exportTitle = title; }
    static QString exportTitle(int channel, int samples, const QDateTime &when);
    int traceCount() const;
    // The tick labels of the x or y axis as last drawn.
    QStringList tickLabels(Qt::Orientation axis) const;
    void setVisibleRange(double xLower, double xUpper, double yLower, double yUpper);
    // Written whole or not at all (PlotExport).
    DataFileError savePng(const QString &path, int width = ExportWidth, int height = ExportHeight);
    DataFileError savePdf(const QString &path, int width = ExportWidth, int height = ExportHeight);

private:
    // Puts the export title above the plot, or takes it away again.
    void showTitle(bool shown);

    QCustomPlot *m_plot;
    QString m_exportTitle;
};

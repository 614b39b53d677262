#include "ReportContent.h"

#include "analysis/AllanDeviation.h"
#include "analysis/AllanPlot.h"
#include "analysis/FftMetrics.h"
#include "analysis/FftWindow.h"
#include "analysis/PlotTexts.h"
#include "app/AppVersion.h"
#include "data/ClassData.h"
#include "data/ShowStatistics.h"
#include "editors/SetupWords.h"
#include "model/QM4168.h"

namespace {

QString cellValue(const QList<StatisticsCell> &cells, const char *label)
{
    for (const StatisticsCell &cell : cells)
        if (cell.label == QLatin1String(label))
            return cell.value.trimmed();
    return QString();
}

// The set-up as far as a data file tells it: per channel its range, conversion time and
// samples, then the data width, reference and clamp.
QStringList fileSetup(const ClassData &data, const QList<ReportChannel> &channels)
{
    QStringList lines;
    QString width;
    for (const ReportChannel &c : channels) {
        lines << QStringLiteral("Channel %1: %2, conversion time %3, %4 samples")
                     .arg(c.channel)
                     .arg(cellValue(c.figures, "Input Range"), cellValue(c.figures, "Conv.Time"),
                          QString::number(data.DataCount(c.channel)));
        width = cellValue(c.figures, "Data Width");
    }
    lines << QStringLiteral("Data width %1, reference %2 V, clamp %3")
                 .arg(width, QString::number(data.RefVoltage()),
                      data.Clamp() ? QStringLiteral("on") : QStringLiteral("off"));
    lines << QStringLiteral("The rest of the converter's set-up is not known from the data file.");
    return lines;
}

} // namespace

ReportContent buildReport(const ClassData &data, const QM4168 &adc, const QM4168 *setup,
                          const QList<int> &channels, int window, const QDateTime &when,
                          const QString &source)
{
    ReportContent report;
    const QString variant = QStringLiteral("QM416%1").arg(adc.EvBoard());
    report.title = variant + QStringLiteral(" measurement report");
    report.about << QStringLiteral("Date: ") + when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                 << QStringLiteral("Variant: ") + variant
                 << QStringLiteral("Program version: ") + AppVersion::text();
    if (!source.isEmpty())
        report.about << QStringLiteral("Data: ") + source;

    QList<int> wanted = channels;
    if (wanted.isEmpty())
        for (int c = 0; c < QM4168::Channels; ++c)
            wanted << c;
    const QString windowName = FftWindow::names().value(window, QStringLiteral("no"));
    for (const int c : std::as_const(wanted)) {
        if (c < 0 || c >= QM4168::Channels || !data.Valid(c))
            continue;
        ReportChannel channel;
        channel.channel = c;
        channel.figures = ShowStatistics(data, c, adc) + NoiseFreeStatistics(data, c, adc);
        channel.plots << ReportFigure{c, ReportPlotKind::Time, plotTexts(PlotKind::Time).title, {}}
                      << ReportFigure{c, ReportPlotKind::Histogram, plotTexts(PlotKind::Histogram).title, {}};
        const FftMetrics metrics = fftMetrics(data, c, window);
        const QStringList lines = (metrics.valid ? metricsLines(metrics) : QStringList{metrics.message}) +
                                  metrics.definition.describe();
        channel.plots << ReportFigure{
            c, ReportPlotKind::Spectrum,
            QStringLiteral("%1 (%2 window)").arg(plotTexts(PlotKind::Spectrum).title, windowName), lines};
        const AllanCurve curve = allanDeviation(data, c, adc);
        if (curve.minimum >= 0)
            channel.plots << ReportFigure{c,
                                          ReportPlotKind::Allan,
                                          QStringLiteral("Allan deviation"),
                                          {AllanPlot::minimumLabel(curve)}};
        report.channels << channel;
    }

    if (setup) {
        report.setup = SetupWords::channelLines(*setup);
        report.setup << SetupWords::ioPortLine(*setup) << SetupWords::modeLine(*setup);
        report.registers = SetupWords::registerTable(*setup);
    } else {
        report.setup = fileSetup(data, report.channels);
    }
    report.definitions = metricsDefinitions();
    return report;
}

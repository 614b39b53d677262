#include "ChannelPlot.h"

#include "FftMetrics.h"
#include "PlotBuild.h"
#include "PlotFacts.h"
#include "PlotView.h"

namespace ChannelPlot {

void describe(PlotView &view, PlotKind kind, const ClassData &data, const QM4168 &adc, int channel,
              int window, const QDateTime &when, int averagedCaptures)
{
    const PlotTexts texts = plotTexts(kind);
    QList<PlotFact> facts = plotFacts(kind, data, channel, adc, window, when);
    const QString name =
        averagedCaptures > 1
            ? texts.title + QStringLiteral(" averaged over %1 captures").arg(averagedCaptures)
            : texts.title;
    if (averagedCaptures > 1)
        facts << PlotFact{QStringLiteral("Averaged"), QStringLiteral("%1 captures").arg(averagedCaptures)};
    view.setExportFacts(plotTitle(name, facts), plotComments(texts.title, facts));
    view.setCsvColumns(texts.xColumn, texts.yColumn);
    view.setIntegerTicks(kind != PlotKind::Spectrum, kind != PlotKind::Spectrum);
}

bool load(PlotView &view, PlotKind kind, const ClassData &data, const QM4168 &adc, int channel, int window,
          const QDateTime &when, QList<AnalysisMessage> &messages)
{
    bool failed = false;
    const PlotTable table = buildPlot(kind, data, channel, window, messages, failed);
    if (failed)
        return false;
    const PlotTexts texts = plotTexts(kind);
    view.setCaptions(texts.xCaption, texts.yCaption);
    if (kind == PlotKind::Spectrum) {
        const FftMetrics metrics = fftMetrics(data, channel, window);
        view.setNote(metricsText(metrics) + QLatin1Char('\n') + definitionText(metrics.definition));
    } else {
        view.setNote(QString());
    }
    describe(view, kind, data, adc, channel, window, when);
    view.load(table, table.count);
    return true;
}

} // namespace ChannelPlot

#include "PlotBuild.h"

#include "BuildHistogram.h"
#include "EditFFT.h"
#include "TimePlot.h"

PlotTable buildPlot(PlotKind kind, const ClassData &data, int channel, int window,
                    QList<AnalysisMessage> &messages, bool &failed, FftScale scale)
{
    failed = false;
    switch (kind) {
    case PlotKind::Histogram:
        return BuildHistogram(data, channel);
    case PlotKind::Spectrum: {
        FftResult result = EditFFT(data, channel, window, scale);
        messages += result.messages;
        failed = result.failed;
        return result.table;
    }
    case PlotKind::Time:
        break;
    }
    return BuildTimePlot(data, channel);
}

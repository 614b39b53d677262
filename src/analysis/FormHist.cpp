#include "FormHist.h"

#include "BuildHistogram.h"

PlotTable FormHist::buildTable(int channel, QList<AnalysisMessage> &, bool &)
{
    return BuildHistogram(IData, channel);
}

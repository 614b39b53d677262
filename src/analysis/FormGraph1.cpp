#include "FormGraph1.h"

#include "TimePlot.h"

PlotTable FormGraph1::buildTable(int channel, QList<AnalysisMessage> &, bool &)
{
    return BuildTimePlot(IData, channel);
}

#include "FormFFT.h"

#include "EditFFT.h"

#include <QComboBox>

PlotTable FormFFT::buildTable(int channel, QList<AnalysisMessage> &messages, bool &failed)
{
    FftResult result = EditFFT(IData, channel, ComboWindow->currentIndex());
    messages = result.messages;
    failed = result.failed;
    return result.table;
}

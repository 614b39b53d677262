#pragma once

#include "AnalysisMessage.h"
#include "PlotTable.h"

#include <QList>

// What the spectrum routine gives back: the plot table, the boxes it asked for (in
// order), and whether it failed ("Error in VBFFT module--EditFFT" is then the last box
// and the table is empty).
struct FftResult
{
    PlotTable table;
    QList<AnalysisMessage> messages;
    bool failed = false;
    // The level of the weakest non-zero bin in dB (table.ymin unless some bins are zero).
    double weakestDb = 0;
};

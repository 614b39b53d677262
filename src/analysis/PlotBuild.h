#pragma once

#include "AnalysisMessage.h"
#include "EditFFT.h"
#include "PlotTable.h"
#include "PlotTexts.h"

#include <QList>

class ClassData;

// The table of one plot of a channel: the time plot (BuildTimePlot), the histogram
// (BuildHistogram) or the spectrum with the given window selector and scale (EditFFT). The boxes the
// routine asks for are appended to messages; failed tells that nothing can be drawn. A
// channel outside 0..7 throws DataRangeError.
PlotTable buildPlot(PlotKind kind, const ClassData &data, int channel, int window,
                    QList<AnalysisMessage> &messages, bool &failed, FftScale scale = FftScale::Relative);

#pragma once

#include "PlotTable.h"

class ClassData;

// The time plot of one channel of the store: row i = (i, code of sample i + 1) for every
// sample. Ranges: x from 0 to the sample count, y from the channel's MinCode to its
// MaxCode (as Process left them); count = the number of rows. A channel outside 0..7
// throws DataRangeError.
PlotTable BuildTimePlot(const ClassData &data, int channel);

#pragma once

#include "PlotTable.h"

class ClassData;

// The code histogram of one channel of the store: one bin per code that occurs, in
// ascending code order, each as three rows (code, 0), (code, occurrences), (code, 0) so
// that a line plot draws it as a bar. Ranges: x from the channel's MinCode to its
// MaxCode (as Process left them), y from 0 to the largest count. count is the index of
// the last row (3 x bins - 1). An empty channel gives no rows and count 0. A channel
// outside 0..7 throws DataRangeError.
PlotTable BuildHistogram(const ClassData &data, int channel);

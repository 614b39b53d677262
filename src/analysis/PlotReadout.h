#pragma once

#include "PlotTable.h"
#include "PlotTexts.h"

#include <QString>

#include <optional>

// The texts of the plot windows' read-outs, worked out from the plot table alone.
namespace PlotReadout {

// value rounded to `decimals` (ties to even) as plain text with a point: 12.346, -3, 100.
QString rounded(double value, int decimals);

// The row whose x is nearest to x in a table sorted by x (the first of equal x values);
// -1 for an empty table. The plot cursor sits on this row's x.
int nearestRow(const PlotTable &table, double x);

// The histogram read-out: the table holds three rows per bin; rows 1, 4, 7, ... up to the
// last row but one are searched for the first whose x equals x exactly, and its count is
// the result. Nothing when no bin sits at x.
std::optional<double> histogramCount(const PlotTable &table, double x);

struct Readout
{
    QString position;
    // Nothing: the value read-out keeps what it showed (the histogram off a bin).
    std::optional<QString> value;
};

// The read-out for the cursor at x (a row's x, see nearestRow). The time plot and the
// spectrum show x and the value of the row nearest to x, each rounded to 3 decimals; the
// histogram shows x unrounded and the count of the bin at exactly x.
Readout cursorReadout(PlotKind kind, const PlotTable &table, double x);

// The spectrum's third read-out: "Nb of Samples: " and the number of time samples that
// entered the transform, twice the index of the last row.
QString samplesText(const PlotTable &spectrum);

} // namespace PlotReadout

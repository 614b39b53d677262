#pragma once

#include "AnalysisMessage.h"
#include "PlotTexts.h"

#include <QDateTime>
#include <QList>

class ClassData;
class PlotView;
class QM4168;

// A plot of one channel as the plot windows, the plot command and reports draw it.
namespace ChannelPlot {

// What the view's exports say about the plot: the title and CSV comment lines (PlotFacts),
// the CSV column names of the kind, and whole-number ticks on the axes of codes, sample
// numbers and counts. A spectrum averaged over captures (more than one) says so: "averaged
// over K captures" in the title, "# Averaged: K captures" among the comment lines.
void describe(PlotView &view, PlotKind kind, const ClassData &data, const QM4168 &adc, int channel,
              int window, const QDateTime &when, int averagedCaptures = 1);

// Loads the view with the plot of kind (buildPlot), its captions, the spectrum's figures as
// its note, and describe(). The boxes the analysis asks for are appended to messages;
// false when nothing can be drawn (the view is then left as it was).
bool load(PlotView &view, PlotKind kind, const ClassData &data, const QM4168 &adc, int channel, int window,
          const QDateTime &when, QList<AnalysisMessage> &messages);

} // namespace ChannelPlot

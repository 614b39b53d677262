#pragma once

#include "PlotTexts.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class ClassData;
class QM4168;

// What an exported plot is about, as label and value: "Channel", "Input Range",
// "Conv.Time", "Samples", "Window" (the spectrum only) and "Date". The range and the
// conversion time are the data window's texts without their trailing blanks.
struct PlotFact
{
    QString label;
    QString value;
};

// The facts of channel (0..7) of the store for a plot of kind; window is the spectrum's
// selector. A channel outside 0..7 throws DataRangeError.
QList<PlotFact> plotFacts(PlotKind kind, const ClassData &data, int channel, const QM4168 &adc, int window,
                          const QDateTime &when);
// The title of an exported plot: "<plot> — Channel 3, ±2.5 V, 1000 us, 8192 samples,
// Hanning window, 2026-12-07 23:04".
QString plotTitle(const QString &plotName, const QList<PlotFact> &facts);
// The comment lines that open an exported CSV table: "# Plot: Time", then "# Label: value"
// per fact.
QStringList plotComments(const QString &plotName, const QList<PlotFact> &facts);

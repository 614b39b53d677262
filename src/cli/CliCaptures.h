#pragma once

#include "CliFormat.h"

#include <QList>
#include <QString>

class CaptureSet;
class QM4168;

// The noise figures of a series of captures (acquire --captures K).
// Text: as stats prints the last capture, with "Captures" and K after the channel line and,
// beside each noise figure, its mean ± standard deviation over the captures and
// (minimum / maximum). CSV: the stats columns after a "capture" column (1..K), one row per
// channel and capture. JSON Lines: per channel the last capture's object as stats writes it,
// with "captures" (K) and "series": for each figure its mean, sd, min, max and the values
// of every capture in order.
QString seriesText(const CaptureSet &captures, const QList<int> &channels, const QM4168 &adc,
                   CliFormat::Kind format);

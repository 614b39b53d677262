#pragma once

#include "StatisticsCell.h"

#include <QList>
#include <QLocale>

class ClassData;
class QM4168;

// The conditions and noise figures of one channel of the store, as the data window shows
// them, in this order: "Conv.Time", "Input Range", "Data Width", "Samples", "RMS Noise",
// "Pk-Pk Noise", "Avg.Voltage", "Code Dev.", "Avg.Code", "Code Span", "Max Code",
// "Min Code", "RMS Res.", "Pk-Pk Res.".
//
// The span and polarity of the channel's range code come from the device model. Cells
// formatted with a digit pattern (conversion time, noise and average voltage below one
// volt) use the decimal separator of `locale`; the input range, the resolutions and an
// average voltage of a volt or more are plain numbers with a point, whatever the locale.
// Reads the statistics as the store's Process left them; changes nothing. A channel
// outside 0..7 throws DataRangeError.
QList<StatisticsCell> ShowStatistics(const ClassData &data, int channel, const QM4168 &adc,
                                     const QLocale &locale = QLocale());

// The rows the data window shows after those: peak-to-peak noise both ways and the
// noise-free resolution of each, "Pk-Pk Meas." (max - min, as "Pk-Pk Noise"), "Pk-Pk
// Count" (the samples it was measured over, " Dec "), "Pk-Pk Est." (6.6 x RMS), "NF
// Meas." and "NF Est." (the noise-free resolution in bits), formatted as the rows above.
QList<StatisticsCell> NoiseFreeStatistics(const ClassData &data, int channel, const QM4168 &adc,
                                          const QLocale &locale = QLocale());

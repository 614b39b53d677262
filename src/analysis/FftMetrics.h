#pragma once

#include "MetricDefinition.h"

#include <QString>
#include <QStringList>

#include <vector>

class ClassData;

// The figures of merit of a converter judged by a sine at its input, computed on the power
// spectrum P(k) = m(k)^2, k = 0..N/2, m(k) the magnitudes of fftMagnitudes, as the
// MetricDefinition says.
//
// Bins 0..D are the DC span (D the definition's dcHalfWidth). A tone at k occupies the bins
// k - L..k + L (L its toneHalfWidth). The fundamental k1 is the first largest P(k) over
// D+1..N/2; its span is limited to D+1..N/2. Harmonic h = 2..H (H the highest harmonic)
// lies at h k1 folded into 0..N/2 (f = h k1 mod N, then N - f when f > N/2); its span is
// limited to 0..N/2 and leaves out the DC span, the fundamental's span and bins a lower
// harmonic took. Every other bin of D+1..N/2 is noise. With Ps, Pd and Pn the sums over the
// fundamental's span, the harmonics' spans and the noise bins:
//   SNR = 10 log10(Ps / Pn), THD = 10 log10(Pd / Ps), SINAD = 10 log10(Ps / (Pn + Pd)),
//   SFDR = 10 log10(P(k1) / largest P(k) outside the DC and the fundamental's spans whose
//          frequency lies in the SFDR range),
//   ENOB = (SINAD - 1.76) / 6.02, and the fundamental's frequency k1 / (T N).
// With the full-scale range FSR (codes, peak to peak) known, two more:
//   the full-scale ENOB = log2(FSR / (rms(N+D) sqrt 12)), rms(N+D) = sqrt((Pn + Pd) / (2 G))
//   the noise and distortion's RMS in codes (G the window's power gain: a sum of P(k) is
//   twice the mean square of the weighted codes), and the fundamental's level
//   20 log10(A / (FSR / 2)) dBFS, A = sqrt(Ps / G) its amplitude.
// The two ENOB agree for a full-scale sine; at -6 dBFS the first is a bit lower.
// A power sum of exactly zero gives an infinite figure (a spectrum without harmonics has
// THD = -inf), which is what the definition says.
//
// No tone: the figures mean nothing when the input holds no tone (a DC input gives an SNR
// of some -20 dB). P(k1) must exceed ToneMarginPower (20 dB) times the median power of
// the bins beyond the DC span outside the fundamental's span; otherwise the result is not
// valid, noTone is set and the message is "no tone found". White noise alone stays far
// below: its largest bin among thousands is about 11 dB above their median. A constant
// input holds no tone either: beyond the DC span it leaves only the transform's rounding,
// and P(k1) must also exceed ToneFloorPower (-200 dB) times the sum of all bins.
constexpr double ToneMarginPower = 100.0;
constexpr double ToneFloorPower = 1e-20;

struct FftMetrics
{
    bool valid = false;
    bool noTone = false;         // not valid because no bin stands above the noise
    QString message;             // why the figures could not be computed, when not valid
    MetricDefinition definition; // what the figures were computed with
    int fundamentalBin = 0;
    double fundamentalHz = 0;
    double snrDb = 0;
    double thdDb = 0;
    double sinadDb = 0;
    double sfdrDbc = 0;
    double enobBits = 0;
    bool fullScaleKnown = false; // the definition had a full scale: the two below are set
    double enobFullScaleBits = 0;
    double fundamentalDbfs = 0;
    double noiseDistortionRmsCodes = 0;
};

// The default span half-width of a window (MetricDefinition::defaultBins).
inline int spanHalfWidth(int window)
{
    return MetricDefinition::defaultBins(window);
}

// The metrics of power = P(0..N/2) by the definition, binHz the spacing of the bins
// 1 / (T N). Not valid when the definition is not usable, when no bin lies beyond the DC
// and the fundamental's spans, when the SFDR range holds no bin to search, or when no tone
// stands above the others (noTone; a constant input, whose bins beyond DC are all zero,
// included).
FftMetrics fftMetrics(const std::vector<double> &power, const MetricDefinition &definition, double binHz);
// The same with the window's default definition, full scale unknown.
FftMetrics fftMetrics(const std::vector<double> &power, int window, double binHz);

// The metrics of channel (0..7) on the spectrum the plot shows, weighted with the
// definition's window; a definition without a full scale takes the store's data width
// (2^bits codes). Not valid as well when the channel has fewer than two samples or no
// conversion time. A channel outside 0..7 throws DataRangeError.
FftMetrics fftMetrics(const ClassData &data, int channel, const MetricDefinition &definition);
// The same with the window's default definition.
FftMetrics fftMetrics(const ClassData &data, int channel, int window);

// The figures as lines "label value unit", in the order Fundamental (Hz, 4 decimals), SNR,
// THD, SINAD (dB), SFDR (dBc), ENOB (bits), then with a full scale "ENOB(FS)" (bits) and
// "Level" (dBFS), each with 2 decimals. Empty when not valid.
QStringList metricsLines(const FftMetrics &metrics);

// What each figure of metricsLines means, one line per figure in the same order.
QStringList metricsDefinitions();

// What the spectrum window and an exported spectrum show: the lines in rows of three, or
// the message when not valid ("no tone found").
QString metricsText(const FftMetrics &metrics);

// The definition the metrics were computed with, as a plot's corner shows it: its
// describe() items two to a line, joined by "; ".
QString definitionText(const MetricDefinition &definition);

#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class ClassData;

// The figures of merit of a converter judged by a sine at its input, computed on the power
// spectrum P(k) = m(k)^2, k = 0..N/2, m(k) the magnitudes of fftMagnitudes.
//
// A tone occupies the bins k - L..k + L, L the span half-width of the window
// (spanHalfWidth). Bins 0..L are the DC span. The fundamental k1 is the first largest P(k)
// over L+1..N/2; its span is limited to L+1..N/2. Harmonic h = 2..6 lies at h k1 folded
// into 0..N/2 (f = h k1 mod N, then N - f when f > N/2); its span is limited to 0..N/2
// and leaves out the DC span, the fundamental's span and bins a lower harmonic took. Every
// other bin of L+1..N/2 is noise. With Ps, Pd and Pn the sums over the fundamental's span,
// the harmonics' spans and the noise bins:
//   SNR = 10 log10(Ps / Pn), THD = 10 log10(Pd / Ps), SINAD = 10 log10(Ps / (Pn + Pd)),
//   SFDR = 10 log10(P(k1) / largest P(k) over L+1..N/2 outside the fundamental's span),
//   ENOB = (SINAD - 1.76) / 6.02, and the fundamental's frequency k1 / (T N).
// A power sum of exactly zero gives an infinite figure (a spectrum without harmonics has
// THD = -inf), which is what the definition says.
//
// No tone: the figures mean nothing when the input holds no tone (a DC input gives an SNR
// of some -20 dB). P(k1) must exceed ToneMarginPower (20 dB) times the median power of
// the bins beyond the DC span outside the fundamental's span; otherwise the result is not
// valid, noTone is set and the message is "no tone found". White noise alone stays far
// below: its largest bin among thousands is about 11 dB above their median.
constexpr double ToneMarginPower = 100.0;

struct FftMetrics
{
    bool valid = false;
    bool noTone = false; // not valid because no bin stands above the noise
    QString message;     // why the figures could not be computed, when not valid
    int fundamentalBin = 0;
    double fundamentalHz = 0;
    double snrDb = 0;
    double thdDb = 0;
    double sinadDb = 0;
    double sfdrDbc = 0;
    double enobBits = 0;
};

// The span half-width L of a window selector: 1 Rectangular, 2 Triangular, 2 Hanning,
// 2 Hamming, 3 Blackman, 4 Blackman-Harris; 1 for a selector outside 0..5 (no weighting).
int spanHalfWidth(int window);

// The metrics of power = P(0..N/2) for the window, binHz the spacing of the bins 1 / (T N).
// Not valid when no bin lies beyond the DC and the fundamental's spans, when every bin
// beyond the DC span is zero, or when no tone stands above the others (noTone).
FftMetrics fftMetrics(const std::vector<double> &power, int window, double binHz);

// The metrics of channel (0..7) with the window, on the spectrum the plot shows. Not valid
// as well when the channel has fewer than two samples or no conversion time. A channel
// outside 0..7 throws DataRangeError.
FftMetrics fftMetrics(const ClassData &data, int channel, int window);

// The figures as lines "label value unit", in the order Fundamental (Hz, 4 decimals), SNR,
// THD, SINAD (dB), SFDR (dBc), ENOB (bits), each with 2 decimals. Empty when not valid.
QStringList metricsLines(const FftMetrics &metrics);

// What each figure of metricsLines means, one line per figure in the same order.
QStringList metricsDefinitions();

// What the spectrum window and an exported spectrum show: the six lines in two rows of
// three, or the message when not valid ("no tone found").
QString metricsText(const FftMetrics &metrics);

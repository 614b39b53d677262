#pragma once

#include "FftResult.h"

class ClassData;
struct FftMagnitudes;

// Where bins of exactly zero are drawn: at ZeroBinFloorDb, or ZeroBinMarginDb below the
// weakest non-zero bin when that one is lower still.
constexpr double ZeroBinFloorDb = -150.0;
constexpr double ZeroBinMarginDb = 10.0;

// The amplitude spectrum of one channel of the store in dB relative to its strongest bin.
//
// The transform takes the first N samples, N the largest power of two not above the
// channel's count, weighted by the window of the selector (FftWindow). Rows k = 0..N/2:
// x = k / T / N hertz, T being the time between two conversions of the channel (the sum
// of the conversion times of all valid channels), y = 20 log10(m(k) / max m) with
// m(k) = 2 |X(k)| / N (fftMagnitudes). Ranges: x from 0 to floor(1 / 2T) + 1, y from the
// lowest level to 0; count = N/2 + 1.
//
// A bin of exactly zero (every bin but the first of a constant input, for example) has no
// logarithm. It is drawn below every non-zero bin and at least 150 dB below the strongest,
// at min(ZeroBinFloorDb, weakest non-zero level - ZeroBinMarginDb); the table keeps that
// value and it is the y minimum. A plot axis may stop higher, at a sensible floor such as
// FftResult::weakestDb rounded down, and let the zero bins run off the bottom.
//
// With FftScale::FullScale the levels are dBFS instead: 20 log10(m(k) / (H G)), H the
// store's HalfScale, the amplitude of a sine that spans the whole range (bipolar codes run
// from -H to H, unipolar ones from 0 to 2H - 1), G the window's coherent gain (the mean of
// its N weights), so that a full-scale sine on a whole bin reads 0 dBFS with every window.
// The y range then runs from the lowest level to the strongest bin's, and zero bins go at
// least 150 dB below the strongest.
//
// The routine fails (the box "Error in VBFFT module--EditFFT") when nothing is left to
// scale against: no samples, every bin zero (all codes zero), no conversion time to build
// the frequency axis from, or (dBFS) no data width. A channel outside 0..7 throws
// DataRangeError.
enum class FftScale
{
    Relative, // dB relative to the strongest bin
    FullScale // dBFS
};
FftResult EditFFT(const ClassData &data, int channel, int window, FftScale scale = FftScale::Relative);

// The same table from magnitudes already computed (one capture's, or an average over
// captures), halfScale being the store's HalfScale for dBFS.
FftResult spectrumTable(const FftMagnitudes &spectrum, int window, qint32 halfScale,
                        FftScale scale = FftScale::Relative);

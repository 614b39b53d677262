#pragma once

#include <QJsonObject>
#include <QStringList>

#include <limits>

// How the figures of merit of a spectrum are defined: the window the codes were weighted
// with, the harmonics counted as distortion, the bins left out around DC and around each
// tone, the range searched for SFDR's largest spur and the converter's full-scale range.
// Every metric output states the definition it was computed with (describe, toJson).
struct MetricDefinition
{
    static constexpr int DefaultHighestHarmonic = 6;
    static constexpr int MaxHighestHarmonic = 50;
    static constexpr int MaxExcludedBins = 64;

    int window = 2;                               // FftWindow selector
    int highestHarmonic = DefaultHighestHarmonic; // harmonics 2..highestHarmonic (1: none)
    int dcBins = -1;                              // bins 0..dcBins are DC; -1: the window's default
    int toneBins = -1;                            // a tone at k takes k-toneBins..k+toneBins; -1: default
    double sfdrFromHz = 0;                        // the spur search range, hertz
    double sfdrToHz = std::numeric_limits<double>::infinity(); // infinity: up to half the rate
    double fullScaleCodes = 0;                                 // peak-to-peak range in codes; 0: unknown

    // The default definition of a window: its own excluded bins, harmonics 2nd to 6th, the
    // whole band, full scale unknown.
    static MetricDefinition forWindow(int window);
    // The bins a window's main lobe leaks into on each side of a tone, and so the default of
    // both excluded spans: 1 Rectangular, 2 Triangular, Hanning and Hamming, 3 Blackman,
    // 4 Blackman-Harris; 1 for a selector outside 0..5 (no weighting).
    static int defaultBins(int window);

    int dcHalfWidth() const { return dcBins >= 0 ? dcBins : defaultBins(window); }
    int toneHalfWidth() const { return toneBins >= 0 ? toneBins : defaultBins(window); }
    bool wholeBand() const
    {
        return sfdrFromHz <= 0 && !(sfdrToHz < std::numeric_limits<double>::infinity());
    }

    // Why the definition cannot be used (a bad harmonic count, a negative or reversed SFDR
    // range, a negative full scale); empty when it can.
    QString error() const;

    // Short lines "Window: Hanning", "Harmonics: 2nd to 6th", "Excluded bins: DC 0..2,
    // tones ±2", "SFDR range: whole band" (or "10 Hz to 200 Hz"), "Full scale: 16777216
    // codes" (or "unknown").
    QStringList describe() const;
    // The same as numbers: window (its name), highest_harmonic, dc_bins, tone_bins,
    // sfdr_from_hz, sfdr_to_hz (null for the whole band's top), full_scale_codes.
    QJsonObject toJson() const;

    bool operator==(const MetricDefinition &other) const;
};

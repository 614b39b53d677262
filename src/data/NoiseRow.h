#pragma once

// One row of a noise table: the converter's settings for a channel and the noise figures
// of the samples taken with them. Noise in microvolts; resolutions in bits.
struct NoiseRow
{
    int filterWord = 0;
    bool chop = false;
    double conversionTimeUs = 0.0;
    double dataRateHz = 0.0; // output data rate, 1 / conversion time
    int rangeCode = 0;
    double rangeVolts = 0.0;
    bool bipolar = true;
    int samples = 0;
    double rmsNoiseUv = 0.0;
    double peakNoiseUv = 0.0;
    double rmsBits = 0.0;
    double peakBits = 0.0; // the noise-free resolution of the measured peak-to-peak noise
    // Peak-to-peak noise estimated as 6.6 x RMS, and its noise-free resolution.
    double peakEstimatedUv = 0.0;
    double peakEstimatedBits = 0.0;
};

#pragma once

// What a simulated input channel sees, in volts: a DC level, Gaussian noise of the given
// RMS value, and an optional sine tone (amplitude in volts peak, frequency in hertz).
struct SimSignal
{
    double dc = 0.0;
    double noiseRms = 0.0;
    double sineAmplitude = 0.0;
    double sineFrequency = 0.0;
};

#pragma once

#include <QtGlobal>

#include <vector>

class ClassData;
class QM4168;

// One point of an Allan deviation curve: the averaging time tau = m * T, the deviation in
// codes and in volts, and the number of overlapping differences it rests on.
struct AllanPoint
{
    double tauS = 0;
    double adevCode = 0;
    double adevV = 0;
    int count = 0;
};

// The overlapping Allan deviation against tau = m * T for m = 1, 2, 4, ... up to N / 3,
// and the index of its lowest point (the best averaging time; the first of equal ones, -1
// when the curve is empty).
struct AllanCurve
{
    std::vector<AllanPoint> points;
    int minimum = -1;
};

// The curve of the codes y(0..N-1), T seconds apart, one code being lsbV volts:
// sigma^2(m) = 1 / (2 (N - 2m + 1)) * sum over j of (mean of y(j+m .. j+2m-1) - mean of
// y(j .. j+m-1))^2, j = 0 .. N - 2m. Fewer than 3 codes give an empty curve.
AllanCurve allanDeviation(const std::vector<qint32> &codes, double sampleTimeS, double lsbV);

// The curve of a channel (0..7) of the store: its codes, its time between samples and the
// code's worth in volts of the noise figures. A channel outside 0..7 throws DataRangeError.
AllanCurve allanDeviation(const ClassData &data, int channel, const QM4168 &adc);

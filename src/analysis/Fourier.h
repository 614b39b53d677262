#pragma once

#include "AnalysisMessage.h"

#include <QList>

#include <vector>

// The discrete Fourier transform of the spectrum, computed by FFTW: X(k) = sum of
// x(m) e^(+2 pi i mk / n), unscaled (FFTW's backward direction). Only lengths 2, 4, 8, ...
// are accepted: any other is refused, the "Error!" box is added to messages (when given),
// the outputs are left as they were, and the result is false. The inputs hold at least n
// points, else std::out_of_range is thrown.

// n complex points; the outputs are resized to n.
bool Fourier(int n, const std::vector<double> &realIn, const std::vector<double> &imagIn,
             std::vector<double> &realOut, std::vector<double> &imagOut,
             QList<AnalysisMessage> *messages = nullptr);

// n real points (the imaginary input all zero): the same X(k), for k = 0..n/2 only (the
// other bins are their complex conjugates); the outputs are resized to n/2 + 1.
bool FourierReal(int n, const std::vector<double> &realIn, std::vector<double> &realOut,
                 std::vector<double> &imagOut, QList<AnalysisMessage> *messages = nullptr);

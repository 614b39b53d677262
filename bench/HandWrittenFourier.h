#pragma once

#include <vector>

// The program's earlier radix-2 transform (X(k) = sum of x(m) e^(+2 pi i mk / n), unscaled,
// twiddle factors by recurrence), kept here only to compare FFTW against it. n must be a
// power of two; the outputs are resized to n.
void handWrittenFourier(int n, const std::vector<double> &realIn, const std::vector<double> &imagIn,
                        std::vector<double> &realOut, std::vector<double> &imagOut);

#include "HandWrittenFourier.h"

#include "analysis/BitHelpers.h"

#include <cmath>

void handWrittenFourier(int n, const std::vector<double> &realIn, const std::vector<double> &imagIn,
                        std::vector<double> &realOut, std::vector<double> &imagOut)
{
    const double twoPi = 6.28318530717958;
    const size_t size = static_cast<size_t>(n);
    realOut.resize(size);
    imagOut.resize(size);

    // Inputs in bit-reversed order.
    const int bits = BitWidth(n);
    for (int i = 0; i < n; ++i) {
        const size_t j = static_cast<size_t>(BitReverse(i, bits));
        realOut[j] = realIn[static_cast<size_t>(i)];
        imagOut[j] = imagIn[static_cast<size_t>(i)];
    }

    // Butterflies; the twiddle factor advances by e^(+i delta) through a recurrence.
    size_t blockEnd = 1;
    for (size_t blockSize = 2; blockSize <= size; blockSize <<= 1) {
        const double delta = twoPi / static_cast<double>(blockSize);
        const double halfSine = std::sin(delta / 2);
        const double alpha = 2 * halfSine * halfSine;
        const double beta = std::sin(delta);
        for (size_t i = 0; i < size; i += blockSize) {
            double ar = 1.0;
            double ai = 0.0;
            for (size_t j = i; j < i + blockEnd; ++j) {
                const size_t k = j + blockEnd;
                const double tr = ar * realOut[k] - ai * imagOut[k];
                const double ti = ar * imagOut[k] + ai * realOut[k];
                realOut[k] = realOut[j] - tr;
                imagOut[k] = imagOut[j] - ti;
                realOut[j] += tr;
                imagOut[j] += ti;
                const double step = alpha * ar + beta * ai;
                ai = ai - (alpha * ai - beta * ar);
                ar = ar - step;
            }
        }
        blockEnd = blockSize;
    }
}

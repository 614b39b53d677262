#pragma once

#include "AnalysisMessage.h"

#include <QList>

#include <vector>

// Radix-2 transform of n complex points: X(k) = sum of x(m) e^(+2 pi i mk / n), unscaled.
// The inputs hold at least n points; the outputs are resized to n. A length that is not
// 2, 4, 8, ... is refused: the "Error!" box is added to messages (when given), the outputs
// are left as they were, and the result is false.
bool Fourier(int n, const std::vector<double> &realIn, const std::vector<double> &imagIn,
             std::vector<double> &realOut, std::vector<double> &imagOut,
             QList<AnalysisMessage> *messages = nullptr);

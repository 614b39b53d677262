#pragma once

#include "AnalysisMessage.h"

#include <QList>

// Bit arithmetic of the radix-2 transform.

// True when x is 2, 4, 8, ...: at least 2 and a single bit set.
bool PowerOfTwoCheck(int x);

// The lowest set bit of n (log2 n for a power of two); 0 when n has no bit set.
int BitWidth(int n);

// The lowest `bits` bits of index in reverse order: BitReverse(1, 3) = 4, BitReverse(6, 3) = 3.
int BitReverse(int index, int bits);

// The exponent e with 2^e <= n < 2^(e+1). Below 2 samples there is nothing to transform:
// the warning "Not enough Data" is added to messages (when given) and the result is 0.
int FloorLog2(int n, QList<AnalysisMessage> *messages = nullptr);

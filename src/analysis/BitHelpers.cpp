#include "BitHelpers.h"

bool PowerOfTwoCheck(int x)
{
    return x >= 2 && (x & (x - 1)) == 0;
}

int BitWidth(int n)
{
    for (int i = 0; i < 31; ++i)
        if (n & (1 << i))
            return i;
    return 0;
}

int BitReverse(int index, int bits)
{
    int reversed = 0;
    for (int i = 0; i < bits; ++i) {
        reversed = (reversed << 1) | (index & 1);
        index >>= 1;
    }
    return reversed;
}

int FloorLog2(int n, QList<AnalysisMessage> *messages)
{
    if (n < 2) {
        if (messages)
            messages->append({QStringLiteral("Not enough Data"), QString(), UserDialogs::Icon::Warning});
        return 0;
    }
    int e = 0;
    while (n >= 2) {
        n >>= 1;
        ++e;
    }
    return e;
}

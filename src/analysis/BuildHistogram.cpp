#include "BuildHistogram.h"

#include "data/ClassData.h"

#include <array>
#include <vector>

namespace {

constexpr int DigitBits = 11;
constexpr quint32 DigitMask = (1u << DigitBits) - 1;

// Sorts the codes in ascending order: a least-significant-digit radix sort of their
// distances from the smallest code, 11 bits a pass, as many passes as the largest distance
// needs (two for 24-bit data).
void sortCodes(std::vector<qint32> &codes, qint32 lowest, qint32 highest)
{
    const quint32 span = static_cast<quint32>(static_cast<qint64>(highest) - lowest);
    std::vector<qint32> other(codes.size());
    for (int shift = 0; shift < 32 && (span >> shift) != 0; shift += DigitBits) {
        std::array<size_t, DigitMask + 1> start{};
        for (const qint32 code : codes)
            ++start[(static_cast<quint32>(static_cast<qint64>(code) - lowest) >> shift) & DigitMask];
        size_t at = 0;
        for (size_t &s : start) {
            const size_t count = s;
            s = at;
            at += count;
        }
        for (const qint32 code : codes)
            other[start[(static_cast<quint32>(static_cast<qint64>(code) - lowest) >> shift) & DigitMask]++] =
                code;
        codes.swap(other);
    }
}

} // namespace

PlotTable BuildHistogram(const ClassData &data, int channel)
{
    PlotTable table;
    table.xmax = data.MaxCode(channel);
    table.xmin = data.MinCode(channel);
    table.ymin = 0;
    const int n = data.DataCount(channel);
    if (n == 0)
        return table;

    std::vector<qint32> codes = data.codes(channel);
    qint32 lowest = codes.front(), highest = codes.front();
    for (const qint32 code : codes) {
        lowest = qMin(lowest, code);
        highest = qMax(highest, code);
    }
    sortCodes(codes, lowest, highest);

    // Three rows per distinct code, written in place.
    size_t bins = 1;
    for (size_t i = 1; i < codes.size(); ++i)
        bins += codes[i] != codes[i - 1] ? 1 : 0;
    table.x.resize(static_cast<qsizetype>(3 * bins));
    table.y.resize(static_cast<qsizetype>(3 * bins));
    double *x = table.x.data();
    double *y = table.y.data();
    int largest = 0;
    size_t i = 0;
    while (i < codes.size()) {
        const qint32 code = codes[i];
        size_t j = i;
        while (j < codes.size() && codes[j] == code)
            ++j;
        const int occurrences = static_cast<int>(j - i);
        largest = qMax(largest, occurrences);
        x[0] = x[1] = x[2] = code;
        y[0] = y[2] = 0;
        y[1] = occurrences;
        x += 3;
        y += 3;
        i = j;
    }
    table.ymax = largest;
    table.count = table.rows() - 1;
    return table;
}

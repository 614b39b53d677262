#include "BuildHistogram.h"

#include "data/ClassData.h"

#include <algorithm>
#include <vector>

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
    std::sort(codes.begin(), codes.end());

    table.x.reserve(3 * n);
    table.y.reserve(3 * n);
    int largest = 0;
    size_t i = 0;
    while (i < codes.size()) {
        const qint32 code = codes[i];
        size_t j = i;
        while (j < codes.size() && codes[j] == code)
            ++j;
        const int occurrences = static_cast<int>(j - i);
        largest = qMax(largest, occurrences);
        table.x << code << code << code;
        table.y << 0 << occurrences << 0;
        i = j;
    }
    table.ymax = largest;
    table.count = table.rows() - 1;
    return table;
}

#include "TimePlot.h"

#include "data/ClassData.h"

PlotTable BuildTimePlot(const ClassData &data, int channel)
{
    const std::vector<qint32> codes = data.codes(channel);
    PlotTable table;
    const int n = static_cast<int>(codes.size());
    table.x.resize(n);
    table.y.resize(n);
    for (int i = 0; i < n; ++i) {
        table.x[i] = i;
        table.y[i] = codes[static_cast<size_t>(i)];
    }
    table.xmin = 0;
    table.xmax = n;
    table.ymin = data.MinCode(channel);
    table.ymax = data.MaxCode(channel);
    table.count = n;
    return table;
}

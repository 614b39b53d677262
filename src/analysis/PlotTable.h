#pragma once

#include <QVector>

// A table of plot points handed from the analysis routines to the plot windows: rows of
// (x, y), the ranges of the axes, and the point count that goes to the plot with it (the
// spectrum: its number of rows; the histogram: the index of its last row).
struct PlotTable
{
    QVector<double> x;
    QVector<double> y;
    double xmin = 0;
    double xmax = 0;
    double ymin = 0;
    double ymax = 0;
    int count = 0;

    int rows() const { return static_cast<int>(x.size()); }
};

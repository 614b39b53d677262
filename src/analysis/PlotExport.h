#pragma once

#include "data/DataFileError.h"

#include <QString>

class QCustomPlot;

// Saves a plot as PNG or PDF, drawn as the plot library draws its own exports (PNG at 96
// dots per inch; PDF one page of width x height points), but into memory first and then
// whole or not at all (WriteWholeFile): a full disk leaves no partial picture and keeps an
// earlier file as it was. A width or height of 0 takes the plot's own size.
namespace PlotExport {
DataFileError savePng(QCustomPlot &plot, const QString &path, int width, int height);
DataFileError savePdf(QCustomPlot &plot, const QString &path, int width, int height);
} // namespace PlotExport

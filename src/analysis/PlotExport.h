#pragma once

#include "data/DataFileError.h"

#include <QString>

class QCustomPlot;
class QImage;
class QPicture;

// Saves a plot as PNG or PDF, drawn as the plot library draws its own exports (PNG at 96
// dots per inch; PDF one page of width x height points), but into memory first and then
// whole or not at all (WriteWholeFile): a full disk leaves no partial picture and keeps an
// earlier file as it was. A width or height of 0 takes the plot's own size.
namespace PlotExport {
DataFileError savePng(QCustomPlot &plot, const QString &path, int width, int height);
DataFileError savePdf(QCustomPlot &plot, const QString &path, int width, int height);
// The plot as a picture of width x height pixels at 96 dots per inch, and as vector drawing
// commands to be replayed on any painter (a page of a report).
QImage image(QCustomPlot &plot, int width, int height);
QPicture picture(QCustomPlot &plot, int width, int height);
} // namespace PlotExport
